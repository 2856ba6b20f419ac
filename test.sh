#!/usr/bin/env bash
# Builds fortpad and runs every test: a plain build and one under
# AddressSanitizer and UndefinedBehaviorSanitizer.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" binutils-mingw-w64-x86-64

build_tree "$root_dir/build"
ctest --test-dir "$root_dir/build" --output-on-failure -j2

build_tree "$root_dir/build-asan" -DFORTPAD_SANITIZE=ON
ctest --test-dir "$root_dir/build-asan" --output-on-failure -j2
