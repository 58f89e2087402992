# Sourced by the end-to-end scripts: a folder of the test's own, the real
# program run under Xvfb with its window found and focused, and a byte for
# byte comparison of the files it leaves.

# Makes a temporary folder the current one, removed when the script ends.
enter_test_folder() {
    folder="$(mktemp -d)"
    trap 'rm -rf "$folder"' EXIT
    cd "$folder"
}

# run_session BINARY STEPS: starts BINARY under Xvfb, on a display number of
# its own so that runs side by side do not race for one, then runs the bash
# script STEPS with $program and $window set, and waits for the program's end.
run_session() {
    xvfb-run -a -n $((100 + RANDOM % 800)) bash "${BASH_SOURCE[0]%/*}/session-start.sh" "$1" "$2"
}

# same_bytes FILE EXPECTED: true when they are equal, else shows how they differ.
same_bytes() {
    cmp -s "$1" "$2" && return 0
    echo "$1 differs:"
    diff <(od -c "$2") <(od -c "$1") || true
    return 1
}
