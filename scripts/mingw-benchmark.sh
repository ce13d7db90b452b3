#!/usr/bin/env bash
# Builds Google Benchmark for the MinGW-w64 cross-build, which Debian does not ship, from
# Debian's source package of the version installed for the host. The result is kept in a cache
# folder, so only the first run downloads and builds. Prints the folder to give CMake as
# benchmark_DIR; on failure, prints why in one line and exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "$1" >&2
    exit 1
}
source_version=$(dpkg-query -W -f='${source:Version}' libbenchmark-dev 2>/dev/null) ||
    fail "libbenchmark-dev is not installed"
version=$(dpkg-query -W -f='${source:Upstream-Version}' libbenchmark-dev)
prefix=${XDG_CACHE_HOME:-$HOME/.cache}/tevra/benchmark-$version-mingw-w64
package_dir=$prefix/lib/cmake/benchmark
if [[ -f $package_dir/benchmarkConfig.cmake ]]; then
    echo "$package_dir"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# why, then the step; its output only matters when it fails, and then only its last line.
step() {
    local why=$1
    shift
    "$@" >"$work/log" 2>&1 || fail "$why: $(tail -n 1 "$work/log")"
}
# Source entries beside the machine's own binary ones, in private lists: the system's apt
# configuration and state stay as they are.
mkdir -p "$work/sources" "$work/lists/partial" "$work/cache"
for list in /etc/apt/sources.list.d/*.sources; do
    [[ -f $list ]] && sed 's/^Types: deb$/Types: deb-src/' "$list" >"$work/sources/$(basename "$list")"
done
if [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/sources/sources.list"
fi
apt_options=(-qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o APT::Sandbox::User=root)
# A machine without a reachable archive must not hold up the run.
step "no source package index reachable" timeout 300 apt-get "${apt_options[@]}" update
cd "$work"
step "source package benchmark=$source_version not downloaded" \
    timeout 300 apt-get "${apt_options[@]}" source --download-only "benchmark=$source_version"
step "source package not unpacked" tar -xf "$work"/benchmark_"$version".orig.tar.*

step "cross-build not configured" cmake -S "$work/benchmark-$version" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_INSTALL_DOCS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix"
step "cross-build failed" cmake --build "$work/build" -j "$(nproc)"
step "cross-build not installed" cmake --install "$work/build"
echo "$package_dir"
