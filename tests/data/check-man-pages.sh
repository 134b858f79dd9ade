#!/usr/bin/env bash
# Each program's manual page, made by help2man from its --help, names the same options as the
# program: every option PROGRAM --help names (for qel-cli, also each "qel-cli COMMAND --help")
# is in BUILD_DIR/man/PROGRAM.1, and the page names no option the help does not, so that a page
# left stale or a section in packaging/man/PROGRAM.h2m that speaks of an option gone is caught.
# Usage: check-man-pages.sh BUILD_DIR
set -euo pipefail
build=$1
if ! command -v help2man >/dev/null; then
  echo "help2man is not installed, so no manual pages were made"
  exit 77
fi

# Option-like words (--name or -x) of a text, one to a line.
options_in() {
  { grep -oE -- '(^|[^[:alnum:]_-])--?[[:alpha:]][[:alnum:]-]*' || true; } | sed -E 's/^[^-]//' |
    LC_ALL=C sort -u
}

# The text of a page without its comments and roff escapes: \- as -, no font changes.
page_text() {
  sed -e '/^\.\\"/d' -e 's/\\-/-/g' -e 's/\\f(CW//g' -e 's/\\f[BIRP]//g' -e 's|\\[,/&%]||g' "$1"
}

fail=0
found=0
for program in qel-cli qel RIDOZAD RAVAZAV; do
  [ -x "$build/$program" ] || continue
  found=1
  page=$build/man/$program.1
  if [ ! -f "$page" ]; then
    echo "$program: no manual page $page (the man-pages target makes it once CMake has found help2man)"
    fail=1
    continue
  fi
  help=$(QT_QPA_PLATFORM=offscreen "$build/$program" --help)
  if [ "$program" = qel-cli ]; then
    commands=$(sed -nE 's/^(Usage:|  +or:)? +qel-cli ([a-z]+) .*/\2/p' <<<"$help")
    for command in $commands; do
      help+=$'\n'$("$build/qel-cli" "$command" --help)
    done
  fi
  help_options=$(options_in <<<"$help")
  page_options=$(page_text "$page" | options_in)
  only=$(LC_ALL=C comm -23 <(echo "$help_options") <(echo "$page_options") | paste -sd ' ')
  [ -z "$only" ] || { echo "$program: --help names $only, $page does not"; fail=1; }
  only=$(LC_ALL=C comm -13 <(echo "$help_options") <(echo "$page_options") | paste -sd ' ')
  [ -z "$only" ] || { echo "$program: $page names $only, --help does not"; fail=1; }
done
[ $found -eq 1 ] || { echo "no program in $build"; exit 1; }
exit $fail
