# Run by run_session inside Xvfb: PROGRAM STEPS.
set -euo pipefail
"$1" &
program=$!
window=$(timeout 20 xdotool search --sync --name '^Quillmark - Velmora - ' | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
source "$2"
timeout 20 tail --pid=$program -f /dev/null
