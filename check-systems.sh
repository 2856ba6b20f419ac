#!/usr/bin/env bash
# Checks the Linux package and sources on a fresh Debian 13, made by
# debootstrap in build-debian13/ (scripts/check-on-debian13.sh): the .deb
# from ./package.sh installs and starts, ./run.sh builds and starts the
# program, and the Linux suite passes. Needs root (it asks sudo otherwise),
# the network and about five minutes. First it proves that a check killed
# outright leaves nothing mounted.
source "$(dirname "$0")/scripts/common.sh"
cd "$root_dir"
deb=$(ls build/*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "no package in build/: run ./package.sh first"; exit 1; }
[ "$(id -u)" -eq 0 ] || exec sudo --preserve-env=CI "$0" "$@"

# Whether a process, in whatever mount namespace, sees the system's /proc
# mounted.
system=$root_dir/build-debian13/system
mounted() { grep -q " $system/proc " /proc/[0-9]*/mountinfo 2>/dev/null; }
unmounted() { ! mounted; }
# within SECONDS COMMAND...: until COMMAND succeeds, for at most SECONDS.
within() {
    local deadline=$((SECONDS + $1))
    until "${@:2}"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

scripts/check-on-debian13.sh "$deb" >/dev/null 2>&1 &
check=$!
within 900 mounted || { kill -KILL "$check"; echo "the Debian 13 check mounted nothing"; exit 1; }
kill -KILL "$check"
wait "$check" 2>/dev/null || true
within 10 unmounted || { echo "a Debian 13 check killed outright left its mounts behind"; exit 1; }
echo "a Debian 13 check killed outright leaves nothing mounted"

scripts/check-on-debian13.sh "$deb"
