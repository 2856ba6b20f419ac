#!/usr/bin/env bash
# Checks the Linux packages and sources on fresh Debian systems, each made
# by debootstrap in build-RELEASE-ARCH/ (scripts/check-on-debian.sh):
# - Debian 13 (trixie): the .deb from ./package.sh installs and starts,
#   ./run.sh builds and starts the program, and the Linux suite passes;
# - Debian 12 (bookworm) on arm64, under qemu-user: the arm64 .deb installs
#   and starts.
# In each, apt resolves every package the two commands install. Needs root
# (it asks sudo otherwise), the network and about ten minutes. Beside the
# arm64 check, it first proves that a check killed outright leaves nothing
# mounted.
source "$(dirname "$0")/scripts/common.sh"
cd "$root_dir"
debs=()
for arch in "$host_arch" arm64; do
    debs+=("$(ls build/*_"$arch".deb 2>/dev/null | head -1)")
    [ -n "${debs[-1]}" ] || { echo "no $arch package in build/: run ./package.sh first"; exit 1; }
done
as_root_again "$@"
# What the checks below install, before they run at once and would both ask
# apt for it.
install_missing $(check_packages arm64)

# The arm64 system, emulated on amd64, is the slower to make and check: it
# starts first, and the other checks run beside it, one mostly building.
scripts/check-on-debian.sh bookworm arm64 "${debs[1]}" &
arm64_check=$!
trap 'kill "$arm64_check" 2>/dev/null || true' EXIT

# Whether a process, in whatever mount namespace, sees the host's /dev
# mounted in the system (a leftover of which a later rm -rf of the checkout
# would empty).
system=$root_dir/build-trixie-$host_arch/system
mounted() { grep -q " $system/dev " /proc/[0-9]*/mountinfo 2>/dev/null; }
unmounted() { ! mounted; }
scripts/check-on-debian.sh trixie "$host_arch" "${debs[0]}" >/dev/null 2>&1 &
check=$!
within 900 mounted || { kill -KILL "$check"; echo "the Debian 13 check mounted nothing"; exit 1; }
kill -KILL "$check"
wait "$check" 2>/dev/null || true
within 10 unmounted || { echo "a Debian 13 check killed outright left its mounts behind"; exit 1; }
echo "a Debian 13 check killed outright leaves nothing mounted"

scripts/check-on-debian.sh trixie "$host_arch" "${debs[0]}"
wait "$arm64_check"
