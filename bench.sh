#!/usr/bin/env bash
# Builds fortpad and prints its benchmark figures: a test through the window
# at several list lengths, the reckoning alone, and start-up against a bare
# window with the same widgets.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" libbenchmark-dev

build_tree "$root_dir/build"
"$root_dir/build/bench/bench_number_test"
"$root_dir/build/bench/bench_startup"
