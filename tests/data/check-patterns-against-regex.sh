#!/usr/bin/env bash
# Searches the default dictionary for patterns of letter variables, wildcards and brackets whose
# naive matching takes the longest, and compares each complete answer with Python's regular
# expressions (back-references for the variables) over the entries spelt with plain letters.
#
# Usage: check-patterns-against-regex.sh BUILD_DIR
set -u
export LC_ALL=C.UTF-8

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
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
"$cli" list "$dict" | cut -f1 > "$workdir/entries" || exit 1

# pattern, then the regular expression over the entry's lower-case letters; (?!\N) keeps
# variables apart, as exclusive variables are.
cases=(
  '*1*2*1*2*|.*(.).*(?!\1)(.).*\1.*\2.*'
  '*1*2*3*1*2*3*|.*(.).*(?!\1)(.).*(?!\1|\2)(.).*\1.*\2.*\3.*'
  '*1*2*2*1*|.*(.).*(?!\1)(.).*\2.*\1.*'
  '*(1*2)*(2*1)*|.*(.).*(?!\1)(.).*\2.*\1.*'
  '*(*e*)*|.*e.*'
  '(1.)(.1)*|(.)..\1.*'
  '*([aeiou]*[aeiou])*1*1|.*[aeiou].*[aeiou].*(.).*\1'
)
failures=0
for c in "${cases[@]}"; do
  pattern=${c%%|*}
  regex=${c#*|}
  "$cli" search --entries-only --no-cache "$pattern" "$dict" > "$workdir/found" 2> "$workdir/err"
  status=$?
  if [ $status -gt 1 ] || [ -s "$workdir/err" ]; then
    echo "FAIL: $pattern: exit $status: $(cat "$workdir/err")" >&2
    failures=$((failures + 1))
    continue
  fi
  python3 - "$regex" "$workdir/entries" "$workdir/found" "$pattern" <<'PY' || failures=$((failures + 1))
import re, sys
regex, entries, found, pattern = sys.argv[1:]
plain = re.compile(r"[A-Za-z]+([ '-][A-Za-z]+)*")
def letters(entry):
    return "".join(c for c in entry.lower() if c.isalpha())
expected = set()
with open(entries, encoding="utf-8") as f:
    for line in f:
        entry = line.rstrip("\n")
        w = letters(entry)
        if plain.fullmatch(entry) and 0 < len(w) <= 31 and re.fullmatch(regex, w):
            expected.add(entry)
with open(found, encoding="utf-8") as f:
    got = {line.rstrip("\n") for line in f if plain.fullmatch(line.rstrip("\n"))}
if got != expected:
    print(f"FAIL: {pattern}: {len(got)} found, {len(expected)} expected; "
          f"missing {sorted(expected - got)[:5]}, extra {sorted(got - expected)[:5]}", file=sys.stderr)
    sys.exit(1)
print(f"{pattern}: {len(got)} entries, as the regular expression")
PY
done
exit $((failures > 0))
