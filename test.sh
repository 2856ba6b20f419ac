#!/usr/bin/env bash
# Builds fortpad and runs every test: a plain build, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz target (its
# corpus, then a one-minute search) built with clang, and fortpad.exe with
# its suite under Wine.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}"

build_tree "$root_dir/build"
ctest --test-dir "$root_dir/build" --output-on-failure -j2

build_tree "$root_dir/build-asan" -DFORTPAD_SANITIZE=ON
ctest --test-dir "$root_dir/build-asan" --output-on-failure -j2

build_tree "$root_dir/build-fuzz" -DFORTPAD_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
ctest --test-dir "$root_dir/build-fuzz" --output-on-failure --verbose

build_tree "$root_dir/build-win" -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain"
ctest --test-dir "$root_dir/build-win" --output-on-failure -j2
