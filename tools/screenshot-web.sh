#!/usr/bin/env bash
# Renders docs/screenshot-web.png and docs/screenshot-phone.png: the browser
# window after a few sample tests, at the form's size and on a phone.
source "$(dirname "$0")/../scripts/common.sh"

install_missing "${web_packages[@]}"

cd "$root_dir"
build_preset web --target site
/usr/bin/python3 "$root_dir/tools/web/screenshot.py" "$root_dir/build-web/site" \
    "$root_dir/docs/screenshot-web.png" "$root_dir/docs/screenshot-phone.png"
