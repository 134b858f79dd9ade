#!/usr/bin/env bash
# Fails when a core source, or the header beside it, includes a Qt header: the core is standard
# C++ only. Usage: check-core-has-no-qt.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
list=$2/core-sources.txt
[ -s "$list" ] || { echo "no list of core sources in $list"; exit 1; }
found=0
while read -r source; do
  [ -n "$source" ] || continue
  for file in "$source_dir/$source" "$source_dir/${source%.cpp}.h"; do
    [ -f "$file" ] || continue
    if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*(\.h)?[>"])' "$file"; then
      echo "$file includes Qt"
      found=1
    fi
  done
done < "$list"
exit $found
