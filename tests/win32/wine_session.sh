#!/usr/bin/env bash
# One Wine session for the Windows suite, kept in a folder of the build tree:
#   wine_session.sh start DIR       Xvfb on a free display, a fresh prefix
#   wine_session.sh run DIR PROGRAM [ARGS...]
#   wine_session.sh run_at_dpi DIR DPI PROGRAM [ARGS...]
#   wine_session.sh wait_for_window DIR TITLE   until a window with TITLE shows
#   wine_session.sh stop DIR        ends only what start started
set -euo pipefail
source "$(dirname "$0")/../xvfb.sh"

command=$1 dir=$(realpath -m "$2")
shift 2
# No Mono or Gecko prompts, and no menu entries on the host's desktop for
# the shortcuts an installer makes.
export WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64

stop() {
    [ -f "$dir/session" ] || return 0
    # shellcheck source=/dev/null
    source "$dir/session"
    wineserver -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$dir/session"
}

start() {
    stop
    mkdir -p "$dir"
    start_xvfb "$dir"
    printf 'XVFB_PID=%s\nexport DISPLAY=%s\n' "$XVFB_PID" "$DISPLAY" >"$dir/session"
    # Kept running for the whole suite: each program then starts in moments.
    # Nothing started here may hold the caller's output open: CTest waits for it.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot -i </dev/null >"$dir/wineboot.log" 2>&1
    # Wine's dialog font has no Chinese; link a Chinese font to it.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
    # Without a window manager, Wine waits 2 s on each closing window for
    # one to answer; unmanaged windows close at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    set_dpi 96
}

set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}

# Wine 10 takes the monitors' DPI from the setting when the session starts
# (Wine 8 reads it again in each program): the session starts afresh, its
# services and desktop by wineboot, whose output goes nowhere.
restart() {
    wineserver -k || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >/dev/null 2>&1
}

run() {
    # shellcheck source=/dev/null
    source "$dir/session"
    wine "$@"
}

wait_for_window() {
    # shellcheck source=/dev/null
    source "$dir/session"
    for _ in $(seq 300); do
        xprop -name "$1" WM_NAME >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

case $command in
start) start ;;
stop) stop ;;
run) run "$@" ;;
wait_for_window) wait_for_window "$@" ;;
run_at_dpi)
    # A program reads the screen's DPI when it starts; put it back after.
    dpi=$1
    shift
    source "$dir/session"
    set_dpi "$dpi"
    restart
    status=0
    FORTPAD_TEST_DPI=$dpi run "$@" || status=$?
    set_dpi 96
    restart
    exit "$status"
    ;;
*) echo "unknown command $command" >&2; exit 2 ;;
esac
