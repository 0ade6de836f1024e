#!/usr/bin/env bash
# Runs a command on a desktop of its own, as a player on GNOME has it: an X server (Xvfb,
# 1280 x 1024) with the openbox window manager, a session bus, and Qt on the xcb platform told
# that the desktop is GNOME (which sets, for one, the order of dialog buttons).
# Usage: desktop_session.sh COMMAND [ARGUMENT...]; exits with 77 when there is no X server or
# window manager to start, so that CTest counts the test as skipped.
set -euo pipefail
command -v Xvfb >/dev/null && command -v openbox >/dev/null || exit 77

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to five seconds for a file to be written; shows the log and fails otherwise.
await() {
    for _ in $(seq 100); do
        [[ -s "$1" ]] && return 0
        sleep 0.05
    done
    cat "$2" >&2
    exit 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
await "$work/display" "$work/xvfb.log"
export DISPLAY=":$(tr -d '\n' <"$work/display")"

# openbox runs its start-up command once it manages windows.
openbox --sm-disable --config-file /etc/xdg/openbox/rc.xml \
    --startup "sh -c 'echo ready >$work/ready'" >"$work/openbox.log" 2>&1 &
pids+=($!)
await "$work/ready" "$work/openbox.log"

export QT_QPA_PLATFORM=xcb XDG_CURRENT_DESKTOP=GNOME
unset WAYLAND_DISPLAY
set +e
dbus-run-session -- "$@"
status=$?
set -e
exit "$status"
