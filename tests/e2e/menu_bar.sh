#!/usr/bin/env bash
# Runs the real program under Xvfb on three Cards and chooses commands from
# its menu bar as a user would: Edit, Delete with Alt+E and D; Undo with the
# mouse; Redo with Alt+E and R; Tooltips with Alt+V and T; File, Quit with the
# mouse. qmk.dat must then hold the other two Cards and qmk.ini the tips
# switched on, byte for byte.
set -euo pipefail
binary="$1"
source "${0%/*}/session.sh"
enter_test_folder
record() {
    printf 'NAME=%s\r\nSERIES=%s\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n' "$@"
}
# The table shows the file bottom up: Ace, Bolt, Crow.
{ printf 'CREATOR=QMK 1.0\r\n'; record Crow Jungle; printf '\r\n'; record Bolt "Base Set"; printf '\r\n'; record Ace Fossil; } >qmk.dat
{ printf 'CREATOR=QMK 1.0\r\n'; record Crow Jungle; printf '\r\n'; record Ace Fossil; } >expected.dat
printf 'CREATOR=QMK 1.0\r\nNAME=\r\nEMAIL=\r\nADDRESS1=\r\nADDRESS2=\r\nCITY=\r\nSTATE=\r\nCOUNTRY=\r\nCATALOGUE=\r\nLIST=\r\nREPORT=\r\nVALREPORT=\r\nTOOLTIPS=yes\r\n\r\n' >expected.ini

cat > steps.sh <<'SESSION'
sleep 1
# Waits up to ten seconds for a condition.
until_true() {
    for _ in $(seq 100); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    echo "timed out waiting for: $1" >&2
    return 1
}
# The open menu: the program's one shown window besides the main window.
menu() { xdotool search --onlyvisible --classname quillmark | grep -vx "$window" | head -n 1 || true; }
# Opens a menu, by keys or a click on its title, and sends that again only
# if a busy machine let it pass without a menu.
open_menu() {
    for _ in 1 2 3; do
        "$@"
        if until_true '[ -n "$(menu)" ]' 2>/dev/null; then return 0; fi
    done
    echo "no menu opened: $*" >&2
    return 1
}
choose_by_key() {
    open_menu xdotool key alt+"$1"
    xdotool key "$2"
    until_true '[ -z "$(menu)" ]'
}
# A click on the title at x, then on the first or the last entry of the
# menu that opens, whatever the font makes the entries' height.
choose_by_mouse() {
    open_menu xdotool mousemove --window "$window" "$1" 9 click 1
    eval "$(xdotool getwindowgeometry --shell "$(menu)")"
    if [ "$2" = first ]; then y=$((Y + 12)); else y=$((Y + HEIGHT - 12)); fi
    xdotool mousemove "$((X + 30))" "$y"
    sleep 0.3
    xdotool click 1
    until_true '[ -z "$(menu)" ]'
}
holds_bolt() { grep -q 'NAME=Bolt' qmk.dat; }

# The focus starts in the Name field; the table is eight fields on, and Down
# there marks its second row, Bolt. qmk.dat is saved soon after each change.
xdotool key --delay 60 Tab Tab Tab Tab Tab Tab Tab Tab Down
sleep 0.5
choose_by_key e d
until_true '! holds_bolt'
# File, then Edit on its right: Undo is Edit's first entry.
choose_by_mouse 55 first
until_true 'holds_bolt'
choose_by_key e r
until_true '! holds_bolt'
choose_by_key v t
# Quit is the last entry of File, the first title.
choose_by_mouse 12 last
SESSION
run_session "$binary" steps.sh

status=0
same_bytes qmk.dat expected.dat || status=1
same_bytes qmk.ini expected.ini || status=1
[ $status -eq 0 ] && echo "1 passed, 0 failed"
exit $status
