#!/usr/bin/env bash
# Runs the real program under Xvfb on four Cards and uses the filter bar as a
# user would, from the keyboard: Ctrl+F, typing, Enter, an Update and a
# Delete on the Cards shown, then Escape to close; qmk.dat must hold every
# other Card, byte for byte.
set -euo pipefail
binary="$1"
source "${0%/*}/session.sh"
enter_test_folder

# The file keeps the bottom row first: the table shows Crow, Sky Dragon, Ember Drake, Frost Golem.
record() {
    printf 'NAME=%s\r\nSERIES=%s\r\nCONDITION=\r\nYEAR=%s\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=%s\r\n' "$@"
}
{
    printf 'CREATOR=QMK 1.0\r\n'; record "Frost Golem" "Frostvale" 1999 "cold"
    printf '\r\n'; record "Ember Drake" "Skyforge" 2004 "warm"
    printf '\r\n'; record "Sky Dragon" "Base Set" 2001 "old"
    printf '\r\n'; record "Crow" "Jungle" 1999 ""
} >qmk.dat
{
    printf 'CREATOR=QMK 1.0\r\n'; record "Frost Golem" "Frostvale" 1999 "cold"
    printf '\r\n'; record "Sky Dragon" "Base Set" 2001 "updated"
    printf '\r\n'; record "Crow" "Jungle" 1999 ""
} >expected.dat

cat > steps.sh <<'SESSION'
# Keys go to the focused window as typed keys do; the window first settles.
sleep 1
keys() { xdotool key --delay 60 "$@"; sleep 0.5; }
# Sky Dragon is the first Card "sky" shows; Enter reads it. Its description is
# two fields back: the table, then the Description field.
keys ctrl+f
xdotool type --delay 60 'sky'; sleep 0.5
keys Return shift+Tab shift+Tab ctrl+a
xdotool type --delay 60 'updated'; sleep 0.5
# Forward past the table and the bar to Add, then Update.
keys Tab Tab Tab Tab space
# The bar again: "ember" replaces "sky"; Enter marks Ember Drake, and Delete,
# four buttons on from the bar, removes it.
keys ctrl+f
xdotool type --delay 60 'ember'; sleep 0.5
keys Return Tab Tab Tab Tab space Escape
SESSION
run_session "$binary" steps.sh

same_bytes qmk.dat expected.dat || exit 1
echo "1 passed, 0 failed"
