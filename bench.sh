#!/usr/bin/env bash
# Builds fortpad and prints its benchmark figures: a test through the window
# at several list lengths, the reckoning alone, and start-up against a bare
# window with the same widgets; then the same for fortpad.exe under Wine, and
# for the browser window in headless Chromium against a bare page.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" libbenchmark-dev "${windows_packages[@]}" "${web_packages[@]}"

cd "$root_dir"
build_preset linux
"$root_dir/build/bench/qt/bench_number_reading"
"$root_dir/build/bench/qt/bench_startup"

windows=$root_dir/build-win
build_preset windows
session=$windows/bench-wine
wine_session=$root_dir/harness/wine_session.sh
trap '"$wine_session" stop "$session"' EXIT
"$wine_session" start "$session"
"$wine_session" run "$session" "$windows/bench/win32/bench_number_reading.exe"
"$wine_session" run "$session" "$windows/bench/win32/bench_startup.exe"
echo "fortpad.exe: $(stat -c %s "$windows/src/window/win32/fortpad.exe") bytes"

build_preset web --target site
/usr/bin/python3 "$root_dir/bench/web/bench_page.py" "$root_dir/build-web/site"
