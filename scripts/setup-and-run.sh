#!/usr/bin/env bash
# Installs what QEL needs, builds it, builds the default dictionary beside the programs and runs
# qel-cli on it. Extra arguments are passed to "qel-cli search" in place of the sample pattern.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh
scripts/build-default-dictionary.sh build
dictionary=build/Dictionaries/Devuduvodi.qcd
build/qel-cli info "$dictionary"
if [ $# -gt 0 ]; then
  build/qel-cli search "$@" "$dictionary"
elif build/qel-cli 2>&1 | grep -q "qel-cli search"; then
  for pattern in ".l...r.n" ";lobikes" "m*ja" "12341234" ";..oting & ! *ing"; do
    echo "== $pattern"
    build/qel-cli search "$pattern" "$dictionary" | head -n 20
  done
else
  build/qel-cli list --length 8 "$dictionary" | head -n 20
fi
