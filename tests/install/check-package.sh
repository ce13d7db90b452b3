#!/usr/bin/env bash
# Lists a built Debian package, unpacks it and checks it as Debian and a desktop would: lintian
# finds nothing, both executables answer --version without a display, the menu and
# software-centre entries validate, the icons and the file type are there, the documents a
# Debian system keeps are there, and the editor shows a program file it is started on.
#
# Usage: check-package.sh PACKAGE.deb
set -euo pipefail

deb=$(realpath "$1")
root=$(mktemp -d)
xvfb=
trap '[[ -z $xvfb ]] || kill "$xvfb"; rm -rf "$root"' EXIT
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Maintainer|Depends|Recommends):'
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$'
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
app_id=org.tevra.Velmora_N1
entry=$usr/share/applications/$app_id.desktop

passed=0
failed=0
# name, then a command that succeeds when the check does.
check() {
    if "${@:2}" >"$root/check.log" 2>&1; then
        echo "ok    $1"
        passed=$((passed + 1))
    else
        echo "FAIL  $1: $(head -c 600 "$root/check.log")"
        failed=$((failed + 1))
    fi
}

# An error or a warning fails; the notes below them are shown.
lintian_finds_nothing() {
    lintian --fail-on error,warning --display-info "$deb"
}
# The tree's check passes a tree without the file.
validates_the_software_centre_entry() {
    [[ -f $usr/share/metainfo/$app_id.metainfo.xml ]] && appstreamcli validate-tree --no-net "$root"
}
# With no display, only an answer given before the window system is reached gets out.
answers_version() {
    [[ $(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/$1" --version) == "$1 "* ]]
}
icons_in_every_size() {
    local theme=$usr/share/icons/hicolor icon
    icon=$(sed -n 's/^Icon=//p' "$entry")
    for size in 16 24 32 48 64 128 256; do
        file "$theme/${size}x${size}/apps/$icon.png" | grep -q "$size x $size" || return 1
    done
    for drawing in apps/$icon mimetypes/application-x-tevra-program; do
        file "$theme/scalable/$drawing.svg" | grep -q 'SVG Scalable Vector Graphics' || return 1
    done
}
builds_the_file_type_database() {
    cp -r "$usr/share/mime" "$root/mime" && update-mime-database "$root/mime"
}
maps_tvr_to_its_icon() {
    grep -qx '50:application/x-tevra-program:\*.tvr' "$root/mime/globs2" &&
        grep -qx 'application/x-tevra-program:application-x-tevra-program' "$root/mime/icons"
}
# A program renamed without its extension is known by its content, and other files are not.
knows_a_program_by_its_content() {
    local data=$root/content
    mkdir -p "$data/home"
    "$usr/bin/tevra" new "$data/program" || return 1
    printf 'Шаг 1\n' >"$data/text"
    local name type
    for row in "program application/x-tevra-program" "text text/plain"; do
        read -r name type <<<"$row"
        XDG_DATA_HOME=$data/home XDG_DATA_DIRS=$root:/usr/share \
            gio info -a standard::content-type "$data/$name" |
            grep -qx "  standard::content-type: $type" || return 1
    done
}
has_the_documents() {
    local doc=$usr/share/doc/velmora-n1 version
    version=$(dpkg-deb --field "$deb" Version)
    grep -qx 'License: Expat' "$doc/copyright" &&
        zcat "$doc/changelog.gz" | head -n 1 | grep -q "^velmora-n1 ($version)" &&
        grep -q '^# Tevra' "$doc/README.md"
}

# Under a virtual display the editor is seen as a user sees it: started on a program whose first
# step has every channel on, it must look unlike the start program, with no message box open.
# A refused, missing or unread file leaves the start program, and a refusal opens a box.
start_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 50); do
        [[ -s $root/display ]] && break
        sleep 0.1
    done
    DISPLAY=:$(cat "$root/display")
    export DISPLAY
}
# Prints the checksum of the editor's picture on FILE; fails when a second window shows.
editor_picture() {
    QT_QPA_PLATFORM=xcb "$usr/bin/Velmora_N1" "$1" 2>/dev/null &
    local editor=$! window windows
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tevra 1\.1$' | head -n 1)
    # The file is read once the window shows; give the box or the new picture time to appear.
    sleep 1
    windows=$(xdotool search --onlyvisible --maxdepth 1 --name . | wc -l)
    # Without a window, import would wait for a click.
    [[ -n $window ]] && import -window "$window" rgb:- | md5sum
    kill "$editor"
    wait "$editor" || true
    [[ -n $window && $windows -eq 1 ]] || { echo "$windows windows on ${1##*/}" >&2 && false; }
}
shows_the_program() {
    local all_on shown start
    all_on=$(printf ',1%.0s' {1..16})
    printf '{"startBlock": false, "steps": [{"time": 100, "cells": [%s]}]}' "${all_on:1}" \
        >"$root/show.json"
    "$usr/bin/tevra" import "$root/show.json" "$root/show.tvr" &&
        "$usr/bin/tevra" new "$root/start.tvr" || return 1
    [[ -n $xvfb ]] || start_display
    shown=$(editor_picture "$root/show.tvr") && start=$(editor_picture "$root/start.tvr") &&
        { [[ $shown != "$start" ]] || { echo "it looks as on the start program" && false; }; }
}

check "lintian finds no error and no warning" lintian_finds_nothing
check "Velmora_N1 --version" answers_version Velmora_N1
check "tevra --version" answers_version tevra
check "the menu entry validates" desktop-file-validate "$entry"
check "the menu entry passes the file" grep -qx 'Exec=Velmora_N1 %f' "$entry"
check "the menu entry names the file type" grep -qx 'MimeType=application/x-tevra-program;' "$entry"
check "the software-centre entry validates with its menu entry" validates_the_software_centre_entry
check "the icons in every size and as a drawing" icons_in_every_size
check "the file type database builds" builds_the_file_type_database
check "the file type maps *.tvr to its icon" maps_tvr_to_its_icon
check "the file type knows a program by its content" knows_a_program_by_its_content
check "copyright, changelog and README in the documents" has_the_documents
check "Velmora_N1 show.tvr shows the program" shows_the_program

echo "package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
