#!/usr/bin/env bash
# Under an X server: starts the editor (the command line given), waits for its main window,
# ends it through File > Exit(&X) as a user would, and exits with the editor's own status.
set -euo pipefail

"$@" &
editor=$!

running() { kill -0 "$editor" 2>/dev/null; }

if ! window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Tamo Editor'); then
    echo "the editor showed no main window" >&2
    kill "$editor" 2>/dev/null || true
    exit 1
fi
# The menu opens a moment after Alt+F; a key that came too early is lost, so try again.
for attempt in 1 2 3 4 5; do
    xdotool windowfocus --sync "$window" key --clearmodifiers alt+f
    sleep 0.5
    xdotool key x
    for _ in $(seq 20); do
        running || break
        sleep 0.1
    done
    running || break
    xdotool key Escape
done
if running; then
    echo "File > Exit did not end the editor" >&2
    kill "$editor"
    exit 1
fi
wait "$editor"
