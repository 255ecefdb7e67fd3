#!/usr/bin/env bash
# Installs what is missing, builds and starts the launcher. Without a display it runs offscreen for a
# few seconds and prints the path of a screenshot of its last frame.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tmv-vedu
exec build/app/tmv-vedu "$@"
