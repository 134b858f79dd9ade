#!/usr/bin/env bash
# The window programs answer --help and --version on the terminal, without a display, naming
# themselves rather than the path they were started from, and refuse arguments they cannot use.
set -uo pipefail
build=$1
fail=0
for program in qel RIDOZAD RAVAZAV; do
  version=$(env -u DISPLAY "$build/$program" --version 2>/dev/null)
  [ "$version" = "$program 2.5" ] || { echo "$program --version: '$version'"; fail=1; }
  help=$(env -u DISPLAY "$build/$program" --help 2>/dev/null)
  case "$help" in
    "Usage: $program [options]"*) ;;
    *) echo "$program --help: '$(head -1 <<<"$help")'"; fail=1 ;;
  esac
  QT_QPA_PLATFORM=offscreen "$build/$program" --no-such-option >/dev/null 2>&1
  [ $? -eq 2 ] || { echo "$program --no-such-option did not exit 2"; fail=1; }
done
QT_QPA_PLATFORM=offscreen "$build/RIDOZAD" a.txt b.qcd c.qcd >/dev/null 2>&1
[ $? -eq 2 ] || { echo "RIDOZAD with three files did not exit 2"; fail=1; }
exit $fail
