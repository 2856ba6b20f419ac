#!/usr/bin/env bash
# check-on-debian13.sh DEB: fortpad on a fresh Debian 13 (trixie), made by
# debootstrap in build-debian13/system/ and entered with chroot:
# - the .deb DEB installs with apt-get and shows its window on an X server;
# - ./run.sh installs what it needs, builds the program and starts it;
# - the linux workflow's suite passes against Debian 13's Qt;
# - the browser window builds with Debian 13's clang, importing nothing the
#   page does not give, and the fuzz target builds too;
# - every package ./test.sh asks for exists there.
# Needs root (it asks sudo otherwise). It runs in mount and process
# namespaces of its own: its mounts (/proc and /dev in the system) and every
# process it started end with it, however it ends, even killed outright. A
# passing check removes the system; a failing one keeps it, and its logs.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exec sudo --preserve-env=CI "$0" "$@"
source "$(dirname "$0")/common.sh"
install_missing debootstrap xvfb
[ -n "${FORTPAD_IN_NAMESPACE:-}" ] || FORTPAD_IN_NAMESPACE=1 exec unshare --mount --propagation private \
    --pid --fork --kill-child --mount-proc "$0" "$@"
source "$root_dir/tests/xvfb.sh"

deb=$(realpath "$1")
folder=$root_dir/build-debian13
system=$folder/system
sources=/src/fortpad
trap 'exit 130' INT TERM

# "${in_system[@]}" COMMAND...: runs COMMAND in the chroot with a clean
# environment.
in_system=(chroot "$system" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    HOME=/root LANG=C.UTF-8 CI="${CI:-}" DEBIAN_FRONTEND=noninteractive)

# logged NAME COMMAND...: runs COMMAND, for at most half an hour, with its
# output in NAME.log, shown if it fails.
logged() {
    timeout 1800 "${@:2}" >"$folder/$1.log" 2>&1 ||
        { tail -30 "$folder/$1.log"; echo "failed on Debian 13: ${*:2}"; return 1; }
}

rm -rf --one-file-system "$folder"
mkdir -p "$system"
echo "Making a Debian 13 system in $system"
logged debootstrap debootstrap --variant=minbase trixie "$system"
mount -t proc proc "$system/proc"
mount --bind /dev "$system/dev"
# No terminal for dpkg's output: /dev/pts is not mounted.
echo 'Dpkg::Use-Pty "0";' >"$system/etc/apt/apt.conf.d/90no-pty"

# The package, as a user installs a download, then its window on an X server
# (reached through its abstract socket): still there after two seconds.
cp "$deb" "$system/root/"
logged update "${in_system[@]}" apt-get update
logged install "${in_system[@]}" sh -c "cd /root && apt-get install -y ./$(basename "$deb")"
start_xvfb "$folder"
status=0
"${in_system[@]}" DISPLAY="$DISPLAY" timeout 2 fortpad || status=$?
[ "$status" -eq 124 ] || { echo "the package's fortpad did not start on Debian 13 (exit $status)"; exit 1; }
echo "Debian 13: the package installs and starts ($SECONDS s)"

# ./run.sh from a copy of the sources: it has started when its process has
# become the program, and still runs two seconds later.
mkdir -p "$system$sources"
copy_sources "$system$sources"
"${in_system[@]}" DISPLAY="$DISPLAY" "$sources/run.sh" >"$folder/run.log" 2>&1 &
run=$!
deadline=$((SECONDS + 1200))
until [ "$(cat "/proc/$run/comm" 2>/dev/null)" = fortpad ]; do
    kill -0 "$run" 2>/dev/null || { tail -20 "$folder/run.log"; echo "./run.sh failed on Debian 13"; exit 1; }
    ((SECONDS < deadline)) || { tail -20 "$folder/run.log"; echo "./run.sh did not start fortpad in 20 minutes"; exit 1; }
    sleep 0.5
done
sleep 2
kill "$run" 2>/dev/null || { echo "./run.sh's fortpad ended on its own on Debian 13"; exit 1; }
wait "$run" || true
echo "Debian 13: ./run.sh builds and starts fortpad ($SECONDS s)"

# What the suite and the builds need; ./test.sh's every package, as names apt
# resolves (with the architectures some of them are for).
logged packages "${in_system[@]}" bash -c "source $sources/scripts/common.sh &&
    add_architectures \"\${every_test_package[@]}\" && apt-get update &&
    apt-get install --simulate \"\${every_test_package[@]}\" &&
    install_missing \"\${test_packages[@]}\" \"\${fuzz_packages[@]}\" \"\${wasm_packages[@]}\""
timeout 1800 "${in_system[@]}" bash -c "cd $sources && cmake --workflow --preset linux"
logged builds "${in_system[@]}" bash -c "cd $sources && source scripts/common.sh && build_preset fuzz && build_preset web"
# The page gives the module no system interface: a newer libc++ must not
# bring one in.
module=$system$sources/build-web/site/fortpad.wasm
[ -s "$module" ] || { echo "Debian 13 built no fortpad.wasm"; exit 1; }
! grep -q wasi_snapshot_preview1 "$module" ||
    { echo "Debian 13's fortpad.wasm imports WASI functions, which the page does not give"; exit 1; }
echo "Debian 13: the linux suite passes, the fuzz target and the browser window build ($SECONDS s)"

# Passed: the system's gigabytes go, the logs stay.
kill "$XVFB_PID"
umount "$system/dev" "$system/proc"
rm -rf --one-file-system "$system"
