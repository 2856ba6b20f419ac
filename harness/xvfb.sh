# Sourced, after scripts/common.sh, by the scripts that need an X server of
# their own.
# start_xvfb DIR: starts Xvfb on a free display (never a fixed number), waits
# until it is ready, and sets XVFB_PID and DISPLAY.
start_xvfb() {
    local dir=$1
    rm -f "$dir/display"
    # Nothing started here may hold the caller's output open: CTest waits for it.
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    within 30 test -s "$dir/display" || { echo "Xvfb did not start" >&2; kill "$XVFB_PID"; return 1; }
    export DISPLAY=:$(cat "$dir/display")
}
