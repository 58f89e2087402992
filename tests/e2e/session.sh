# Sourced by the end-to-end scripts: a folder of the test's own, the real
# program run under Xvfb with its window found and focused, and a byte for
# byte comparison of the files it leaves.

# Makes a temporary folder the current one, removed when the script ends.
enter_test_folder() {
    folder="$(mktemp -d)"
    trap 'rm -rf "$folder"' EXIT
    cd "$folder"
}

# run_session BINARY STEPS: starts BINARY under an Xvfb of its own, then
# runs the bash script STEPS with $program and $window set, and waits for the
# program's end.
run_session() {
    local display status=0
    start_display || return 1
    DISPLAY=":$display" bash "${BASH_SOURCE[0]%/*}/session-start.sh" "$1" "$2" || status=$?
    kill $server
    wait $server 2>/dev/null || true
    return $status
}

# start_display: starts Xvfb on the first display number that is free on the
# machine, neither its lock file nor its socket there, and sets $display and
# $server once it listens there. The server claims the number with its lock
# file; when another run took it between the look and the start, the server
# ends and the next number is tried.
start_display() {
    local number tries
    for number in $(seq 100 999); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
        server=$!
        for tries in $(seq 200); do
            if [ -S "/tmp/.X11-unix/X$number" ] \
                && [ "$(tr -d ' \n' <"/tmp/.X$number-lock" 2>/dev/null)" = "$server" ]; then
                display=$number
                return 0
            fi
            kill -0 $server 2>/dev/null || break
            sleep 0.1
        done
        kill $server 2>/dev/null || true
        wait $server 2>/dev/null || true
    done
    echo "no display number is free for Xvfb"
    return 1
}

# same_bytes FILE EXPECTED: true when they are equal, else shows how they differ.
same_bytes() {
    cmp -s "$1" "$2" && return 0
    echo "$1 differs:"
    diff <(od -c "$2") <(od -c "$1") || true
    return 1
}
