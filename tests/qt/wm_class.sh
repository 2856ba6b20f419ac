#!/usr/bin/env bash
# wm_class.sh DESKTOP_ENTRY PROGRAM [ARGS...], on an X server (with_x_server.sh): the
# window's WM_CLASS is the one the desktop entry names as StartupWMClass, so
# that a desktop shell matches the window to its menu entry and icon.
source "$(dirname "$0")/../../scripts/common.sh"
entry=$1
app=""
trap 'kill $app 2>/dev/null' EXIT

"${@:2}" </dev/null >/dev/null 2>&1 &
app=$!
title=$(sed -n 's/^Name=//p' "$entry")
wm_class=""
read_wm_class() { wm_class=$(xprop -name "$title" WM_CLASS 2>/dev/null); }
within 30 read_wm_class || true
expected=$(sed -n 's/^StartupWMClass=//p' "$entry")
echo "window: $wm_class; desktop entry: StartupWMClass=$expected"
[ -n "$expected" ] && [[ $wm_class == *", \"$expected\"" ]]
