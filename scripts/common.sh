# Sourced by the project's commands: installs what a fresh Debian 12 or 13
# lacks and configures and builds one build tree.
set -euo pipefail

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The build machine's Debian architecture (amd64, arm64).
host_arch=$(dpkg --print-architecture)
# What a command needs before it to run as root: nothing for root, sudo for
# anyone else (keeping CI, which makes warnings errors).
root_prefix=()
[ "$(id -u)" -eq 0 ] || root_prefix=(sudo --preserve-env=CI)
build_packages=(cmake make g++ qt6-base-dev qt6-translations-l10n fontconfig)
# The Linux suite: Google Benchmark; the fonts of Chinese, GNOME and KDE
# desktops check that no control clips its text; an X server and xprop check
# the window's class; Qt's Wayland plugin checks the start-up without a
# compositor; Qt's private headers turn its accessibility on where a test
# needs it (Qt 6.8 and later); the cross resource compiler reads the version
# record.
test_packages=(libbenchmark-dev fonts-noto-cjk fonts-wqy-microhei fonts-cantarell fonts-noto-core
    fonts-dejavu-core xvfb x11-utils qt6-wayland qt6-base-private-dev binutils-mingw-w64-x86-64)
# Clang and its runtime build the fuzz target.
fuzz_packages=(clang libclang-rt-dev)
# fortpad.exe for x64 and x86: the MinGW-w64 cross compilers, GoogleTest's
# source, and Wine, 64-bit with its 32-bit half, on a virtual X server with a
# Chinese font to run them.
windows_packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix
    binutils-mingw-w64-i686 googletest wine wine64 wine32:i386 xvfb fonts-wqy-microhei)
# The browser window: clang with the C and C++ libraries for WebAssembly
# (WASI), by the names both Debian 12 (LLVM 14) and 13 (LLVM 19) give them
# (the C++ library brings its ABI library along), and binaryen, whose
# optimiser clang runs on the module; esbuild bundles and minifies the page's
# script and style sheet, and openssl hashes the style for the page's policy.
wasm_packages=(clang lld wasi-libc libc++-dev-wasm32 libclang-rt-dev-wasm32 binaryen esbuild openssl)
# Its suite: Chromium and WebKit driven by Selenium (WebKit on a virtual X
# server) and Firefox by its own WebDriver BiDi, with a Latin and a Chinese
# font.
web_packages=("${wasm_packages[@]}" chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr
    python3-websocket xvfb xdotool fonts-dejavu-core fonts-noto-cjk)
# The Linux program for arm64: Debian's cross compiler and Qt's arm64
# libraries beside the build machine's, the suite run under qemu-user.
arm64_packages=(crossbuild-essential-arm64 qt6-base-dev:arm64 qt6-wayland:arm64 qemu-user)
# check_packages ARCH: what a check on a fresh Debian system for ARCH needs:
# debootstrap, an X server, and qemu-user's static emulators for another
# architecture than the build machine's.
check_packages() {
    echo debootstrap xvfb
    [ "$1" = "$host_arch" ] || echo qemu-user-static
}
# Everything ./test.sh installs, and the presets it runs one after another
# (the web preset runs beside them): on amd64 all of them; on another machine
# (arm64) neither the Windows suites, as Wine there cannot run x86 programs,
# nor the arm64 cross build.
every_test_package=("${build_packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}" "${web_packages[@]}")
test_presets=(linux asan fuzz)
if [ "$host_arch" = amd64 ]; then
    every_test_package+=("${windows_packages[@]}" "${arm64_packages[@]}")
    test_presets=(linux linux-arm64 asan fuzz windows windows-x86)
fi

# Installs the Debian packages of "$@" that are not installed yet.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    add_architectures "${missing[@]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# add_architectures PACKAGE...: lets dpkg install the packages named for
# another architecture (wine32:i386).
add_architectures() {
    local arch
    for arch in $(printf '%s\n' "$@" | sed -n 's/^[^:]*:\(.*\)$/\1/p' | sort -u); do
        dpkg --print-foreign-architectures | grep -qx "$arch" ||
            [ "$arch" = "$host_arch" ] || as_root dpkg --add-architecture "$arch"
    done
}

# as_root COMMAND...: runs COMMAND as root.
as_root() { "${root_prefix[@]}" "$@"; }

# as_root_again ARGS...: runs the calling script again, as root, unless it
# runs as root already.
as_root_again() { [ ${#root_prefix[@]} -eq 0 ] || exec "${root_prefix[@]}" "$0" "$@"; }

# within SECONDS COMMAND...: runs COMMAND until it succeeds, for at most
# SECONDS; fails if it never does.
within() {
    local deadline=$((SECONDS + $1))
    until "${@:2}"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# start_beside COMMAND...: starts COMMAND, which mostly waits, beside what
# the script runs next, in a process group of its own that ends with the
# script; its output is kept for finish_beside.
start_beside() {
    beside_log=$(mktemp)
    setsid "$@" >"$beside_log" 2>&1 &
    beside=$!
    # The group, or the command itself if it has not made its group yet.
    trap '[ -z "$beside" ] || kill -- -"$beside" 2>/dev/null || kill "$beside" 2>/dev/null; rm -f "$beside_log"' EXIT
}

# finish_beside: waits for the command start_beside started, shows its
# output and returns its status.
finish_beside() {
    local status=0
    wait "$beside" || status=$?
    beside=
    cat "$beside_log"
    return "$status"
}

# copy_sources DEST: copies the checkout's files, committed or not (but not
# what .gitignore leaves out), into the folder DEST.
copy_sources() {
    (cd "$root_dir" && git ls-files -z --cached --others --exclude-standard |
        tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$1"
}

has_cjk_font() {
    command -v fc-list >/dev/null && [ -n "$(fc-list :lang=zh-cn family)" ]
}

# build_preset NAME [BUILD ARGS...]: configures and builds the tree of one of
# CMakePresets.json's presets (with CI set, warnings are errors).
build_preset() {
    cmake --preset "$1"
    cmake --build --preset "$1" "${@:2}"
}
