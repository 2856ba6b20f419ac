#!/usr/bin/env bash
# One Wine session for the Windows suite, kept in a folder of the build tree:
#   wine_session.sh start DIR [x86] Xvfb on a free display, a fresh prefix;
#                                   for x86 programs, a skipped session
#                                   where this machine runs no 32-bit program
#   wine_session.sh run DIR PROGRAM [ARGS...]
#   wine_session.sh run_at_dpi DIR DPI PROGRAM [ARGS...]
#   wine_session.sh wait_for_window DIR TITLE   until a window with TITLE shows
#   wine_session.sh stop DIR        ends only what start started
#   wine_session.sh runs_32bit_programs DIR   whether this machine runs x86
#                                   programs (a kernel may have no 32-bit
#                                   emulation)
set -euo pipefail
source "$(dirname "$0")/../scripts/common.sh"
source "$(dirname "$0")/xvfb.sh"

command=$1 dir=$(realpath -m "$2")
shift 2
# No Mono or Gecko prompts, and no menu entries on the host's desktop for
# the shortcuts an installer makes.
# A 64-bit prefix unless the caller asks for a 32-bit one (WINEARCH=win32).
export WINEPREFIX=$dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=${WINEARCH:-win64}
# Wine's loader for 32-bit programs, from wine32:i386. Once it is installed,
# Debian's wine command starts Wine's own programs (reg, start, taskkill,
# wineboot) as 32-bit ones, which see only the 32-bit half of a 64-bit
# prefix: there, everything starts through the 64-bit loader, which hands
# 32-bit programs to the other.
wine32_loader=/usr/lib/wine/wine
wine=wine
[ "$WINEARCH" = win32 ] || wine=/usr/lib/wine/wine64
skipped=77 # CTest's skip code for the suite

stop() {
    [ -f "$dir/session" ] || return 0
    # shellcheck source=/dev/null
    source "$dir/session"
    if [ -z "${SKIPPED:-}" ]; then
        wineserver -k 2>/dev/null || true
        kill "$XVFB_PID" 2>/dev/null || true
    fi
    rm -f "$dir/session"
}

# A kernel built without 32-bit support refuses the loader as no program.
runs_32bit_programs() {
    local status=0
    "$wine32_loader" --version >/dev/null 2>&1 || status=$?
    [ "$status" -ne 126 ]
}

# A 64-bit prefix made before wine32 was installed has an empty 32-bit
# system folder, and no program starts in it: make it afresh.
remove_prefix_without_32bit_system() {
    local wow64_system=$WINEPREFIX/drive_c/windows/syswow64
    if [ "$WINEARCH" = win64 ] && [ -x "$wine32_loader" ] && [ -d "$wow64_system" ] &&
        [ ! -e "$wow64_system/kernel32.dll" ]; then
        echo "remaking the Wine prefix $WINEPREFIX: it was made without 32-bit Windows"
        rm -rf "$WINEPREFIX"
    fi
}

start() {
    stop
    mkdir -p "$dir"
    if [ "${1:-}" = x86 ] && ! runs_32bit_programs; then
        echo "skipped: the x86 suite, as this machine cannot run 32-bit programs"
        echo "SKIPPED=1" >"$dir/session"
        return 0
    fi
    remove_prefix_without_32bit_system
    start_xvfb "$dir"
    printf 'XVFB_PID=%s\nexport DISPLAY=%s\n' "$XVFB_PID" "$DISPLAY" >"$dir/session"
    # Kept running for the whole suite: each program then starts in moments.
    # Nothing started here may hold the caller's output open: CTest waits for it.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    "$wine" wineboot -i </dev/null >"$dir/wineboot.log" 2>&1
    # Wine's dialog font has no Chinese; link a Chinese font to it.
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
    # Without a window manager, Wine waits 2 s on each closing window for
    # one to answer; unmanaged windows close at once.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    set_dpi 96
}

set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}

# Wine 10 takes the monitors' DPI from the setting when the session starts
# (Wine 8 reads it again in each program): the session starts afresh, its
# services and desktop by wineboot, whose output goes nowhere.
restart() {
    wineserver -k || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    "$wine" wineboot </dev/null >/dev/null 2>&1
}

load_session() {
    # shellcheck source=/dev/null
    source "$dir/session"
    [ -z "${SKIPPED:-}" ] || exit $skipped
}

run() {
    load_session
    "$wine" "$@"
}

wait_for_window() {
    # shellcheck source=/dev/null
    source "$dir/session"
    shown() { xprop -name "$1" WM_NAME >/dev/null 2>&1; }
    within 30 shown "$1"
}

case $command in
start) start "$@" ;;
stop) stop ;;
run) run "$@" ;;
wait_for_window) wait_for_window "$@" ;;
runs_32bit_programs) runs_32bit_programs ;;
run_at_dpi)
    # A program reads the screen's DPI when it starts; put it back after.
    dpi=$1
    shift
    load_session
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
