#!/usr/bin/env bash
# Builds the packages and checks them: the .debs (scripts/package-debian.sh)
# and the Windows zips and installer (scripts/package-windows.sh), every
# file in them dated by the last commit. The name and version are the CMake
# project's. It needs no root once its packages are installed.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" dpkg-dev file desktop-file-utils appstream lintian \
    "${windows_packages[@]}" "${arm64_packages[@]}" nsis python3

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root_dir" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$SOURCE_DATE_EPOCH" ] && export SOURCE_DATE_EPOCH
# The two halves build, then mostly wait (on lintian and qemu, on NSIS and
# Wine): they run side by side, the Windows half in a process group of its
# own that ends with this script, its output after the .debs'.
start_beside "$root_dir/scripts/package-windows.sh"
"$root_dir/scripts/package-debian.sh"
finish_beside
