#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. Arguments go to cmake (CI gives
# -DQEL_WARNINGS_AS_ERRORS=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh "$@"
scripts/build-default-dictionary.sh build
ctest --test-dir build --output-on-failure -j2
