#!/usr/bin/env bash
# Cross-builds the part of Qt the editor needs (Core, Gui, Widgets, the Windows platform plugin
# and the Windows style) for MinGW-w64, from Debian's source package of the Qt installed for the
# host, whose tools (moc, rcc, uic) serve as the host tools. The result is kept in a cache
# folder, so only the first run downloads and builds (about 15-25 minutes on 2 cores).
# Prints the folder to give CMake as its prefix. Exit status 2, with one line, when the source
# package cannot be fetched; 1 when the build itself fails, with the end of its log.
set -euo pipefail
source "$(dirname "$0")/debian-source.sh"

fail() {
    echo "$2" >&2
    exit "$1"
}
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null) ||
    fail 2 "qt6-base-dev is not installed"
upstream_version=$(dpkg-query -W -f='${source:Upstream-Version}' qt6-base-dev)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tevra
prefix=$cache/qt6-base-$source_version-mingw-w64
toolchain=$cache/qt6-mingw-w64-toolchain.cmake
if [[ -f $prefix/lib/cmake/Qt6/qt.toolchain.cmake && -f $prefix/plugins/platforms/qwindows.dll ]]; then
    echo "$prefix"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# why, then the step; its output only matters when it fails.
build_step() {
    local why=$1
    shift
    "$@" >"$work/log" 2>&1 || {
        tail -n 40 "$work/log" >&2
        fail 1 "$why"
    }
}
reason=$(fetch_debian_source "$work" "qt6-base=$source_version") || fail 2 "$reason"
cd "$work"

build_step "source package not unpacked" tar -xf "$work"/qt6-base_"$upstream_version".orig.tar.*
build_step "Debian's changes not unpacked" tar -xf "$work"/qt6-base_"${source_version#*:}".debian.tar.*
source_dir=$(echo "$work"/qtbase-everywhere-src-*)
# Debian's security fixes; its other changes serve its own Linux build.
while read -r patch _; do
    [[ $patch == cve-* ]] || continue
    build_step "patch $patch does not apply" patch -d "$source_dir" -p1 -i "$work/debian/patches/$patch"
done <"$work/debian/patches/series"

# Qt's generated qt.toolchain.cmake records this file's path, so it stays beside the prefix.
mkdir -p "$cache"
cat >"$toolchain" <<'TOOLCHAIN'
# Qt's own cross-build for 64-bit Windows with MinGW-w64 (posix threads, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DQT_USE_CCACHE=ON)
    export CCACHE_BASEDIR=$work
fi
# The Debian source drops the tablet library the Windows plugin includes (tabletevent off);
# FEATURE_opengl alone leaves dynamic OpenGL on (INPUT_opengl); the plugin needs the DirectWrite
# font database, which Gui builds only with direct2d.
build_step "Qt cross-build not configured" cmake -G Ninja -S "$source_dir" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF -DFEATURE_xml=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF \
    -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
build_step "Qt cross-build failed" cmake --build "$work/build" -j "$(nproc)"
rm -rf "$prefix"
build_step "Qt cross-build not installed" cmake --install "$work/build"
echo "$prefix"
