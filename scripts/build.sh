#!/usr/bin/env bash
# Configures and builds QEL in ./build (release build with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ninja -C build
