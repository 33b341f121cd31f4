#!/usr/bin/env bash
# check_man_page.sh PROGRAM PAGE
# The manual page and the program's --help must name the same options and the
# same exit statuses, and groff must have nothing to say about the page.
# Exits 77 (skipped) when groff is missing.
set -euo pipefail
program=$1
page=$2

command -v groff >/dev/null || { echo "groff is not installed"; exit 77; }

status=0
lint=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$lint" ]; then
  echo "groff -man -ww -z $page:"
  echo "$lint"
  status=1
fi

# No display: a program that opened a window instead of answering fails.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --help)

# Option names: -x and --word, standing at the start of a word (not the
# hyphen in "UTF-8", "5-7" or "command-line"). A bare "--" is not counted.
options() {
  grep -oE '(^|[^[:alnum:]_-])--?[[:alpha:]][[:alnum:]-]*' | sed -E 's/^[^-]*//' | sort -u
}

# The page's source as plain text: roff hyphens, font changes and escapes gone.
plain=$(sed -E -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\[&e]//g' "$page")
section() {  # the lines of one .SH section of the page
  awk -v want="$1" '/^\.SH/ { sub(/^\.SH +/, ""); gsub(/"/, ""); inside = ($0 == want); next } inside' <<<"$plain"
}

help_options=$(options <<<"$help")
page_options=$(section OPTIONS | options)

# Exit statuses: in --help the numbers that open the lines under "Exit
# status:"; on the page the tags of the EXIT STATUS section.
help_exits=$(awk '/^Exit status:/ { inside = 1; next } inside && /^[^ ]/ { inside = 0 }
                  inside && /^ +[0-9]+  / { print $1 }' <<<"$help" | sort -u)
page_exits=$(section "EXIT STATUS" | awk 'tag && /^\.B +[0-9]+$/ { print $2 } { tag = /^\.TP/ }' | sort -u)

compare() {  # what, in --help, on the page
  local only_help only_page
  only_help=$(comm -23 <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed '/^$/d')
  only_page=$(comm -13 <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed '/^$/d')
  if [ -n "$only_help" ]; then
    echo "$1 in --help but not on $page:" $only_help
    status=1
  fi
  if [ -n "$only_page" ]; then
    echo "$1 on $page but not in --help:" $only_page
    status=1
  fi
}
[ -n "$help_options" ] || { echo "no options found in $program --help"; status=1; }
compare options "$help_options" "$page_options"
compare "exit statuses" "$help_exits" "$page_exits"

[ "$status" -eq 0 ] && echo "$(basename "$page"): $(wc -w <<<"$help_options") options and $(wc -w <<<"$help_exits") exit statuses agree with --help"
exit "$status"
