#!/usr/bin/env bash
# Times whole-process phrase anagram searches: qel-cli anagrams on a dictionary beside the Debian
# "an" program on the same words (the dictionary's entries of plain letters a-z, one per line;
# qel-cli also has the entries with accented letters, which an would fold otherwise) with the
# same limits: up to 3 words, and a limit of combinations neither reaches, so that both make
# the whole search. Prints the median of the runs of each, the ratio and the combinations each
# printed, all from one run of this script. qel-cli's side file is made beforehand.
#
# Usage: bench/compare-an.sh [BUILD_DIR] [RUNS] [DICT]
set -euo pipefail
build=${1:-build}
runs=${2:-3}
cli="$build/qel-cli"
dict=${3:-"$build/Dictionaries/Devuduvodi.qcd"}
[ -x "$cli" ] && [ -f "$dict" ] || { echo "build qel-cli and the default dictionary first" >&2; exit 2; }
an=$(command -v an || echo /usr/games/an)
[ -x "$an" ] || { echo "an (Debian package an) is needed" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "hyperfine (Debian package hyperfine) is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME="$work/cache"
unset QEL_NO_CACHE
export LC_ALL=C.UTF-8
"$cli" list "$dict" | cut -f1 | LC_ALL=C grep -E '^[A-Za-z]+$' >"$work/words.txt"
"$cli" anagrams --words 1 qqqqqqqqqqqqqqqq "$dict" >/dev/null || true # makes the side file
limit=100000000

# The wall times in milliseconds of $per runs of a command, appended to the file given first.
# Process start-up is measured without a shell in between; the output goes through a pipe.
time_runs() {
  local into=$1
  shift
  hyperfine -N -i -w 1 -r "$per" --output=pipe --export-json "$work/run.json" \
    "$(printf '%q ' "$@")" >/dev/null 2>&1
  python3 -c 'import json,sys; print("\n".join(str(1000 * t) for t in json.load(open(sys.argv[1]))["results"][0]["times"]))' \
    "$work/run.json" >>"$into"
}
median_of() {
  python3 -c 'import statistics,sys; print("%.1f" % statistics.median(float(l) for l in open(sys.argv[1])))' "$1"
}
# The runs of the two are taken in rounds that alternate them, so that a machine whose speed
# drifts moves both alike.
rounds=$((runs < 3 ? runs : 3))
per=$(((runs + rounds - 1) / rounds))

printf '%-20s %7s %10s %10s %9s %12s %12s\n' "phrase" "letters" "qel ms" "an ms" "qel/an" \
  "qel lines" "an lines"
for phrase in "astronomer" "clint eastwood" "stonehenge wizard"; do
  qel=("$cli" anagrams --words 3 --limit "$limit" "$phrase" "$dict")
  ans=("$an" -d "$work/words.txt" -l 3 -n "$limit" "$phrase")
  rm -f "$work"/times-*
  for ((round = 0; round < rounds; ++round)); do
    time_runs "$work/times-q" "${qel[@]}"
    time_runs "$work/times-a" "${ans[@]}"
  done
  q=$(median_of "$work/times-q")
  a=$(median_of "$work/times-a")
  letters=${phrase// /}
  printf '%-20s %7s %10s %10s %9.3f %12s %12s\n' "$phrase" "${#letters}" "$q" "$a" \
    "$(echo "$q / $a" | bc -l)" "$("${qel[@]}" | wc -l)" "$("${ans[@]}" | wc -l)"
done
