#!/usr/bin/env bash
# The .debs, by ./package.sh: build/<name>_<version>_<arch>.deb, for the
# machine's architecture and, on amd64, for arm64 (cross-built, run under
# qemu-user). The installed desktop entry and metainfo validate, each package
# holds the program and its desktop files, says what it depends on, lintian
# finds no error, the packaged program is hardened and starts, and packaging
# again, or building and packaging in a folder of another name, gives the
# same bytes; SHA256SUMS names them. ./check-systems.sh then tries them on
# fresh Debian systems.
source "$(dirname "$0")/common.sh"
cd "$root_dir"
build=$root_dir/build
build_preset linux
name=$(sed -n 's/^CMAKE_PROJECT_NAME:STATIC=//p' "$build/CMakeCache.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/stage/usr" >/dev/null
desktop-file-validate "$scratch"/stage/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/stage/usr/share/metainfo/*.xml

app_id=$(sed -n 's/^Icon=//p' "$scratch"/stage/usr/share/applications/*.desktop)
elsewhere=$scratch/sources-in-another-folder
mkdir "$elsewhere"
copy_sources "$elsewhere"
rm -f "$build/${name}"_*.deb "$build/SHA256SUMS"

# check_deb PRESET ARCH TREE [EMULATOR...]: packages PRESET's build in TREE,
# for ARCH, and checks the .deb; its program runs through EMULATOR.
check_deb() {
    local preset=$1 arch=$2 tree=$3 emulator=("${@:4}") deb path
    cpack --preset "$preset"
    deb=$(ls "$build/${name}"_*_"$arch".deb)
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || { echo "$deb is not for $arch"; exit 1; }
    local contents
    contents=$(dpkg-deb -c "$deb")
    for path in usr/bin/$name usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
        usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/"$app_id".png \
        usr/share/icons/hicolor/scalable/apps/"$app_id".svg; do
        grep -q " \./$path\$" <<<"$contents" || { echo "missing from the $arch package: $path"; exit 1; }
    done
    lintian --fail-on error "$deb"

    # What the package asks of the system: Qt's libraries as shlibdeps found
    # them (the X11 platform plugin is in libqt6gui6), a Chinese font, and
    # Wayland's platform plugin recommended, so a Wayland session does not
    # need XWayland.
    local depends recommends
    depends=$(dpkg-deb -f "$deb" Depends) recommends=$(dpkg-deb -f "$deb" Recommends)
    echo "Depends ($arch): $depends"
    echo "Recommends ($arch): $recommends"
    [[ $depends == *libqt6gui6* && $depends == *"fonts-noto-cjk | fonts-wqy-microhei"* ]] ||
        { echo "the $arch package does not depend on Qt's GUI library and a Chinese font"; exit 1; }
    [[ $depends != *qt6-qpa-plugins* ]] || { echo "the $arch package depends on qt6-qpa-plugins, which it does not use"; exit 1; }
    [[ $recommends == *qt6-wayland* ]] || { echo "the $arch package does not recommend qt6-wayland"; exit 1; }

    # Hardened as Debian builds its packages: a position-independent program,
    # relocations read-only and bound at start-up, a stack protector and
    # fortified libc calls; each object carries its architecture's
    # control-flow note (the program does not: Debian 12's C runtime objects
    # lack it).
    local unpacked=$scratch/unpacked-$arch symbols object
    dpkg-deb -x "$deb" "$unpacked"
    local packaged=$unpacked/usr/bin/$name
    readelf -h "$packaged" | grep -q 'DYN (Position-Independent' || { echo "the $arch $name is no PIE"; exit 1; }
    readelf -d "$packaged" | grep -q 'BIND_NOW' || { echo "the $arch $name is not bound at start-up"; exit 1; }
    readelf -lW "$packaged" | grep -q 'GNU_RELRO' || { echo "the $arch $name has no read-only relocations"; exit 1; }
    symbols=$(readelf --dyn-syms -W "$packaged")
    grep -q '__stack_chk_fail' <<<"$symbols" || { echo "the $arch $name has no stack protector"; exit 1; }
    grep -q '_chk@' <<<"$symbols" || { echo "the $arch $name calls no fortified function"; exit 1; }
    object=$(find "$tree/src/reckoning" -name '*.o' | head -1)
    readelf -n "$object" | grep -q "${control_flow_note[$arch]}" ||
        { echo "$object has no control-flow protection note (${control_flow_note[$arch]})"; exit 1; }

    # The same bytes packaged again, and built and packaged in a copy of the
    # sources in a folder of another name.
    cp "$deb" "$scratch/first.deb"
    rm "$deb"
    cpack --preset "$preset" >/dev/null
    cmp "$deb" "$scratch/first.deb" || { echo "two packagings of the $arch .deb differ"; exit 1; }
    (cd "$elsewhere" && cmake --preset "$preset" -DBUILD_TESTING=OFF -DFORTPAD_BENCHMARKS=OFF -DFORTPAD_TOOLS=OFF \
        >/dev/null && cmake --build --preset "$preset" >/dev/null && cpack --preset "$preset" >/dev/null)
    cmp "$elsewhere/build/$(basename "$deb")" "$deb" || { echo "the $arch .deb built in another folder differs"; exit 1; }

    # Still running after two seconds (ten under emulation) means it started
    # and showed its window.
    local status=0
    QT_QPA_PLATFORM=offscreen timeout $((${#emulator[@]} ? 10 : 2)) "${emulator[@]}" "$packaged" || status=$?
    [ "$status" -eq 124 ] || { echo "the packaged $arch $name did not keep running (exit $status)"; exit 1; }
    echo "package checks passed: $deb"
}
declare -A control_flow_note=([amd64]="x86 feature: IBT, SHSTK" [arm64]="AArch64 feature: BTI, PAC")
check_deb linux "$host_arch" "$build"
if [ "$host_arch" = amd64 ]; then
    build_preset linux-arm64
    check_deb linux-arm64 arm64 "$root_dir/build-arm64" qemu-aarch64
fi
(cd "$build" && sha256sum -c SHA256SUMS)
[ "$(wc -l <"$build/SHA256SUMS")" -eq "$(ls "$build/${name}"_*.deb | wc -l)" ] ||
    { echo "SHA256SUMS does not name the .debs alone"; exit 1; }

# A build with no build type is not optimised, so not fortified either.
cmake -S "$root_dir" -B "$scratch/plain" -DBUILD_TESTING=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
! grep -q _FORTIFY_SOURCE "$scratch/plain/compile_commands.json" ||
    { echo "a build with no build type is fortified without the optimiser"; exit 1; }
