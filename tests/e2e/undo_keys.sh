#!/usr/bin/env bash
# Starts the real program under Xvfb on three Cards and, with the keyboard
# only, deletes a Card and undoes that from the Delete button, updates a
# Card and undoes that from the field it was typed in, types into a field
# and undoes the typing, and at last deletes another Card; after closing
# with Escape, qmk.dat must be the file it started with less that Card,
# byte for byte.
set -euo pipefail
binary="$1"
source "${0%/*}/session.sh"
enter_test_folder
printf 'CREATOR=QMK 1.0\r\nNAME=Crow\r\nSERIES=Jungle\r\nCONDITION=Poor\r\nYEAR=1999\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n\r\nNAME=Bolt\r\nSERIES=Base Set\r\nCONDITION=Mint\r\nYEAR=2004\r\nPRICE=9.50\r\nQUANTITY=2\r\nURL=\r\nDESCRIPTION=\r\n\r\nNAME=Ace\r\nSERIES=Fossil\r\nCONDITION=Good\r\nYEAR=2001\r\nPRICE=12.00\r\nQUANTITY=10\r\nURL=\r\nDESCRIPTION=\r\n' > qmk.dat
printf 'CREATOR=QMK 1.0\r\nNAME=Bolt\r\nSERIES=Base Set\r\nCONDITION=Mint\r\nYEAR=2004\r\nPRICE=9.50\r\nQUANTITY=2\r\nURL=\r\nDESCRIPTION=\r\n\r\nNAME=Ace\r\nSERIES=Fossil\r\nCONDITION=Good\r\nYEAR=2001\r\nPRICE=12.00\r\nQUANTITY=10\r\nURL=\r\nDESCRIPTION=\r\n' > expected.dat

# The focus starts in the Name field; Tab then goes Series, Condition, Year,
# Price, Quantity, URL, Description, the table, Add, Update, Clear, Delete.
cat > steps.sh <<'SESSION'
sleep 1
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
# Down in the table marks the second row, Bolt; Delete, then Ctrl+Z on the button.
keys $(printf 'Tab %.0s' 1 2 3 4 5 6 7 8) Down
keys Tab Tab Tab Tab space
keys ctrl+z
# The fields show Bolt again: its Year becomes 1990, Update, and back in the
# Year field Ctrl+Z undoes the Update, typed before it as the year was.
keys $(printf 'shift+Tab %.0s' 1 2 3 4 5 6 7 8 9) ctrl+a 1 9 9 0
keys Tab Tab Tab Tab Tab Tab Tab space
keys $(printf 'shift+Tab %.0s' 1 2 3 4 5 6 7) ctrl+z
# Typing in a field is undone there without touching the collection.
keys x ctrl+z
# The mark is on Bolt again: Down in the table moves it to Crow, which goes.
keys Tab Tab Tab Tab Tab Down
keys Tab Tab Tab Tab space
keys Escape
SESSION
run_session "$binary" steps.sh

same_bytes qmk.dat expected.dat || exit 1
echo "1 passed, 0 failed"
