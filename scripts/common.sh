# Sourced by run.sh and test.sh: installs what a fresh Debian 12 lacks and
# configures and builds one build tree.
set -euo pipefail

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_packages=(cmake make g++ qt6-base-dev qt6-translations-l10n fontconfig)
# The resource compiler proves the Windows version record builds; clang and
# its runtime build the fuzz target.
test_packages=(binutils-mingw-w64-x86-64 libbenchmark-dev clang libclang-rt-14-dev)

# Installs the Debian packages of "$@" that are not installed yet.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

has_cjk_font() {
    command -v fc-list >/dev/null && [ -n "$(fc-list :lang=zh-cn family)" ]
}

# build_tree DIR [--target T] [CMAKE ARGS...]: configures and builds DIR.
build_tree() {
    local dir=$1
    shift
    local build_args=()
    if [ "${1:-}" = --target ]; then
        build_args=("$1" "$2")
        shift 2
    fi
    cmake -S "$root_dir" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j2 "${build_args[@]}"
}
