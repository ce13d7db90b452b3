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
stop_simulators() {
    for pid in "${simulators[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    simulators=()
}
trap 'stop_simulators; "$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

# One server for every run below instead of one started and stopped for each. Wine's own
# start-up takes a while the first time; a hung one must not hold up the run.
mkdir -p "$WINEPREFIX"
"$wineserver" -p >/dev/null 2>&1
started=$SECONDS
if ! timeout 300 "$wine" wineboot --init >/dev/null 2>&1; then
    echo "FAIL  the Wine prefix could not be made"
    exit 1
fi
echo "Wine prefix ready in $((SECONDS - started)) s"

passed=0
failed=0
# name, expected exit status, a check of out.txt and err.txt, then tevra.exe's arguments.
check() {
    local name=$1 expected=$2 condition=$3 status=0
    shift 3
    timeout 120 "$wine" "$exe" "$@" >out.txt 2>err.txt || status=$?
    if [[ $status -ne $expected ]]; then
        echo "FAIL  $name: exit status $status, expected $expected; $(head -c 300 err.txt)"
    elif ! eval "$condition" >/dev/null 2>&1; then
        echo "FAIL  $name: not $condition; $(head -c 300 out.txt) $(head -c 300 err.txt)"
    else
        echo "ok    $name"
        passed=$((passed + 1))
        return
    fi
    failed=$((failed + 1))
}

echo "== File commands"
"$tool" new linux.tvr
"$tool" show linux.tvr >linux-show.txt
head -c 100 linux.tvr >wrong.tvr
# Every kind of cell, a long step time and the start block.
cat >rich.json <<'JSON'
{"startBlock": true, "steps": [
 {"time": 5, "cells": [0, 1, 2, 3, 6, 7, 123, 254, 132, 133, 255, 8, 16, 24, 32, 40]},
 {"time": 65535, "cells": [7, 6, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1]}
]}
JSON
"$tool" import rich.json linux-rich.tvr
"$tool" export linux-rich.tvr >linux-rich.json
# Most of these users' file names are Russian: names outside the ANSI code page, with a space.
named="старт с пробелом.tvr"
check "new writes the start program" 0 "cmp '$named' linux.tvr" new "$named"
check "check" 0 "grep 'Файл в порядке: шагов 20' out.txt" check "$named"
check "show prints as on Linux" 0 "cmp out.txt linux-show.txt" show "$named"
check "export prints the JSON as on Linux" 0 "cmp out.txt linux-rich.json" export linux-rich.tvr
check "import writes the file as on Linux" 0 "cmp windows-rich.tvr linux-rich.tvr" \
    import rich.json windows-rich.tvr
check "refused file" 1 "grep 'Ошибка файла' err.txt" check wrong.tvr

echo "== Uploads and a download through Win32SerialPort"
# Starts `tevra simulate` with these options and points COM port $1 at its device.
start_simulator() {
    local port=$1 out device
    shift
    exec {out}< <(exec "$tool" simulate "$@" 2>>simulator-errors.txt)
    simulators+=($!)
    # The simulator prints its device path on its first line once it is ready; what it prints
    # later is drained, so that it never blocks.
    if ! read -r -t 10 device <&"$out"; then
        echo "FAIL  the simulator did not start: $(cat simulator-errors.txt)"
        exit 1
    fi
    cat <&"$out" >/dev/null &
    exec {out}<&-
    ln -sfn "$device" "$WINEPREFIX/dosdevices/${port,,}"
}

# name, simulator options (words), expected exit status, expected message.
upload_case() {
    # shellcheck disable=SC2086 # the options are words on purpose
    start_simulator COM9 $2
    check "$1" "$3" "grep '$4' out.txt" upload --port COM9 "$named"
    stop_simulators
}
upload_case "upload verified" "" 0 "Контроллер записан!"
upload_case "a wrong byte once, then verified" "--wrong-byte-on-attempts 1" 0 "Контроллер записан!"
upload_case "wrong bytes on every attempt" "--wrong-byte-on-attempts 1,2,3,4" 3 "Ошибка записи!"
upload_case "silent from the second block" "--silent-from-block 1" 2 "Нет ответа контроллера!"
upload_case "answers one byte short" "--short-answer" 2 "Нет ответа контроллера!"
upload_case "device vanishes after the first block" "--hang-up-after-block 0" 2 \
    "Нет ответа контроллера!"
start_simulator COM9 --load linux-rich.tvr
check "download reads back what the controller holds" 0 "cmp 'прочитано.tvr' linux-rich.tvr" \
    download --port COM9 "прочитано.tvr"
stop_simulators
ln -sfn "$work/no-such-device" "$WINEPREFIX/dosdevices/com7"
check "port that does not open" 1 "grep 'Ошибка открытия порта !' err.txt" \
    upload --port COM7 linux.tvr

if [[ -n $bench ]]; then
    echo "== Upload benchmark under Wine (ratio to the floor; goal at most 1.10)"
    start_simulator COM8
    start_simulator COM9 --pace
    timeout 300 "$wine" "$bench" --instant-port=COM8 --paced-port=COM9 --benchmark_counters_tabular=true
fi

echo "wine: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
