#!/usr/bin/env bash
# Runs a Windows program under Wine, as the cross build's test emulator.
#   wine-run.sh PROGRAM.exe [ARGS...]   inside a session: runs it there; otherwise makes a
#                                       session for this one run
#   wine-run.sh --session COMMAND...    runs COMMAND (ctest, say) inside one session, the
#                                       caller's if there is one
# A session is a fresh temporary WINEPREFIX on a private Xvfb with openbox. Its wineserver is
# started and wineboot run with their output redirected before anything else: Wine's services
# otherwise inherit the caller's pipe, and a ctest reading it never finishes. Every process the
# session starts is stopped by its id.
set -euo pipefail

export WINEDEBUG=${WINEDEBUG:--all}

pids=()
scratch=""

stop_session() {
    if [[ -n ${WINEPREFIX:-} && -n $scratch ]]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    if [[ -n $scratch ]]; then
        rm -rf "$scratch"
    fi
}

start_session() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/tsrl-wine.XXXXXX")
    trap stop_session EXIT
    trap 'exit 130' INT TERM

    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" \
        >"$scratch/xvfb.log" 2>&1 &
    pids+=($!)
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [[ -s $scratch/display ]] && break
        sleep 0.1
    done
    [[ -s $scratch/display ]] || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$scratch/display")"

    openbox >"$scratch/openbox.log" 2>&1 </dev/null &
    pids+=($!)

    export WINEPREFIX=$scratch/prefix
    # No Mono or Gecko: their installers would open dialogs on a fresh prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    wineserver -f -p >"$scratch/wineserver.log" 2>&1 </dev/null &
    pids+=($!)
    wineboot -i >"$scratch/wineboot.log" 2>&1 </dev/null
    # This Wine reads no fonts from its own data directory, so without a copy in the prefix
    # "MS Sans Serif" resolves to a Linux face, not the one a Windows user has.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # TSRL_WINE_DPI=144 gives the session a screen of 144 dots per inch instead of 96.
    if [[ -n ${TSRL_WINE_DPI:-} ]]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
            /d "$TSRL_WINE_DPI" /f >"$scratch/dpi.log" 2>&1 </dev/null
    fi
    unset WINEDLLOVERRIDES
    export TSRL_WINE_SESSION=$scratch
}

if [[ ${1:-} == --session ]]; then
    shift
    if [[ -z ${TSRL_WINE_SESSION:-} ]]; then
        start_session
    fi
    "$@"
    exit
fi

if [[ -z ${TSRL_WINE_SESSION:-} ]]; then
    start_session
fi
wine "$@"
