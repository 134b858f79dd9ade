#!/usr/bin/env bash
# Builds the default dictionary, BUILD_DIR/Dictionaries/Devuduvodi.qcd, with BUILD_DIR/qel-cli from
# the installed Debian packages wbritish-huge and wordnet-base.
#
# Usage: build-default-dictionary.sh [--force] BUILD_DIR
#
# An existing dictionary newer than these scripts is left alone unless --force is given. The new
# file is written under a temporary name in the same folder and renamed only when the build
# succeeded, so a failed or interrupted build never replaces a good dictionary.
set -eu

usage() {
  echo "usage: $0 [--force] BUILD_DIR" >&2
  exit 2
}

force=0
build_dir=
for arg in "$@"; do
  case "$arg" in
    --force) force=1 ;;
    -*) usage ;;
    *) [ -z "$build_dir" ] || usage; build_dir=$arg ;;
  esac
done
[ -n "$build_dir" ] || usage

script_dir=$(cd "$(dirname "$0")" && pwd)
generator="$script_dir/make-default-source.py"
cli="$build_dir/qel-cli"
out_dir="$build_dir/Dictionaries"
target="$out_dir/Devuduvodi.qcd"

# Words of the definitions that occur in more than this percentage of the definitions get no
# occurrence list (Full Text Search cannot look them up). At 5 that is only the handful of function
# words found in nearly every gloss ("the", "of", "a", "and", "with" ...); the most frequent content
# words of the glosses ("genus", "air") stay below 2.5 %.
common=5

description="QEL default dictionary: words and phrases of WordNet 3.0 (Copyright 2006 by Princeton \
University), with its glosses as definitions, and of a SCOWL-derived British English word list \
(SCOWL, Copyright 2000-2011 by Kevin Atkinson; Debian package wbritish-huge)."

ranker="$script_dir/make-default-ranks.py"
if [ "$force" -eq 0 ] && [ -f "$target" ] && [ -f "${target%.qcd}.qcr" ] &&
   [ "$target" -nt "$0" ] && [ "$target" -nt "$generator" ] && [ "$target" -nt "$ranker" ]; then
  echo "$target is up to date (use --force to rebuild)"
  exit 0
fi

if [ ! -x "$cli" ]; then
  echo "$0: $cli not found; build qel-cli first" >&2
  exit 1
fi
for file in /usr/share/dict/british-english-huge /usr/share/wordnet/index.noun; do
  if [ ! -r "$file" ]; then
    echo "$0: $file not found; install the Debian packages wbritish-huge and wordnet-base" >&2
    exit 1
  fi
done

mkdir -p "$out_dir"
source_file=$(mktemp "${TMPDIR:-/tmp}/qel-default-source.XXXXXX")
ranks_file=$(mktemp "${TMPDIR:-/tmp}/qel-default-ranks.XXXXXX")
partial=$(mktemp --suffix=.qcd "$out_dir/.Devuduvodi.XXXXXX")
trap 'rm -f "$source_file" "$ranks_file" "$partial" "${partial%.qcd}.qcr"' EXIT
trap 'exit 130' INT TERM

started=$(date +%s)
python3 "$generator" "$source_file"
# How common each entry is, from SCOWL's size levels and WordNet's sense counts.
python3 "$ranker" "$source_file" "$ranks_file"
QEL_NO_CACHE=1 "$cli" build --description "$description" --common "$common" --ranks "$ranks_file" \
  "$source_file" "$partial"
chmod 644 "$partial" "${partial%.qcd}.qcr"
mv -f "${partial%.qcd}.qcr" "${target%.qcd}.qcr"
mv -f "$partial" "$target"
echo "$target written in $(( $(date +%s) - started )) s"
