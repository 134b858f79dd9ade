#!/usr/bin/env bash
# Times whole-process word searches: qel-cli search on a dictionary beside grep -x and rg -x with
# the equivalent regular expression on the same word list (the dictionary's own entries, one per
# line). Prints the median of several runs of each and the ratios, all from one run of this script.
# qel-cli is timed twice: with its side file made beforehand, and on a first run, which makes it;
# then the first search after qel-cli build, which makes the side file as it finishes.
#
# Usage: bench/compare-grep.sh [BUILD_DIR] [RUNS] [DICT]   (WARMUPS=N: warm-up runs per batch)
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

# The wall times in milliseconds of $per runs of a command, after $warmups warm-up runs, appended
# to the file given first; "--prepare CMD" first runs CMD before each. Process start-up is measured
# without a shell in between, and the output goes through a pipe: grep stops at its first match
# when it sees /dev/null. On a virtual machine, the first runs of a command after another one are
# up to twice as slow, and the shortest commands the most, until the host has caught up with the
# load (tens of runs); the warm-up runs let every command be timed in that steady state.
time_runs() {
  local into=$1
  shift
  local prepare=()
  if [ "$1" = --prepare ]; then prepare=(--prepare "$2"); shift 2; fi
  hyperfine -N -i -w "$warmups" -r "$per" --output=pipe "${prepare[@]}" --export-json "$work/run.json" \
    "$(printf '%q ' "$@")" >/dev/null 2>&1
  python3 -c 'import json,sys; print("\n".join(str(1000 * t) for t in json.load(open(sys.argv[1]))["results"][0]["times"]))' \
    "$work/run.json" >>"$into"
}
median_of() {
  python3 -c 'import statistics,sys; print("%.2f" % statistics.median(float(l) for l in open(sys.argv[1])))' "$1"
}
# The runs of each command are taken in rounds that alternate the commands, so that a machine whose
# speed drifts moves them all alike.
rounds=3
per=$(((runs + rounds - 1) / rounds))
warmups=${WARMUPS:-15}

ratio() { echo "$1 / $2" | bc -l; }

printf '%-22s %9s %9s %9s %9s %9s %9s %9s\n' "pattern" "qel ms" "first ms" "grep ms" "rg ms" \
  "qel/grep" "qel/rg" "first/grep"
# Tab-separated: pattern, regular expression, E (extended) or P (Perl: back references,
# look-ahead), qel options.
while IFS=$'\t' read -r pattern regex kind options; do
  read -ra extra <<<"$options"
  grep_options=(-xE)
  rg_options=(-x)
  [ "$kind" = P ] && grep_options=(-xP) && rg_options=(-xP)
  rm -f "$work"/times-*
  for ((round = 0; round < rounds; ++round)); do
    time_runs "$work/times-q" "$cli" search --entries-only "${extra[@]}" "$pattern" "$dict"
    time_runs "$work/times-g" grep "${grep_options[@]}" "$regex" "$work/words.txt"
    time_runs "$work/times-r" rg "${rg_options[@]}" "$regex" "$work/words.txt"
    # Last in the round, as it leaves the side file made for the next.
    time_runs "$work/times-f" --prepare "rm -rf $work/cache" \
      "$cli" search --entries-only "${extra[@]}" "$pattern" "$dict"
  done
  q=$(median_of "$work/times-q")
  f=$(median_of "$work/times-f")
  g=$(median_of "$work/times-g")
  r=$(median_of "$work/times-r")
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

# The first search of a dictionary just built: the build makes its side file as it finishes. The
# dictionary is the word list again, built anew before each run.
"$cli" list "$dict" | cut -f1 > "$work/source.txt"
echo
printf '%-22s %9s %9s %9s\n' "after a build" "qel ms" "grep ms" "qel/grep"
while IFS=$'\t' read -r pattern regex kind; do
  rm -f "$work"/times-*
  time_runs "$work/times-b" --prepare "bash -c 'rm -rf $work/cache; $cli build $work/source.txt $work/built.qcd > /dev/null'" \
    "$cli" search --entries-only "$pattern" "$work/built.qcd"
  time_runs "$work/times-g" grep "-x$kind" "$regex" "$work/words.txt"
  b=$(median_of "$work/times-b")
  g=$(median_of "$work/times-g")
  printf '%-22s %9s %9s %9.2f\n' "$pattern" "$b" "$g" "$(ratio "$b" "$g")"
done <<'PATTERNS'
.l...r.n	.l...r.n	E
;lobikes	(?=.*l)(?=.*o)(?=.*b)(?=.*i)(?=.*k)(?=.*e)(?=.*s)[lobikes]{7}	P
*	.*	E
PATTERNS

# The floors: the whole list ("*") beside cat of the word list into the same pipe, and a search
# that finds nothing of note beside grep's own start on an empty file.
echo
printf '%-22s %9s %9s %9s\n' "floor" "qel ms" "other ms" "qel/other"
floor() {
  local label=$1 pattern=$2
  shift 2
  rm -f "$work"/times-*
  for ((round = 0; round < rounds; ++round)); do
    time_runs "$work/times-q" "$cli" search --entries-only "$pattern" "$dict"
    time_runs "$work/times-o" "$@"
  done
  q=$(median_of "$work/times-q")
  o=$(median_of "$work/times-o")
  printf '%-22s %9s %9s %9.2f\n' "$label" "$q" "$o" "$(ratio "$q" "$o")"
}
floor '"*" / cat' '*' cat "$work/words.txt"
floor '"x" / grep -i x null' x grep -i x /dev/null

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
