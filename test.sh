#!/usr/bin/env bash
# Builds everything and runs every test: the suite, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzzers for a bounded time, the Windows cross-build and its
# tool under Wine, and the Debian package.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEVRA_WERROR=ON -DTEVRA_SANITIZE=ON \
    -DTEVRA_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --timeout 300

echo "== Fuzzers"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTEVRA_WERROR=ON -DTEVRA_FUZZ=ON -DTEVRA_BUILD_UI=OFF -DTEVRA_BUILD_BENCH=OFF
cmake --build build-fuzz -j "$jobs" --target fuzz_targets
for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
    [[ -x $fuzzer ]] || continue
    echo "$(basename "$fuzzer"):"
    "$fuzzer" -max_total_time="${TEVRA_FUZZ_SECONDS:-30}" -print_final_stats=1 2>&1 |
        { grep -E '^Done|number_of_executed_units|average_exec_per_sec' || true; }
done

echo "== Windows cross-build of the core, the command-line tool and the upload benchmark"
# The benchmark library comes from a source package, which a machine may not reach: then only
# the Windows upload benchmark is left out.
windows_bench=()
if benchmark_dir=$(scripts/mingw-benchmark.sh 2>&1); then
    windows_bench=(-DTEVRA_BUILD_BENCH=ON -Dbenchmark_DIR="$benchmark_dir")
else
    echo "Skipped the Windows upload benchmark: no Google Benchmark for MinGW ($benchmark_dir)"
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DTEVRA_WERROR=ON -DTEVRA_BUILD_UI=OFF -DTEVRA_BUILD_TESTS=OFF -DTEVRA_BUILD_BENCH=OFF \
    "${windows_bench[@]}"
cmake --build build-windows -j "$jobs" --target tevra Velmora_N1_resources \
    ${windows_bench:+upload_bench}

echo "== Release build and the whole suite"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEVRA_WERROR=ON
cmake --build build-release -j "$jobs"
ctest --test-dir build-release --output-on-failure -j "$jobs" --timeout 300

echo "== The Windows tool under Wine: file commands, uploads to the simulator, upload benchmark"
tests/windows/wine-test.sh build-windows/cli/tevra.exe build-release/cli/tevra \
    ${windows_bench:+build-windows/bench/upload_bench.exe}

echo "== The Windows editor: Qt for MinGW, the editor and its installer under Wine"
# Debian has no Qt for MinGW: it is built once from Debian's source package into the cache (15 to
# 25 minutes on 2 cores). A machine that cannot fetch the source skips the editor; a failed
# build fails the run.
qt_status=0
qt_prefix=$(scripts/mingw-qt.sh 2>&1) || qt_status=$?
if [[ $qt_status -eq 2 ]]; then
    echo "Skipped the Windows editor: no Qt for MinGW ($qt_prefix)"
elif [[ $qt_status -ne 0 ]]; then
    echo "$qt_prefix"
    exit 1
else
    # Qt's toolchain file brings Qt into reach and hands the rest to the project's own, which
    # shares the MinGW runtime's DLLs with Qt's instead of linking it in.
    cmake -S . -B build-windows-editor -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEVRA_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DTEVRA_MINGW_SHARED_RUNTIME=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
        -DTEVRA_BUILD_TESTS=OFF -DTEVRA_BUILD_BENCH=OFF \
        "${windows_bench[@]}"
    cmake --build build-windows-editor -j "$jobs" --target Velmora_N1 tevra \
        ${windows_bench:+exchange_upload_bench}
    rm -rf build-windows-editor/stage build-windows-editor/Velmora_N1-*-win64.exe
    cmake --install build-windows-editor --prefix build-windows-editor/stage >/dev/null
    (cd build-windows-editor && cpack >/dev/null)
    tests/windows/editor-wine-test.sh build-windows-editor/stage/bin \
        build-windows-editor/Velmora_N1-*-win64.exe build-release/cli/tevra \
        ${windows_bench:+build-windows-editor/bench/exchange_upload_bench.exe}
fi

echo "== Debian package: lintian, its contents and the installed tree"
rm -f build-release/velmora-n1_*.deb
(cd build-release && cpack -G DEB >/dev/null)
tests/install/check-package.sh build-release/velmora-n1_*.deb

echo "== The core and tool suites as an unprivileged user"
if [[ $(id -u) -eq 0 ]]; then
    # A copy in a fresh folder: the checkout itself may lie where nobody cannot reach.
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    cp build-release/tests/core_tests build-release/tests/cli/cli_tests build-release/cli/tevra "$stage"
    chmod -R a+rX "$stage"
    for suite in core_tests cli_tests; do
        (cd "$stage" && setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env \
            env TEVRA_TOOL="$stage/tevra" "./$suite" --gtest_brief=1)
    done
else
    echo "Skipped: the suites above already ran as $(id -un)"
fi
