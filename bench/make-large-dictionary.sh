#!/usr/bin/env bash
# A dictionary ten times the default one, with the same spread of lengths and letters: every entry
# of the default dictionary, and nine more made from it by shifting its first letter through the
# alphabet ("tail" -> "uail", "vail", ...). Shifted words that already exist count once.
#
# Usage: bench/make-large-dictionary.sh [BUILD_DIR] [OUT.qcd]
set -euo pipefail
build=${1:-build}
out=${2:-"$build/large.qcd"}
cli="$build/qel-cli"
dict="$build/Dictionaries/Devuduvodi.qcd"
[ -x "$cli" ] && [ -f "$dict" ] || { echo "build qel-cli and the default dictionary first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" list "$dict" | cut -f1 | LC_ALL=C awk '{
  print
  first = substr($0, 1, 1); rest = substr($0, 2)
  lower = index("abcdefghijklmnopqrstuvwxyz", first); upper = index("ABCDEFGHIJKLMNOPQRSTUVWXYZ", first)
  if (!lower && !upper) next
  for (k = 1; k <= 9; k++) {
    if (lower) print substr("abcdefghijklmnopqrstuvwxyz", (lower - 1 + k) % 26 + 1, 1) rest
    else print substr("ABCDEFGHIJKLMNOPQRSTUVWXYZ", (upper - 1 + k) % 26 + 1, 1) rest
  }
}' > "$work/source.txt"
"$cli" build --description "Ten times the default dictionary" "$work/source.txt" "$out" >/dev/null
"$cli" info "$out" | grep -i "entries" || true
echo "$out"
