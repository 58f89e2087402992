#!/usr/bin/env bash
# Starts the real program under Xvfb in an empty folder, closes it with the
# Escape key, and checks the two files it must leave behind.
set -euo pipefail
binary="$1"
source "${0%/*}/session.sh"
enter_test_folder

cat > steps.sh <<'SESSION'
# A busy machine may deliver the first key before the window takes the
# focus; the key is sent again until the program has ended.
for attempt in $(seq 40); do
    kill -0 $program 2>/dev/null || break
    xdotool key --window "$window" Escape 2>/dev/null || true
    sleep 0.5
done
SESSION
run_session "$binary" steps.sh

expected_ini=$(printf 'CREATOR=QMK 1.0\r\nNAME=\r\nEMAIL=\r\nADDRESS1=\r\nADDRESS2=\r\nCITY=\r\nSTATE=\r\nCOUNTRY=\r\nCATALOGUE=\r\nLIST=\r\nREPORT=\r\nVALREPORT=\r\nTOOLTIPS=\r\n\r\n' | od -An -tx1)
actual_ini=$(od -An -tx1 qmk.ini)
if [ "$expected_ini" != "$actual_ini" ]; then
    echo "qmk.ini differs:"; od -c qmk.ini; exit 1
fi
if [ -s qmk.dat ] || [ ! -f qmk.dat ]; then
    echo "qmk.dat should exist and be empty"; ls -l; exit 1
fi
echo "1 passed, 0 failed"
