#!/usr/bin/env bash
# check-on-debian.sh RELEASE ARCH DEB: fortpad on a fresh Debian RELEASE
# (bookworm, trixie) for ARCH (amd64, arm64), made by debootstrap in
# build-RELEASE-ARCH/system/ and entered with chroot; another architecture's
# system runs under qemu-user through a binfmt_misc handler registered for
# the check alone.
# - the .deb DEB installs with apt-get and shows its window on an X server;
# - every package the two commands ask for exists there;
# - for the build machine's own architecture also: ./run.sh installs what it
#   needs, builds the program and starts it; the linux workflow's suite
#   passes; the browser window builds, importing nothing the page does not
#   give, and the fuzz target builds too.
# Needs root (it asks sudo otherwise). It runs in mount and process
# namespaces of its own: its mounts (/proc and /dev in the system) and every
# process it started end with it, however it ends, even killed outright. A
# passing check removes the system; a failing one keeps it, and its logs.
source "$(dirname "$0")/common.sh"
as_root_again "$@"
release=$1 arch=$2
foreign=$([ "$arch" = "$host_arch" ] || echo yes)
install_missing $(check_packages "$arch")
[ -n "${FORTPAD_IN_NAMESPACE:-}" ] || FORTPAD_IN_NAMESPACE=1 exec unshare --mount --propagation private \
    --pid --fork --kill-child --mount-proc "$0" "$@"
source "$root_dir/harness/xvfb.sh"

deb=$(realpath "$3")
name="Debian $release ($arch)"
folder=$root_dir/build-$release-$arch
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
        { tail -30 "$folder/$1.log"; echo "failed on $name: ${*:2}"; return 1; }
}

# The kernel runs the system's programs through qemu: a handler of this
# check's own, its interpreter opened now (F), so that it works in the chroot.
binfmt=/proc/sys/fs/binfmt_misc
handler=$binfmt/fortpad-check-$arch
declare -A elf_header=(
    [arm64]='\x7fELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-aarch64-static')
register_qemu() {
    { mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"; } 2>/dev/null &&
        [ -w "$binfmt/register" ] ||
        { echo "$name cannot be checked: this machine does not let it register a binfmt_misc handler"; exit 1; }
    [ ! -e "$handler" ] || echo -1 >"$handler" # a killed check's
    printf ':%s:M::%s:F\n' "$(basename "$handler")" "${elf_header[$arch]}" >"$binfmt/register"
    trap '[ ! -e "$handler" ] || echo -1 >"$handler"' EXIT
}

rm -rf --one-file-system "$folder"
mkdir -p "$system"
echo "Making a $name system in $system"
if [ -z "$foreign" ]; then
    logged debootstrap debootstrap --variant=minbase "$release" "$system"
else
    logged debootstrap debootstrap --variant=minbase --foreign --arch="$arch" "$release" "$system"
    register_qemu
    logged debootstrap-second-stage chroot "$system" /debootstrap/debootstrap --second-stage
fi
mount -t proc proc "$system/proc"
mount --bind /dev "$system/dev"
# No terminal for dpkg's output: /dev/pts is not mounted.
echo 'Dpkg::Use-Pty "0";' >"$system/etc/apt/apt.conf.d/90no-pty"

# The package, as a user installs a download, then its window on an X server
# (reached through its abstract socket): still there after two seconds, ten
# under emulation.
cp "$deb" "$system/root/"
logged update "${in_system[@]}" apt-get update
logged install "${in_system[@]}" sh -c "cd /root && apt-get install -y ./$(basename "$deb")"
start_xvfb "$folder"
status=0
"${in_system[@]}" DISPLAY="$DISPLAY" timeout "$([ -z "$foreign" ] && echo 2 || echo 10)" fortpad || status=$?
[ "$status" -eq 124 ] || { echo "the package's fortpad did not start on $name (exit $status)"; exit 1; }
echo "$name: the package installs and starts ($SECONDS s)"

# What the two commands install, as names apt resolves there (with the
# architectures some of them are for).
mkdir -p "$system$sources"
copy_sources "$system$sources"
logged packages "${in_system[@]}" bash -c "source $sources/scripts/common.sh &&
    add_architectures \"\${every_test_package[@]}\" && apt-get update &&
    apt-get install --simulate \"\${build_packages[@]}\" fonts-wqy-microhei \"\${every_test_package[@]}\""
echo "$name: apt resolves every package ./run.sh and ./test.sh install"

if [ -z "$foreign" ]; then
    # ./run.sh from the sources: it has started when its process has become
    # the program, and still runs two seconds later.
    "${in_system[@]}" DISPLAY="$DISPLAY" "$sources/run.sh" >"$folder/run.log" 2>&1 &
    run=$!
    started_or_ended() { [ "$(cat "/proc/$run/comm" 2>/dev/null)" = fortpad ] || ! kill -0 "$run" 2>/dev/null; }
    within 1200 started_or_ended || { tail -20 "$folder/run.log"; echo "./run.sh did not start fortpad in 20 minutes"; exit 1; }
    kill -0 "$run" 2>/dev/null || { tail -20 "$folder/run.log"; echo "./run.sh failed on $name"; exit 1; }
    sleep 2
    kill "$run" 2>/dev/null || { echo "./run.sh's fortpad ended on its own on $name"; exit 1; }
    wait "$run" || true
    echo "$name: ./run.sh builds and starts fortpad ($SECONDS s)"

    logged test-packages "${in_system[@]}" bash -c "source $sources/scripts/common.sh &&
        install_missing \"\${test_packages[@]}\" \"\${fuzz_packages[@]}\" \"\${wasm_packages[@]}\""
    timeout 1800 "${in_system[@]}" bash -c "cd $sources && cmake --workflow --preset linux"
    logged builds "${in_system[@]}" bash -c "cd $sources && source scripts/common.sh && build_preset fuzz && build_preset web"
    # The page gives the module no system interface: a newer libc++ must not
    # bring one in.
    module=$system$sources/build-web/site/fortpad.wasm
    [ -s "$module" ] || { echo "$name built no fortpad.wasm"; exit 1; }
    ! grep -q wasi_snapshot_preview1 "$module" ||
        { echo "$name's fortpad.wasm imports WASI functions, which the page does not give"; exit 1; }
    echo "$name: the linux suite passes, the fuzz target and the browser window build ($SECONDS s)"
fi

# Passed: the system's gigabytes go, the logs stay.
kill "$XVFB_PID"
umount "$system/dev" "$system/proc"
rm -rf --one-file-system "$system"
