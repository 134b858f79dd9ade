#!/usr/bin/env bash
# Installs what QEL needs, builds it, builds the default dictionary beside the programs and starts
# the window program qel on it when a display is available; without one it says so and runs
# qel-cli on the samples instead. Extra arguments are passed to "qel-cli search" in place of the
# samples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh --programs
scripts/build-default-dictionary.sh build
dictionary=build/Dictionaries/Devuduvodi.qcd
if [ $# -eq 0 ] && [ -x build/qel ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/qel "$dictionary"
  fi
  echo "No display: qel needs one (try xvfb-run, or set DISPLAY). Running qel-cli on the samples."
fi
build/qel-cli info "$dictionary"
if [ $# -gt 0 ]; then
  build/qel-cli search "$@" "$dictionary"
  exit
fi
# The Quick Reference examples, then a definition and a search of the definitions.
for pattern in ".l...r.n" ";lobikes" "m*ja" ";diners[ai]" "......*;gdangboot" "12341234" \
               "...-..-....." ";..oting & ! *ing" "@#@#@#@#@#@" ";rebel(ada)" ";..oting"; do
  echo "== qel-cli search \"$pattern\""
  build/qel-cli search "$pattern" "$dictionary" | head -n 12 | awk '{ printf "%s%s", (NR > 1 ? ", " : ""), $0 } END { print "" }' || true
done
echo "== qel-cli define obelisk"
build/qel-cli define obelisk "$dictionary"
echo "== qel-cli fulltext \"particle & charge & negative\""
build/qel-cli fulltext "particle & charge & negative" "$dictionary"
