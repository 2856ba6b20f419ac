#!/usr/bin/env bash
# with_x_server.sh COMMAND [ARGS...]: runs COMMAND on an X server of its own,
# through Qt's X11 platform, and returns its exit code.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$root_dir/harness/xvfb.sh"
dir=$(mktemp -d)
XVFB_PID=""
trap 'kill $XVFB_PID 2>/dev/null; rm -rf "$dir"' EXIT
start_xvfb "$dir"
QT_QPA_PLATFORM=xcb "$@"
