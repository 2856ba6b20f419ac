#!/usr/bin/env bash
# Builds fortpad and starts it.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}"
# Without a font for Chinese the window would show empty boxes.
has_cjk_font || install_missing fonts-wqy-microhei

cd "$root_dir"
build_preset linux --target fortpad
exec "$root_dir/build/src/window/qt/fortpad"
