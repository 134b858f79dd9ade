#!/usr/bin/env bash
# Times whole-process full-text searches of the default dictionary's definitions: qel-cli fulltext
# through the index and reading every definition (--sequential), beside grep -w over the same
# glosses as plain text, one per line. Medians from one run of this script.
#
# Usage: bench/compare-fulltext.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-11}
cli="$build/qel-cli"
dict="$build/Dictionaries/Devuduvodi.qcd"
[ -x "$cli" ] && [ -f "$dict" ] || { echo "build qel-cli and the default dictionary first" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "hyperfine (Debian package hyperfine) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/../scripts/make-default-source.py" "$work/source.txt" 2>/dev/null
grep -F '|' "$work/source.txt" | sed 's/^[^|]*|//' > "$work/glosses.txt"
echo "glosses: $(wc -l < "$work/glosses.txt") lines, $(du -h "$work/glosses.txt" | cut -f1)"

for word in river zebra; do
  hyperfine -N -i -w 2 -r "$runs" --export-markdown "$work/$word.md" \
    "$cli fulltext --entries-only $word $dict" \
    "$cli fulltext --sequential --entries-only $word $dict" \
    "grep -c -w $word $work/glosses.txt" >/dev/null 2>&1
  cat "$work/$word.md"
done
