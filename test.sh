#!/usr/bin/env bash
# Builds fortpad and runs every test: a plain build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz target (its
# corpus, then a one-minute search) built with clang, fortpad.exe with its
# suite under Wine, and the browser window with its suite in headless
# Chromium. Each is a workflow preset of CMakePresets.json.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}"

cd "$root_dir"
for preset in linux asan fuzz windows web; do
    cmake --workflow --preset "$preset"
done
