#!/usr/bin/env bash
# check_completion.sh PROGRAM BASH_COMPLETION ZSH_COMPLETION
# Runs the bash completion function on typed command lines and checks what it
# offers; checks that both completions know the options of PROGRAM --help.
# Exits 77 (skipped) when bash-completion is not installed.
program=$(realpath "$1")
bash_completion=$(realpath "$2")
zsh_completion=$(realpath "$3")

framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || { echo "bash-completion is not installed"; exit 77; }
# shellcheck disable=SC1090
source "$framework"
# shellcheck disable=SC1090
source "$bash_completion"
set -uo pipefail

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch a.txt b.csv -- --odd.txt

# offers LINE: what the completion offers with the cursor at the end of
# "varnopel-split LINE". Words are split as bash splits them, "=" standing
# alone ("--sort=d" is "--sort" "=" "d").
offers() {
  COMP_LINE="varnopel-split $1"
  COMP_POINT=${#COMP_LINE}
  COMP_WORDS=()
  local word
  for word in $COMP_LINE; do
    while [[ $word == *=* ]]; do
      COMP_WORDS+=("${word%%=*}" =)
      word=${word#*=}
    done
    COMP_WORDS+=("$word")
  done
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _varnopel_split varnopel-split "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//'
}

# typed after "varnopel-split " (the cursor at its end) | expected offers, sorted
cases=(
  "--sort |asc desc"
  "--sort=d|desc"
  "--order |dictionary numeric"
  "--name-order n|numeric"
  "--eol c|cr crlf"
  "--eol |cr crlf lf same"
  "--out |sub"
  "--files |"
  "--only |"
  "--fi|--files"
  "--he|--head --header --help"
  "|--odd.txt a.txt b.csv sub"
  "--files 3 a|a.txt"
  "--files 3 -- --|--odd.txt"
)
for c in "${cases[@]}"; do
  got=$(offers "${c%%|*}")
  if [ "$got" != "${c#*|}" ]; then
    echo "varnopel-split ${c%%|*}<TAB>: offers [$got], expected [${c#*|}]"
    status=1
  fi
done

# The options offered for "-" and named in the zsh completion are those of --help.
options() {
  grep -oE '(^|[^[:alnum:]_-])--?[[:alpha:]][[:alnum:]-]*' | sed -E 's/^[^-]*//' | sort -u
}
help_options=$("$program" --help | options)
bash_options=$(offers - | tr ' ' '\n' | grep -vx -- '--' | sort -u)
zsh_options=$(sed '1,/^_arguments/d' "$zsh_completion" | options)  # the option specs
for pair in "bash:$bash_options" "zsh:$zsh_options"; do
  diff_out=$(diff <(printf '%s\n' "$help_options") <(printf '%s\n' "${pair#*:}"))
  if [ -n "$diff_out" ]; then
    echo "options of --help (<) and of the ${pair%%:*} completion (>) differ:"
    echo "$diff_out"
    status=1
  fi
done

[ "$status" -eq 0 ] && echo "${#cases[@]} command lines complete as expected; both completions know the $(wc -l <<<"$help_options") options"
exit "$status"
