#!/usr/bin/env bash
# Runs the Windows editor under Wine on a virtual screen, as a user would: it shows its window,
# opens a program file with a Cyrillic name given as its argument, and "Программировать" writes
# that program into `tevra simulate` reached as COM9, which `tevra download` then reads back.
# Then the installer: a silent install, both programs started from the install folder, the
# Start-menu entry and the file type, and a silent uninstall that leaves nothing behind. With
# the exchange window's upload benchmark, runs it against an instant simulator.
#
# Usage: editor-wine-test.sh STAGE_BIN INSTALLER_EXE LINUX_TEVRA [EXCHANGE_UPLOAD_BENCH_EXE]
# STAGE_BIN is the bin folder of `cmake --install`: the editor, tevra.exe and what they load.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
stage=$(realpath "$1")
installer=$(realpath "$2")
tool=$(realpath "$3")
bench=${4:+$(realpath "$4")}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)

# Seconds: Wine starts a Qt program in a few, but a busy machine may take many more.
readonly kWindowWait=90
readonly kUploadWait=120

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
background=()
cleanup() {
    for pid in "${background[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# A free display number, which Xvfb writes once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>display.txt >xvfb.log 2>&1 &
background+=($!)
for _ in {1..60}; do
    [[ -s display.txt ]] && break
    sleep 0.5
done
[[ -s display.txt ]] || {
    echo "FAIL  Xvfb did not start: $(cat xvfb.log)"
    exit 1
}
export DISPLAY=:$(cat display.txt)

mkdir -p "$WINEPREFIX"
"$wineserver" -p >/dev/null 2>&1
started=$SECONDS
timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || {
    echo "FAIL  the Wine prefix could not be made"
    exit 1
}
echo "Wine prefix ready in $((SECONDS - started)) s"

passed=0
failed=0
failures=0
# name, then a command that succeeds when the check holds.
check() {
    local name=$1
    shift
    if "$@" >check.log 2>&1; then
        echo "ok    $name"
        passed=$((passed + 1))
    else
        echo "FAIL  $name: $(head -c 400 check.log)"
        failed=$((failed + 1))
    fi
}
# Prints the group's line and starts the next group's count.
end_group() {
    echo "$1: $passed passed, $failed failed"
    failures=$((failures + failed))
    passed=0
    failed=0
}

# Waits for a top-level window whose title is exactly $1 and prints its id.
wait_window() {
    local deadline=$((SECONDS + ${2:-$kWindowWait})) id
    while ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1) && [[ -n $id ]] && {
            echo "$id"
            return 0
        }
        sleep 0.5
    done
    echo "no window \"$1\" within ${2:-$kWindowWait} s" >&2
    return 1
}
# Gives window $1 the keyboard and presses keys $2...
press() {
    local id=$1
    shift
    xdotool windowfocus --sync "$id" key --delay 100 "$@"
}
# The centre of widget $1 in the editor's template, relative to the window: where a click on it
# lands wherever the window sits.
widget_centre() {
    python3 - "$root/res/CEditorDlg.ui" "$1" <<'PYTHON'
import sys
import xml.etree.ElementTree as tree

widget = tree.parse(sys.argv[1]).find(f".//widget[@name='{sys.argv[2]}']")
rect = {field.tag: int(field.text) for field in widget.find("property[@name='geometry']/rect")}
print(rect["x"] + rect["width"] // 2, rect["y"] + rect["height"] // 2)
PYTHON
}
# A window that shows something: many colours, none covering nearly all of it. A missing window
# fails to be captured; an unpainted one is a single colour.
shows_content() {
    local colours dominant pixels
    import -window "$1" shot.png || return 1
    colours=$(convert shot.png -format %k info:)
    dominant=$(convert shot.png -format %c histogram:info:- | sort -rn | head -n 1 | cut -d: -f1)
    pixels=$(convert shot.png -format '%[fx:w*h]' info:)
    echo "$colours colours; the commonest covers $dominant of $pixels pixels"
    ((colours >= 16 && dominant * 10 < pixels * 9))
}

# Starts `tevra simulate` with these options and points COM port $1 at its device.
start_simulator() {
    local port=$1 out device
    shift
    exec {out}< <(exec "$tool" simulate "$@" 2>>simulator-errors.txt)
    background+=($!)
    read -r -t 10 device <&"$out" || {
        echo "FAIL  the simulator did not start: $(cat simulator-errors.txt)"
        exit 1
    }
    cat <&"$out" >/dev/null &
    exec {out}<&-
    ln -sfn "$device" "$WINEPREFIX/dosdevices/${port,,}"
}

echo "== The editor under Wine"
cp -r "$stage" editor
# Every kind of cell and more than one step: nothing the start program could pass for.
cat >program.json <<'JSON'
{"startBlock": true, "steps": [
 {"time": 5, "cells": [0, 1, 2, 3, 6, 7, 123, 254, 132, 133, 255, 8, 16, 24, 32, 40]},
 {"time": 65535, "cells": [7, 6, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1]},
 {"time": 300, "cells": [1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0]}
]}
JSON
named="программа с пробелом.tvr"
"$tool" import program.json "$named"
# The exchange window's settings as a user left them: COM9 (the ninth entry), the timer off.
appdata=$("$wine" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
appdata=$("$wine" winepath -u "$appdata" 2>/dev/null)
mkdir -p "$appdata"
printf '[Settings]\r\nCOMM_SET=8\r\nTIMER_SET_DataReg=65535\r\nSLAVE_SET=0\r\n' >"$appdata/Velmora_N1.ini"
start_simulator COM9

"$wine" editor/Velmora_N1.exe "$named" >editor.log 2>&1 &
background+=($!)
editor=""
check "the editor shows its window" eval 'editor=$(wait_window "Tevra 1.1")'
if [[ -n $editor ]]; then
    sleep 2
    check "the window shows its controls, not an empty frame" shows_content "$editor"
    check "no message box over it: the file was read" \
        eval '! wait_window Velmora_N1 3'
    read -r x y < <(widget_centre programButton)
    xdotool mousemove --window "$editor" "$x" "$y" click 1
    check "\"Программировать\" opens the exchange window" \
        eval 'exchange=$(wait_window "Обмен с контроллером")'
    started=$SECONDS
    press "${exchange:-$editor}" Return
    check "\"Записать\" ends with a message" eval 'outcome=$(wait_window Velmora_N1 $kUploadWait)'
    echo "The upload from the window took about $((SECONDS - started)) s"
    press "${outcome:-$editor}" Return
    press "${exchange:-$editor}" Escape
    "$wine" editor/tevra.exe download --port COM9 "прочитано.tvr" >download.log 2>&1 || true
    check "the controller holds the program of the file given" cmp "$named" "прочитано.tvr"
fi
"$wineserver" -k 2>/dev/null || true
end_group "editor under wine"

if [[ -n $bench ]]; then
    echo "== Upload from the exchange window under Wine (ratio to the floor; goal at most 1.15)"
    cp "$bench" editor/
    start_simulator COM8
    timeout 300 "$wine" "editor/$(basename "$bench")" --instant-port=COM8 \
        --benchmark_counters_tabular=true 2>&1 | grep -v '^\*\*\*'
    "$wineserver" -k 2>/dev/null || true
fi

echo "== The installer under Wine"
folder="$WINEPREFIX/drive_c/Program Files/Velmora_N1"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora_N1"
check "a silent install puts the editor into Program Files" \
    eval 'timeout 300 "$wine" "$installer" /S && test -f "$folder/bin/Velmora_N1.exe"'
check "the installed editor answers --version" \
    eval '"$wine" "$folder/bin/Velmora_N1.exe" --version | grep -q "^Velmora_N1 [0-9]"'
check "the installed tool answers --version" \
    eval '"$wine" "$folder/bin/tevra.exe" --version | grep -q "^tevra [0-9]"'
check "a Start-menu entry" test -f "$menu/Velmora_N1.lnk"
check "program files open in the editor" \
    eval '"$wine" reg query "HKCR\\Velmora_N1.Program\\shell\\open\\command" | grep -q "Velmora_N1.exe"'
check "with its icon" \
    eval '"$wine" reg query "HKCR\\Velmora_N1.Program\\DefaultIcon" | grep -q "Velmora_N1.exe,0"'
check ".tvr is such a file" eval '"$wine" reg query "HKCR\\.tvr" | grep -q "Velmora_N1.Program"'
check "a program file with a Cyrillic name opens in it, as on a double click" \
    eval 'timeout 30 "$wine" start /unix "$work/$named" && wait_window "Tevra 1.1" && ! wait_window Velmora_N1 3'
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
# The uninstaller copies itself elsewhere and returns at once; the copy removes the folder.
uninstall() {
    local deadline=$((SECONDS + 60))
    "$wine" "$folder/Uninstall.exe" /S || return 1
    while [[ -e $folder ]] && ((SECONDS < deadline)); do
        sleep 1
    done
    [[ ! -e $folder ]] || {
        find "$folder" | head -n 5
        return 1
    }
}
check "the uninstaller removes the install folder" uninstall
check "and the Start-menu entry" test ! -e "$menu"
check "and the file type" eval '! "$wine" reg query "HKCR\\.tvr"'
end_group "installer under wine"

[[ $failures -eq 0 ]]
