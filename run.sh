#!/usr/bin/env bash
# Installs what is missing, builds, starts a simulated controller and opens the editor.
# The simulator stops when the editor closes.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target Velmora_N1 tevra

exec {simulator_out}< <(exec build/cli/tevra simulate)
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true' EXIT

# The simulator prints its device path on its first line once it is ready.
if ! read -r -t 10 device <&"$simulator_out"; then
    echo "Симулятор контроллера не запустился" >&2
    exit 1
fi
echo "Симулятор контроллера: $device"
# Keep reading so that its later output never blocks it.
cat <&"$simulator_out" >/dev/null &

build/app/Velmora_N1
