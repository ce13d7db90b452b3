#!/usr/bin/env bash
# Runs the Windows build of tevra under Wine: the file commands against the Linux build's
# output, and uploads through Win32SerialPort to Linux simulators, each reached through a COM
# port that points at its pseudo-terminal. With an upload benchmark built for Windows, runs it
# too against an instant and a paced simulator.
#
# Usage: wine-test.sh WINDOWS_TEVRA_EXE LINUX_TEVRA [WINDOWS_UPLOAD_BENCH_EXE]
set -euo pipefail

exe=$(realpath "$1")
tool=$(realpath "$2")
bench=${3:+$(realpath "$3")}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installers (nothing here needs .NET or HTML), and no menu entries or file
# types written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
simulators=()
cleanup() {
    for pid in "${simulators[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

passed=0
failed=0
pass() {
    echo "ok    $1"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL  $1: $2"
    failed=$((failed + 1))
}

# One server for every run below instead of one started and stopped for each.
mkdir -p "$WINEPREFIX"
"$wineserver" -p >/dev/null 2>&1
# Wine's own start-up takes a while the first time; a hung one must not hold up the run.
started=$SECONDS
if ! timeout 300 "$wine" wineboot --init >/dev/null 2>&1; then
    echo "FAIL  the Wine prefix could not be made"
    exit 1
fi
echo "Wine prefix ready in $((SECONDS - started)) s"

win() {
    timeout 120 "$wine" "$exe" "$@"
}

# name, expected exit status, then the command; its output lands in out.txt and err.txt.
expect_status() {
    local name=$1 expected=$2
    shift 2
    local status=0
    "$@" >out.txt 2>err.txt || status=$?
    if [[ $status -ne $expected ]]; then
        fail "$name" "exit status $status, expected $expected; $(head -c 300 err.txt)"
        return 1
    fi
}

same_bytes() {
    local name=$1 windows=$2 linux=$3
    if cmp -s "$windows" "$linux"; then
        pass "$name"
    else
        fail "$name" "$(cmp "$windows" "$linux" 2>&1 | head -1)"
    fi
}

echo "== File commands"
"$tool" new linux.tvr
expect_status "new" 0 win new start.tvr && same_bytes "new writes the start program" start.tvr linux.tvr
if expect_status "check" 0 win check start.tvr && grep -q "Файл в порядке: шагов 20" out.txt; then
    pass "check"
fi
"$tool" show linux.tvr >linux-show.txt
expect_status "show" 0 win show start.tvr && same_bytes "show prints as on Linux" out.txt linux-show.txt

# Every kind of cell, a long step time and the start block.
cat >rich.json <<'JSON'
{"startBlock": true, "steps": [
 {"time": 5, "cells": [0, 1, 2, 3, 6, 7, 123, 254, 132, 133, 255, 8, 16, 24, 32, 40]},
 {"time": 65535, "cells": [7, 6, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1]}
]}
JSON
"$tool" import rich.json linux-rich.tvr
"$tool" export linux-rich.tvr >linux-rich.json
expect_status "export" 0 win export linux-rich.tvr &&
    same_bytes "export prints the JSON as on Linux" out.txt linux-rich.json
expect_status "import" 0 win import rich.json windows-rich.tvr &&
    same_bytes "import writes the file as on Linux" windows-rich.tvr linux-rich.tvr

head -c 100 linux.tvr >wrong.tvr
if expect_status "refused file" 1 win check wrong.tvr && grep -q "Ошибка файла" err.txt; then
    pass "refused file"
fi

echo "== Uploads through Win32SerialPort"
# Starts `tevra simulate` with these options and points COM port $1 at its device.
start_simulator() {
    local port=$1 out device
    shift
    exec {out}< <(exec "$tool" simulate "$@" 2>>simulator-errors.txt)
    simulators+=($!)
    # The simulator prints its device path on its first line once it is ready.
    if ! read -r -t 10 device <&"$out"; then
        echo "FAIL  the simulator did not start: $(cat simulator-errors.txt)"
        exit 1
    fi
    # Keep reading so that its later output never blocks it.
    cat <&"$out" >/dev/null &
    exec {out}<&-
    ln -sfn "$device" "$WINEPREFIX/dosdevices/${port,,}"
}

stop_simulators() {
    for pid in "${simulators[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    simulators=()
}

# name, simulator options (one word, may be empty), expected exit status, expected message.
upload_case() {
    local name=$1 options=$2 expected=$3 message=$4
    # shellcheck disable=SC2086 # the options are words on purpose
    start_simulator COM9 $options
    if expect_status "$name" "$expected" win upload --port COM9 linux.tvr; then
        if grep -q "$message" out.txt; then
            pass "$name"
        else
            fail "$name" "no \"$message\" in: $(head -c 300 out.txt)"
        fi
    fi
    stop_simulators
}

upload_case "upload verified" "" 0 "Контроллер записан!"
upload_case "a wrong byte once, then verified" "--wrong-byte-on-attempts 1" 0 "Контроллер записан!"
upload_case "wrong bytes on every attempt" "--wrong-byte-on-attempts 1,2,3,4" 3 "Ошибка записи!"
upload_case "silent from the second block" "--silent-from-block 1" 2 "Нет ответа контроллера!"
upload_case "answers one byte short" "--short-answer" 2 "Нет ответа контроллера!"
upload_case "device vanishes after the first block" "--hang-up-after-block 0" 2 \
    "Нет ответа контроллера!"

ln -sfn "$work/no-such-device" "$WINEPREFIX/dosdevices/com7"
if expect_status "port that does not open" 1 win upload --port COM7 linux.tvr &&
    grep -q "Ошибка открытия порта !" err.txt; then
    pass "port that does not open"
fi

if [[ -n $bench ]]; then
    echo "== Upload benchmark under Wine (ratio to the floor; goal at most 1.10)"
    start_simulator COM8
    start_simulator COM9 --pace
    timeout 300 "$wine" "$bench" --instant-port=COM8 --paced-port=COM9 --benchmark_counters_tabular=true
fi

echo "wine: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
