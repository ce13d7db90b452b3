#!/usr/bin/env bash
# Builds Google Benchmark for the MinGW-w64 cross-build, which Debian does not ship, from
# Debian's source package of the version installed for the host. The result is kept in a cache
# folder, so only the first run downloads and builds. Prints the folder to give CMake as
# benchmark_DIR; on failure, prints why in one line and exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/debian-source.sh"

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
reason=$(fetch_debian_source "$work" "benchmark=$source_version") || fail "$reason"
cd "$work"
step "source package not unpacked" tar -xf "$work"/benchmark_"$version".orig.tar.*

step "cross-build not configured" cmake -S "$work/benchmark-$version" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_INSTALL_DOCS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix"
step "cross-build failed" cmake --build "$work/build" -j "$(nproc)"
step "cross-build not installed" cmake --install "$work/build"
echo "$package_dir"
