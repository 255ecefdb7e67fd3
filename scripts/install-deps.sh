#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-mixer-dev libgl-dev libgl1-mesa-dri libglx-mesa0
    libpng-dev zlib1g-dev liblzo2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    libinih-dev fonts-dejavu-core libfreetype-dev
    alsa-utils chromium-bsu-data lbreakout2-data sound-theme-freedesktop libpulse0
    xvfb
    libassimp-dev assimp-testmodels
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
