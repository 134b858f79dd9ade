#!/usr/bin/env bash
# qel-cli anagrams finds the same combinations as the Debian "an" program: 30 phrases of 8 to 16
# letters made of random words of the default dictionary (the same ones every run), each searched
# by both with the same words and the same limits, the two sets of combinations compared with
# each line in lower case and its words sorted.
#
# The word list given to an is the dictionary's entries that are plain letters a-z, since an and
# QEL fold other letters differently: an takes the accents off (é is e) but keeps ø, æ or ß as
# letters of their own, where QEL folds ø to o. QEL's combinations that use a word with any other
# letter are left out for the same reason. Both list an entry as often as it comes (an repeats a
# line for each time a word is in its list; QEL lists "Dirty room" and "dirty room"), which the
# lower case and the sorting make one line. an counts the words of -c apart from -l, QEL counts
# those of --contains among --words, so an is given one word fewer.
# Usage: check-anagrams-against-an.sh BUILD_DIR
set -euo pipefail
build=$1
an=$(command -v an || true)
[ -n "$an" ] || an=/usr/games/an
if [ ! -x "$an" ]; then
  echo "an is not installed (apt-get install an): qel-cli anagrams is not compared with it"
  exit 77
fi
dict=$build/Dictionaries/Devuduvodi.qcd
if [ ! -f "$dict" ]; then
  echo "no default dictionary in $build/Dictionaries (scripts/build-default-dictionary.sh)"
  exit 77
fi
cli=$build/qel-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

"$cli" list "$dict" | cut -f1 | LC_ALL=C grep -E '^[A-Za-z]+$' >"$work/words"
# Words to make phrases from: 3 to 8 letters, lower case.
mapfile -t pieces < <(LC_ALL=C grep -E '^[a-z]{3,8}$' "$work/words")

# A fixed sequence of pseudo-random numbers (the same in every bash): sets r to one below $1.
seed=20240611
random() {
  seed=$(((seed * 1103515245 + 12345) % 2147483648))
  r=$((seed / 65536 % $1))
}

# Each line of a list of combinations in lower case with its words sorted, without the lines that
# hold a letter outside a-z, each line once.
normalised() {
  perl -CSD -ne 'chomp; next if /[^ A-Za-z]/; print join(" ", sort split / +/, lc), "\n"' |
    LC_ALL=C sort -u
}

fail=0
for ((n = 0; n < 30; n++)); do
  random 9
  target=$((8 + r))
  phrase='' first='' letters=0
  while ((letters < target)); do
    random ${#pieces[@]}
    word=${pieces[r]}
    if ((letters + ${#word} > 16)); then
      phrase='' first='' letters=0 # too long: another phrase
      continue
    fi
    phrase+=${phrase:+ }$word
    letters=$((letters + ${#word}))
    [ -n "$first" ] || first=$word
  done
  # Limits that keep an within a second or so: its time grows fast with letters and words.
  case $((n % 3)):$((letters > 12)) in
    0:0) qel=(--words 3) ans=(-l 3) ;;
    1:0) qel=(--words 3 --shortest 3) ans=(-l 3 -m 3) ;;
    0:1) qel=(--words 2) ans=(-l 2) ;;
    1:1) qel=(--words 3 --shortest 6) ans=(-l 3 -m 6) ;;
    2:*) qel=(--words 3 --contains "$first") ans=(-l 2 -c "$first") ;;
  esac
  "$cli" anagrams --limit 1000000 "${qel[@]}" "$phrase" "$dict" 2>"$work/err" |
    normalised >"$work/qel" || true
  # Letters that no words make up are said so; anything else on the error output is a failure.
  if [ -s "$work/err" ] && ! grep -qx 'qel-cli anagrams: no words of .* make up exactly these letters' "$work/err"; then
    echo "qel-cli anagrams ${qel[*]} $phrase: $(cat "$work/err")"
    fail=1
  fi
  "$an" -d "$work/words" -n 1000000 "${ans[@]}" "$phrase" | normalised >"$work/an"
  [ -z "${VERBOSE-}" ] || echo "$phrase (${qel[*]}): $(wc -l <"$work/qel") combinations"
  if ! cmp -s "$work/qel" "$work/an"; then
    echo "$phrase (${qel[*]}; an ${ans[*]}): $(wc -l <"$work/qel") combinations, an $(wc -l <"$work/an")"
    diff "$work/qel" "$work/an" | head -5
    fail=1
  fi
done
exit $fail
