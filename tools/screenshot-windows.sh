#!/usr/bin/env bash
# Renders docs/screenshot-windows.png: fortpad.exe after a few sample tests,
# in a Wine desktop that draws Windows-style frames.
source "$(dirname "$0")/../scripts/common.sh"

install_missing "${windows_packages[@]}" fonts-wine python3

windows=$root_dir/build-win
cd "$root_dir"
build_preset windows --target fortpad_screenshot
session=$windows/screenshot-wine
wine_session=$root_dir/harness/wine_session.sh
trap '"$wine_session" stop "$session"' EXIT
"$wine_session" start "$session"
# The title bar's buttons are drawn with Marlett, which Debian's Wine does
# not find in fonts-wine's folder by itself.
cp /usr/share/wine/fonts/marlett.ttf "$session/prefix/drive_c/windows/Fonts/"
"$wine_session" run "$session" explorer /desktop=fortpad,760x420 \
    "$windows/tools/win32/fortpad_screenshot.exe" 'C:\screenshot.bmp'
python3 "$root_dir/tools/bmp-to-png.py" "$session/prefix/drive_c/screenshot.bmp" "$root_dir/docs/screenshot-windows.png"
echo "wrote docs/screenshot-windows.png"
