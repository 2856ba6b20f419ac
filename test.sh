#!/usr/bin/env bash
# Builds fortpad and runs every test: a plain build, the same cross-built for
# arm64 with its suite under qemu-user, the suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz target (its corpus, then a one-minute
# search) built with clang, fortpad.exe for x64 and for x86 with its suite
# under Wine, and the browser window with its suite in Chromium, WebKit and
# Firefox. Each is a workflow preset of CMakePresets.json. On arm64 the
# arm64 cross build and the Windows suites are skipped.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${every_test_package[@]}"

cd "$root_dir"
[ "$host_arch" = amd64 ] ||
    echo "skipped: the Windows suites (Wine on $host_arch cannot run x86 programs) and the arm64 cross build"
# The browser suite waits on its browsers far more than it computes: it
# runs beside the fuzz search (one core) and the Windows suites (which wait
# on Wine), in a process group of its own that ends with this script; its
# output follows theirs.
for preset in "${test_presets[@]}"; do
    [ "$preset" != fuzz ] || start_beside cmake --workflow --preset web
    cmake --workflow --preset "$preset"
done
finish_beside
