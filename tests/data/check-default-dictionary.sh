#!/usr/bin/env bash
# Checks the default dictionary built by scripts/build-default-dictionary.sh:
# its size, its length range, that the common phrases, proper names and accented words are there
# exactly once each, that no possessive slipped in, and that its ranks put each Quick Reference
# example's word among the first of its length.
#
# Usage: check-default-dictionary.sh BUILD_DIR
set -u
export LC_ALL=C

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
cli="$1/qel-cli"
dict="$1/Dictionaries/Devuduvodi.qcd"
for file in "$cli" "$dict"; do
  if [ ! -e "$file" ]; then
    echo "$0: $file not found (scripts/build-default-dictionary.sh builds it); skipped" >&2
    exit 77
  fi
done

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT

if ! "$cli" info "$dict" >"$workdir/info"; then
  fail "qel-cli info failed"
fi
field() {
  sed -n "s/^$1: *//p" "$workdir/info" | head -n 1
}
at_least() {  # name value minimum
  case "$2" in
    '' | *[!0-9]*) fail "$1 missing from qel-cli info (got '$2')" ;;
    *) [ "$2" -ge "$3" ] || fail "$1 is $2, expected at least $3" ;;
  esac
}
at_least Entries "$(field Entries)" 300000
at_least Definitions "$(field Definitions)" 100000
[ "$(field Shortest)" = 1 ] || fail "Shortest is '$(field Shortest)', expected 1"
longest=$(field Longest)
case "$longest" in
  '' | *[!0-9]*) fail "Longest missing from qel-cli info (got '$longest')" ;;
  *) [ "$longest" -le 31 ] || fail "Longest is $longest, expected 31 or less" ;;
esac
description=$(field Description)
for source in "WordNet 3.0" "SCOWL"; do
  case "$description" in
    *"$source"*) ;;
    *) fail "description does not name $source: '$description'" ;;
  esac
done

if ! "$cli" list "$dict" >"$workdir/list"; then
  fail "qel-cli list failed"
fi
# Entry texts only: an annotation follows its entry after a tab.
cut -f 1 "$workdir/list" >"$workdir/entries"

for word in "fly-by-night" "a cappella" "tail end" "Charlie" "café" "electron" "obelisk" \
            "maharaja" "sardine" "toboggan" "beriberi" "tonight" "imaginative" "readable"; do
  count=$(grep -cxF -- "$word" "$workdir/entries")
  [ "$count" -eq 1 ] || fail "\"$word\" listed $count times, expected once"
done

possessives=$(grep -c "'s\$" "$workdir/entries")
if [ "$possessives" -ne 0 ]; then
  fail "$possessives entries end in 's, e.g. $(grep -m 3 "'s\$" "$workdir/entries" | tr '\n' ' ')"
fi

# Ranked, each Quick Reference example finds its word among the first three of its length.
if [ -f "${dict%.qcd}.qcr" ]; then
  while IFS='|' read -r pattern word; do
    letters=$(printf '%s' "$word" | tr -d -- '- ' | wc -c)
    place=$(XDG_CACHE_HOME="$workdir/cache" "$cli" search --sort common --entries-only "$pattern" "$dict" |
      awk -v n="$letters" -v w="$word" '{ s = $0; gsub(/[- ]/, "", s)
        if (length(s) == n) { k++; if ($0 == w) { print k; exit } } }')
    [ -n "$place" ] && [ "$place" -le 3 ] ||
      fail "most common first puts \"$word\" at ${place:-no place} among the $letters-letter results of $pattern"
  done <<'EXAMPLES'
.l...r.n|electron
;lobikes|obelisk
m*ja|maharaja
;diners[ai]|sardine
......*;gdangboot|toboggan
12341234|beriberi
...-..-.....|fly-by-night
;..oting & ! *ing|tonight
@#@#@#@#@#@|imaginative
;rebel(ada)|readable
EXAMPLES
else
  fail "the default dictionary has no ranks beside it"
fi

duplicates=$(sort "$workdir/list" | uniq -d | head -n 5)
[ -z "$duplicates" ] || fail "entries listed more than once: $(echo "$duplicates" | tr '\n' ' ')"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed for $dict" >&2
  exit 1
fi
echo "$dict: all checks passed"
