#!/usr/bin/env bash
# Configures and builds QEL in ./build: everything, tests included (release build with debug
# information), or with --programs only the four programs (qel, qel-cli and the two companions),
# which is what a first start needs (release build without it). Other arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=()
options=(-DQEL_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = --programs ]; then
  shift
  targets=(qel-cli qel RIDOZAD RAVAZAV)
  # A first start needs no debug information, which is a good part of the compiler's work.
  options=(-DQEL_TESTS=OFF -DCMAKE_BUILD_TYPE=Release)
fi
cmake -S . -B build -G Ninja "${options[@]}" "$@" >/dev/null
ninja -C build "${targets[@]}"
