#!/usr/bin/env bash
# Times whole-process word searches: qel-cli search on a dictionary beside grep -x and rg -x with
# the equivalent regular expression on the same word list (the dictionary's own entries, one per
# line). Prints the median of several runs of each and the ratios, all from one run of this script.
# qel-cli is timed twice: with its side file made beforehand, and on a first run, which makes it.
#
# Usage: bench/compare-grep.sh [BUILD_DIR] [RUNS] [DICT]
set -euo pipefail
build=${1:-build}
runs=${2:-11}
cli="$build/qel-cli"
dict=${3:-"$build/Dictionaries/Devuduvodi.qcd"}
[ -x "$cli" ] && [ -f "$dict" ] || { echo "build qel-cli and the default dictionary first" >&2; exit 2; }
command -v rg >/dev/null || { echo "rg (Debian package ripgrep) is needed" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "hyperfine (Debian package hyperfine) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"
unset QEL_NO_CACHE
# The entries as text, with punctuation and blanks removed, so that a regular expression over
# letters sees what the pattern matcher sees. Lower case, as the matcher ignores case.
"$cli" list "$dict" | cut -f1 | tr -d " '.-" | tr '[:upper:]' '[:lower:]' > "$work/words.txt"
"$cli" search --entries-only qqqqqqqqqqqqqqqqqqqq "$dict" > /dev/null || true  # makes the side file
export LC_ALL=C

# Median wall time in milliseconds of a command over $runs runs, after warm-up runs; "--prepare
# CMD" first runs CMD before each. Process start-up is measured without a shell in between, and
# the output goes through a pipe: grep stops at its first match when it sees /dev/null.
median_ms() {
  local prepare=()
  if [ "$1" = --prepare ]; then prepare=(--prepare "$2"); shift 2; fi
  hyperfine -N -i -w 3 -r "$runs" --output=pipe "${prepare[@]}" --export-json "$work/run.json" \
    "$(printf '%q ' "$@")" >/dev/null 2>&1
  python3 -c 'import json,sys; print("%.2f" % (1000 * json.load(open(sys.argv[1]))["results"][0]["median"]))' "$work/run.json"
}

ratio() { echo "$1 / $2" | bc -l; }

printf '%-22s %9s %9s %9s %9s %9s %9s %9s\n' "pattern" "qel ms" "first ms" "grep ms" "rg ms" \
  "qel/grep" "qel/rg" "first/grep"
# Tab-separated: pattern, regular expression, E (extended) or P (Perl: back references,
# look-ahead), qel options.
while IFS=$'\t' read -r pattern regex kind options; do
  read -ra extra <<<"$options"
  q=$(median_ms "$cli" search --entries-only "${extra[@]}" "$pattern" "$dict")
  f=$(median_ms --prepare "rm -rf $work/cache" "$cli" search --entries-only "${extra[@]}" "$pattern" "$dict")
  if [ "$kind" = P ]; then
    g=$(median_ms grep -xP "$regex" "$work/words.txt")
    r=$(median_ms rg -xP "$regex" "$work/words.txt")
  else
    g=$(median_ms grep -xE "$regex" "$work/words.txt")
    r=$(median_ms rg -x "$regex" "$work/words.txt")
  fi
  printf '%-22s %9s %9s %9s %9s %9.2f %9.2f %9.2f\n' "$pattern" "$q" "$f" "$g" "$r" \
    "$(ratio "$q" "$g")" "$(ratio "$q" "$r")" "$(ratio "$f" "$g")"
done <<'PATTERNS'
.l...r.n	.l...r.n	E	
o.e.i.k	o.e.i.k	E	
[bc]a[rt]...[aeiou]	[bc]a[rt]...[aeiou]	E	
@#@#@#@#@#@	[aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou][^aeiou][aeiou]	E	
12341234	(.)(?!\1)(.)(?!\1|\2)(.)(?!\1|\2|\3)(.)\1\2\3\4	P	
;lobikes	(?=.*l)(?=.*o)(?=.*b)(?=.*i)(?=.*k)(?=.*e)(?=.*s)[lobikes]{7}	P	
;..oting	(?=.*o)(?=.*t)(?=.*i)(?=.*n)(?=.*g).{7}	P	
m*ja	m.*ja	E	
*ing	.*ing	E	
a*	a.*	E	
*	.*	E	
PATTERNS

# Peak memory of the whole output ("*"): private memory, and pages of mapped files (the side file,
# or rg's word list), which the page cache shares and can take back.
peak() { python3 "$(dirname "$0")/peak-memory.py" "$@"; }
echo
echo "peak memory of \"*\" (MB):"
echo "  qel        $(peak "$cli" search --entries-only '*' "$dict")"
echo "  qel first  $(rm -rf "$work/cache"; peak "$cli" search --entries-only '*' "$dict")"
echo "  qel, none  $(peak "$cli" search --no-cache --entries-only '*' "$dict")"
echo "  grep       $(peak grep -xE '.*' "$work/words.txt")"
echo "  rg         $(peak rg -x '.*' "$work/words.txt")"
