# bash completion for quillmark-cli                          -*- shell-script -*-
# Stands alone, without bash-completion's helpers, so that it also works when
# sourced by hand.

_quillmark_cli()
{
    local cur="${COMP_WORDS[COMP_CWORD]}"
    local prev=""
    [ "$COMP_CWORD" -gt 0 ] && prev="${COMP_WORDS[COMP_CWORD - 1]}"
    COMPREPLY=()

    # The command is the first word that is not an option's value.
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case "${COMP_WORDS[i]}" in
            --folder | -o | --output | --duplicates | --separator | --encoding | --game | --index | --format) ((i++)) ;;
            catalogue | list | trade | want | export-csv | import-csv | merge | stats | sets | lookup | card-index | prices)
                command="${COMP_WORDS[i]}"; break ;;
        esac
    done

    case "$prev" in
        --folder)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return ;;
        -o | --output | --index)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --duplicates)
            mapfile -t COMPREPLY < <(compgen -W "add skip merge" -- "$cur")
            return ;;
        --encoding)
            mapfile -t COMPREPLY < <(compgen -W "utf-8 windows-1252" -- "$cur")
            return ;;
        --format)
            mapfile -t COMPREPLY < <(compgen -W "quillmark moxfield deckbox" -- "$cur")
            return ;;
        --game)
            mapfile -t COMPREPLY < <(compgen -W "magic pokemon yugioh" -- "$cur")
            return ;;
        --separator)
            return ;;
    esac

    local options
    case "$command" in
        "")
            mapfile -t COMPREPLY < <(compgen -W "catalogue list trade want export-csv import-csv merge stats sets lookup card-index prices --help --version" -- "$cur")
            return ;;
        catalogue | list) options="--folder" ;;
        trade | want) options="--folder --output" ;;
        export-csv) options="--folder -o --raw --format" ;;
        import-csv) options="--folder --duplicates --separator --encoding --preview" ;;
        merge) options="--folder --preview" ;;
        stats) options="--folder --json" ;;
        sets) options="--folder --fetch --json" ;;
        lookup) options="--game --json" ;;
        card-index) options="--index" ;;
        prices) options="--folder --all" ;;
    esac

    if [[ "$cur" == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
    elif [ "$command" = card-index ] && [ "$prev" = card-index ]; then
        mapfile -t COMPREPLY < <(compgen -W "download complete" -- "$cur")
    elif [ "$command" = prices ] && [ "$prev" = prices ]; then
        mapfile -t COMPREPLY < <(compgen -W "refresh" -- "$cur")
    elif [ "$command" = import-csv ] || [ "$command" = merge ]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
complete -F _quillmark_cli quillmark-cli
