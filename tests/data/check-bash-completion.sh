#!/usr/bin/env bash
# The bash completion of qel-cli: what a table of command lines completes to (alone, and with
# bash-completion loaded when it is installed), and, so that the completion and the program
# cannot drift apart, that it completes the commands "qel-cli --help" names and, after each
# command, exactly the options "qel-cli COMMAND --help" names.
# Usage: check-bash-completion.sh QEL_CLI [COMPLETION_FILE]
set -euo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
completion=${2:-$(cd "$(dirname "$0")/../../packaging" && pwd)/qel-cli.bash-completion}
# shellcheck source=/dev/null
source "$completion"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
mkdir words
touch a.qcd b.QCD c.txt

# What a command line completes to, sorted, on one line: the cursor is at the end of the line,
# in its last word (an empty one after a trailing space).
completions() {
  local COMP_WORDS COMP_CWORD COMP_LINE=$1 COMP_POINT=${#1} COMPREPLY=()
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _qel_cli
  ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd ' '
}

fail=0

# command line|what it completes to
cases=$(
  cat <<'EOF'
qel-cli |anagrams build define fulltext info list search
qel-cli se|search
qel-cli --v|--version
qel-cli search --no-a|--no-annotations
qel-cli search --mode |active independent suppress
qel-cli fulltext --mode i|independent
qel-cli build --encoding |cp1252 utf-8
qel-cli fulltext --s|--sequential --shortest --sort
qel-cli search --s|--shortest --sort
qel-cli search --at |
qel-cli search --sort |
qel-cli search --at --mode ';lobikes' |a.qcd b.QCD words
qel-cli fulltext -- --mode |a.qcd b.QCD words
qel-cli info a.qcd |a.qcd b.QCD words
qel-cli build |a.qcd b.QCD c.txt words
qel-cli build --shortest 3 c.txt |a.qcd b.QCD words
qel-cli build c.txt out.qcd |
qel-cli list --length 5 |a.qcd b.QCD words
qel-cli define |
qel-cli define crossword w|words
qel-cli anagrams --contains |
qel-cli anagrams --words 2 dormitory |a.qcd b.QCD words
qel-cli anagrams --p|--pattern --phrases
qel-cli unknown |
EOF
)
check_cases() {
  local line expected got
  while IFS='|' read -r line expected; do
    got=$(completions "$line")
    [[ $got == "$expected" ]] && continue
    echo "\"$line\" completes to \"$got\", not \"$expected\"$1"
    fail=1
  done <<<"$cases"
}
check_cases ""
# In a terminal bash-completion is loaded, and its own function completes the file names.
bash_completion=/usr/share/bash-completion/bash_completion
if [[ -r $bash_completion ]]; then
  # shellcheck source=/dev/null
  source "$bash_completion"
  check_cases " with $bash_completion loaded"
fi

# Option-like words (--name or -x) of a text but --help, one to a line.
options_in() {
  { grep -oE -- '(^|[^[:alnum:]_-])--?[[:alpha:]][[:alnum:]-]*' || true; } | sed -E 's/^[^-]//' |
    { grep -vx -- --help || true; } | LC_ALL=C sort -u
}

# Says which words are in one list only.
compare() {
  local what=$1 help=$2 completed=$3 only
  only=$(LC_ALL=C comm -23 <(echo "$help") <(echo "$completed") | paste -sd ' ')
  [[ -z $only ]] || { echo "$what: --help names $only, the completion does not"; fail=1; }
  only=$(LC_ALL=C comm -13 <(echo "$help") <(echo "$completed") | paste -sd ' ')
  [[ -z $only ]] || { echo "$what: the completion offers $only, --help does not name it"; fail=1; }
}

commands=$("$cli" --help | sed -nE 's/^(Usage:|  +or:)? +qel-cli ([a-z]+) .*/\2/p' | LC_ALL=C sort)
compare "qel-cli commands" "$commands" "$(completions 'qel-cli ' | tr ' ' '\n')"
for command in $commands; do
  compare "qel-cli $command" "$("$cli" "$command" --help | options_in)" \
    "$(completions "qel-cli $command -" | tr ' ' '\n' | options_in)"
done
exit $fail
