#!/usr/bin/env bash
# Times whole-process word searches: qel-cli search on a dictionary beside grep -xE and rg -x with
# the equivalent regular expression on the same word list (the dictionary's own entries, one per
# line). Prints the median of several runs of each and the ratios, all from one run of this script.
#
# Usage: bench/compare-grep.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-11}
cli="$build/qel-cli"
dict="$build/Dictionaries/Devuduvodi.qcd"
[ -x "$cli" ] && [ -f "$dict" ] || { echo "build qel-cli and the default dictionary first" >&2; exit 2; }
command -v rg >/dev/null || { echo "rg (Debian package ripgrep) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The entries as text, with punctuation and blanks removed, so that a regular expression over
# letters sees what the pattern matcher sees. Lower case, as the matcher ignores case.
"$cli" list "$dict" | cut -f1 | tr -d " '.-" | tr '[:upper:]' '[:lower:]' > "$work/words.txt"
export LC_ALL=C

median_ms() {  # command... -> median wall time in milliseconds over $runs runs
  if command -v hyperfine >/dev/null; then
    # Process start-up measured without a shell in between, after warm-up runs.
    hyperfine -N -i -w 3 -r "$runs" --export-json "$work/run.json" "$(printf '%q ' "$@")" >/dev/null 2>&1
    python3 -c 'import json,sys; print("%.2f" % (1000 * json.load(open(sys.argv[1]))["results"][0]["median"]))' "$work/run.json"
    return
  fi
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.2f", $1 / 1000 }'
}

printf '%-28s %10s %10s %10s %12s %12s\n' "pattern" "qel ms" "grep ms" "rg ms" "qel/grep" "qel/rg"
while IFS='|' read -r pattern regex; do
  q=$(median_ms "$cli" search --entries-only "$pattern" "$dict")
  g=$(median_ms grep -xE "$regex" "$work/words.txt")
  r=$(median_ms rg -x "$regex" "$work/words.txt")
  printf '%-28s %10s %10s %10s %12.2f %12.2f\n' "$pattern" "$q" "$g" "$r" \
    "$(echo "$q / $g" | bc -l)" "$(echo "$q / $r" | bc -l)"
done <<'PATTERNS'
.l...r.n|.l...r.n
o.e.i.k|o.e.i.k
[bc]a[rt]...[aeiou]|[bc]a[rt]...[aeiou]
@#@#@#@#@#@|[aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou]
m*ja|m.*ja
*ing|.*ing
*|.*
PATTERNS
