#!/usr/bin/env bash
# Saves a picture of the calculator window with its frame, after a small example (200 + 56),
# as docs/screenshot.png, from a private X display.
#   bash scripts/screenshot.sh [BINARY]      BINARY: default build/release/app/tessoral
set -euo pipefail
cd "$(dirname "$0")/.."

binary=${1:-build/release/app/tessoral}
if [[ ! -x $binary ]]; then
    cmake --preset release
    cmake --build --preset release --target tessoral
fi
out=docs/screenshot.png

work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Polls a command until it succeeds, for up to 20 s.
wait_for() {
    local what=$1
    shift
    for _ in $(seq 200); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    echo "screenshot: gave up waiting for $what" >&2
    exit 1
}

# Xvfb takes the first free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for "Xvfb" grep -q . "$work/display"
display=$(head -n1 "$work/display")
export DISPLAY=":$display"
export XDG_CONFIG_HOME=$work XDG_RUNTIME_DIR=$work
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "openbox" wm_ready

QT_QPA_PLATFORM=xcb "$binary" >"$work/tessoral.log" 2>&1 &
pids+=($!)
app=$!
window_of_app() {
    window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n1)
    [[ -n $window ]]
}
wait_for "the calculator window" window_of_app
has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$window" ]]; }
wait_for "the keyboard focus" has_focus

capture() { import -window "$window" -frame -define png:exclude-chunk=date,time "$1"; }

# The focus starts in the first operand, its text selected; Enter moves down the column.
xdotool key --delay 15 2 0 0 Return 5 6 Return
capture "$work/before.png"
# The centre of + (320,128, 27x27 in the client area); then the pointer moves off the buttons.
xdotool mousemove --window "$window" 333 141 click 1 mousemove 0 0
# Done when the window has changed and then holds still between two captures.
capture "$work/last.png"
settled() {
    capture "$work/now.png"
    if ! cmp -s "$work/now.png" "$work/before.png" && cmp -s "$work/now.png" "$work/last.png"; then
        return 0
    fi
    mv "$work/now.png" "$work/last.png"
    return 1
}
wait_for "the result" settled

mkdir -p docs
cp "$work/now.png" "$out"
echo "screenshot: wrote $out ($(identify -format '%wx%h' "$out"))"
