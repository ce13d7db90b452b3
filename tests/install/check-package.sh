#!/usr/bin/env bash
# Lists a built Debian package, unpacks it and checks the installed tree as a desktop would use
# it: both executables answer --version without a display, the menu entry validates and names
# the icon and the file type, the icon is there in every size, the file type maps *.tvr, and
# the editor starts on a program file.
#
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail

deb=$(realpath "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends):'
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$'
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
entry=$usr/share/applications/Velmora_N1.desktop

passed=0
failed=0
# name, then a command that succeeds when the check does.
check() {
    if "${@:2}" >"$root/check.log" 2>&1; then
        echo "ok    $1"
        passed=$((passed + 1))
    else
        echo "FAIL  $1: $(head -c 300 "$root/check.log")"
        failed=$((failed + 1))
    fi
}

# With no display, only an answer given before the window system is reached gets out.
answers_version() {
    [[ $(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/$1" --version) == "$1 "* ]]
}
icon_in_every_size() {
    local icon
    icon=$(sed -n 's/^Icon=//p' "$entry")
    for size in 16 24 32 48 64 128 256; do
        file "$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" | grep -q "$size x $size" ||
            return 1
    done
}
maps_tvr_to_the_icon() {
    cp -r "$usr/share/mime" "$root/mime"
    update-mime-database "$root/mime"
    grep -qx '50:application/x-tevra-program:\*.tvr' "$root/mime/globs2" &&
        grep -qx 'application/x-tevra-program:Velmora_N1' "$root/mime/icons"
}
# A valid file raises no message box: the editor stays up until the time-out ends it.
stays_up_on_a_program() {
    "$usr/bin/tevra" new "$root/show.tvr"
    local status=0
    QT_QPA_PLATFORM=offscreen timeout 3 "$usr/bin/Velmora_N1" "$root/show.tvr" || status=$?
    [[ $status -eq 124 ]]
}

check "Velmora_N1 --version" answers_version Velmora_N1
check "tevra --version" answers_version tevra
check "the menu entry validates" desktop-file-validate "$entry"
check "the menu entry passes the file" grep -qx 'Exec=Velmora_N1 %f' "$entry"
check "the menu entry names the file type" grep -qx 'MimeType=application/x-tevra-program;' "$entry"
check "the icon in every size" icon_in_every_size
check "the file type maps *.tvr to the icon" maps_tvr_to_the_icon
check "Velmora_N1 show.tvr starts and stays up" stays_up_on_a_program

echo "package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
