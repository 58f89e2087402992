#!/usr/bin/env bash
# Runs quillmark-cli's bash completion on typed command lines and compares
# what it offers; the last word of each line is the one being completed.
# No -e: compopt fails outside a real completion, and the function lets it.
set -uo pipefail
# shellcheck source=/dev/null
source "${1:?usage: $0 quillmark-cli.bash}"

folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/binder" "$folder/list"
touch "$folder/cards.csv" "$folder/binder.txt"
cd "$folder" || exit 1

failed=0
passed=0
expect() {
    local line="$1" wanted="$2"
    read -r -a COMP_WORDS <<<"$line"
    if [[ "$line" == *" " ]]; then COMP_WORDS+=(""); fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _quillmark_cli
    local got
    got="$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ')"
    got="${got% }"
    if [ "$got" = "$wanted" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: '$line' offers '$got', expected '$wanted'"
        failed=$((failed + 1))
    fi
}

expect "quillmark-cli " "--help --version card-index catalogue export-csv import-csv list lookup merge prices sets stats trade want"
expect "quillmark-cli ex" "export-csv"
expect "quillmark-cli catalogue -" "--folder --help"
expect "quillmark-cli want -" "--folder --help --output"
expect "quillmark-cli trade --output b" "binder binder.txt"
expect "quillmark-cli t" "trade"
expect "quillmark-cli se" "sets"
expect "quillmark-cli export-csv -" "--folder --format --help --raw -o"
expect "quillmark-cli export-csv --format m" "moxfield"
expect "quillmark-cli export-csv --r" "--raw"
expect "quillmark-cli import-csv cards.csv --" "--duplicates --encoding --folder --help --preview --separator"
expect "quillmark-cli merge --" "--folder --help --preview"
expect "quillmark-cli merge c" "cards.csv"
expect "quillmark-cli stats --" "--folder --help --json"
expect "quillmark-cli sets --" "--fetch --folder --help --json"
expect "quillmark-cli import-csv x --duplicates " "add merge skip"
expect "quillmark-cli import-csv x --encoding w" "windows-1252"
expect "quillmark-cli import-csv x --separator " ""
# Folders only after --folder; files and folders after -o and for import-csv.
expect "quillmark-cli list --folder b" "binder"
expect "quillmark-cli export-csv -o b" "binder binder.txt"
expect "quillmark-cli import-csv c" "cards.csv"
# A folder named like a command is a value, not the command.
expect "quillmark-cli --folder list " "--help --version card-index catalogue export-csv import-csv list lookup merge prices sets stats trade want"
expect "quillmark-cli stats c" ""
expect "quillmark-cli lookup --" "--game --help --json"
expect "quillmark-cli lookup --game p" "pokemon"
expect "quillmark-cli card-index " "complete download"
expect "quillmark-cli card-index --" "--help --index"
expect "quillmark-cli prices " "refresh"
expect "quillmark-cli prices refresh --" "--all --folder --help"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
