#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the editor need, when missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n libgl-dev
    nlohmann-json3-dev libcli11-dev
    xvfb xauth fonts-dejavu-core fonts-liberation2
    g++-mingw-w64-x86-64 wine64
    patch xz-utils nsis python3
    dpkg-dev file desktop-file-utils shared-mime-info libglib2.0-bin lintian appstream
    xdotool imagemagick
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "Устанавливаются пакеты: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
