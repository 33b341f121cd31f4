# bash completion for varnopel-split                       -*- shell-script -*-
# Installed as share/bash-completion/completions/varnopel-split, where
# bash-completion loads it on first use. The option list is checked against
# `varnopel-split --help' by a test (tests/packaging).

_varnopel_split()
{
    local cur prev words cword split
    _init_completion -s || return

    # After "--" every word is a file.
    local i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done

    case $prev in
        --sort)
            COMPREPLY=($(compgen -W 'asc desc' -- "$cur"))
            return
            ;;
        --order | --name-order)
            COMPREPLY=($(compgen -W 'numeric dictionary' -- "$cur"))
            return
            ;;
        --eol)
            COMPREPLY=($(compgen -W 'same crlf cr lf' -- "$cur"))
            return
            ;;
        --out)
            _filedir -d
            return
            ;;
        --files | --lines | --head | --header | --seed | --only)
            # A number or a list of numbers: nothing to offer.
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--files --lines --head --deal --reverse
            --shuffle --seed --sort --dedup --order --name-order --out --eol
            --only --header --force --plan --detect --quiet -q --help -h
            --version -V --' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _varnopel_split varnopel-split

# ex: filetype=sh
