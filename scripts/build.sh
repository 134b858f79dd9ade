#!/usr/bin/env bash
# Configures and builds QEL in ./build (release build with debug information): everything, tests
# included, or with --programs only the four programs (qel, qel-cli and the two companions), which
# is what a first start needs. Other arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
options=(-DQEL_TESTS=ON)
if [ "${1:-}" = --programs ]; then
  shift
  targets=(qel-cli qel RIDOZAD RAVAZAV)
  options=(-DQEL_TESTS=OFF)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" "$@" >/dev/null
ninja -C build "${targets[@]}"
