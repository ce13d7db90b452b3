#!/usr/bin/env bash
# Installs what is missing, builds, starts a simulated controller and opens the editor.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
build/cli/tevra new /tmp/start.tvr && build/cli/tevra show /tmp/start.tvr
