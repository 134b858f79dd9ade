#!/usr/bin/env bash
# Fails, naming them, when C++ sources differ from what clang-format makes of them (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if ((${#unformatted[@]})); then
  printf 'not formatted (clang-format -i FILE):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
