#!/usr/bin/env bash
# Builds fortpad and runs every test: a plain build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz target (its
# corpus, then a one-minute search) built with clang, fortpad.exe for x64 and
# for x86 with its suite under Wine, and the browser window with its suite in Chromium, WebKit
# and Firefox. Each is a workflow preset of CMakePresets.json.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${every_test_package[@]}"

cd "$root_dir"
for preset in linux asan fuzz windows windows-x86 web; do
    cmake --workflow --preset "$preset"
done
