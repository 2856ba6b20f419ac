#!/usr/bin/env bash
# Builds the packages and checks them.
# - build/<name>_<version>_<arch>.deb, for the machine's architecture and,
#   on amd64, for arm64 (cross-built, run under qemu-user): the installed
#   desktop entry and metainfo validate, each package holds the program and
#   its desktop files, says what it depends on, lintian finds no error, the
#   packaged program is hardened and starts, and packaging again, or
#   building and packaging in a folder of another name, gives the same
#   bytes; SHA256SUMS names them. ./check-systems.sh then tries them on
#   fresh Debian systems.
# - build-win/<name>-<version>-windows-x64.zip and -x86.zip: each holds its
#   program, readme and licence, and building and packaging again gives the
#   same bytes; <name>-<version>-windows-setup.exe installs the x64 program
#   in a 64-bit Wine prefix and the x86 one in a 32-bit prefix, and
#   uninstalls, silently, Start-menu entry included. SHA256SUMS names all three.
# The name and version are the CMake project's.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" dpkg-dev file desktop-file-utils appstream lintian \
    "${windows_packages[@]}" "${arm64_packages[@]}" nsis python3

cd "$root_dir"
# Every file in the packages dated by the last commit.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$SOURCE_DATE_EPOCH" ] && export SOURCE_DATE_EPOCH
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
check_deb linux "$(dpkg --print-architecture)" "$build"
if [ "$(dpkg --print-architecture)" = amd64 ]; then
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

windows=$root_dir/build-win
build_preset windows-x86
build_preset windows
rm -f "$windows/$name"-*-windows-* "$windows/SHA256SUMS"
cpack --preset windows-x86
cpack --preset windows
installer=$(ls "$windows/$name"-*-windows-setup.exe)
(cd "$windows" && sha256sum -c SHA256SUMS)
[ "$(wc -l <"$windows/SHA256SUMS")" -eq 3 ] || { echo "SHA256SUMS does not name both zips and the installer"; exit 1; }

# check_zip ARCH PRESET BUILD: the zip holds BUILD's program, its readme and
# licence; and the same commit gives the same bytes: a second, clean build of
# the program and its zip.
check_zip() {
    local arch=$1 preset=$2 build=$3 file
    local zip program=$3/src/window/win32/$name.exe again=$scratch/build-again-$1
    zip=$(ls "$windows/$name"-*-windows-"$arch".zip)
    local listing
    listing=$(cmake -E tar tf "$zip")
    for file in "$name.exe" readme.txt LICENSE.txt; do
        grep -q "/$file\$" <<<"$listing" || { echo "missing from the $arch zip: $file"; exit 1; }
    done
    (cd "$scratch" && cmake -E tar xf "$zip")
    local unzipped=$scratch/$(basename "$zip" .zip)
    cmp "$unzipped/$name.exe" "$program" || { echo "the $arch zip's $name.exe is not the build's"; exit 1; }
    cmp "$unzipped/readme.txt" "$build/readme.txt" || { echo "the $arch zip's readme is not the build's"; exit 1; }
    grep -q "Windows 7 SP1" "$unzipped/readme.txt" || { echo "the $arch readme does not say which Windows runs it"; exit 1; }

    cmake --preset "$preset" -B "$again" >/dev/null
    cmake --build "$again" -j2 --target fortpad >/dev/null
    (cd "$again" && cpack -G ZIP >/dev/null)
    cmp "$again/src/window/win32/$name.exe" "$program" || { echo "two builds of the $arch $name.exe differ"; exit 1; }
    cmp "$again/$(basename "$zip")" "$zip" || { echo "two builds of the $arch zip differ"; exit 1; }
}
check_zip x64 windows "$windows"
check_zip x86 windows-x86 "$root_dir/build-win-x86"
grep -q "32-bit" "$root_dir/build-win-x86/readme.txt" || { echo "the x86 readme does not name 32-bit Windows"; exit 1; }

# The installer, silently under Wine, in a prefix of WINEARCH: BUILD's
# program where the Start-menu entry looks for it, and nothing of ours left
# after the uninstaller.
wine_session=$root_dir/tests/win32/wine_session.sh
title=$(sed -n 's/^#define FORTPAD_PRODUCT_NAME u"\(.*\)"$/\1/p' "$windows/src/window/product.h")
sessions=()
trap 'for s in "${sessions[@]}"; do "$wine_session" stop "$s"; done; rm -rf "$scratch"' EXIT
check_installer() {
    export WINEARCH=$1
    local build=$2 session=$windows/package-check-$1
    rm -rf "$session" # a fresh prefix: what is ours in it, the installer put there
    "$wine_session" start "$session"
    local drive_c=$session/prefix/drive_c
    local installed=$drive_c/Program\ Files/$name
    shortcuts() { find "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -iname "*$title*" 2>/dev/null; }
    ours() {
        for key in 'HKLM\Software' 'HKCU\Software'; do
            "$wine_session" run "$session" reg export "$key" "C:\\registry.reg" /y >/dev/null 2>&1
            iconv -f UTF-16 -t UTF-8 "$drive_c/registry.reg" | grep -i -e "$name" -e "$title" || true
        done
        shortcuts
        ls -d "$installed" 2>/dev/null || true
    }
    [ -z "$(ours)" ] || { echo "a fresh $WINEARCH Wine prefix already holds something of ours"; exit 1; }

    "$wine_session" run "$session" "$installer" /S
    for file in "$name.exe" readme.txt LICENSE.txt; do
        [ -f "$installed/$file" ] || { echo "the installer did not install $file ($WINEARCH)"; exit 1; }
    done
    cmp "$installed/$name.exe" "$build/src/window/win32/$name.exe" ||
        { echo "the installed $name.exe is not $build's ($WINEARCH)"; exit 1; }
    cmp "$installed/readme.txt" "$build/readme.txt" || { echo "the installed readme is not $build's ($WINEARCH)"; exit 1; }
    local shortcut
    shortcut=$(shortcuts | grep '\.lnk$' | head -1)
    [ -n "$shortcut" ] || { echo "the installer made no Start-menu entry ($WINEARCH)"; exit 1; }
    # A shortcut to nowhere makes start wait on an error box: give it 20 s.
    timeout 20 "$wine_session" run "$session" start /unix "$shortcut" || true
    "$wine_session" wait_for_window "$session" "$title" ||
        { echo "the Start-menu entry did not start $name.exe ($WINEARCH)"; exit 1; }
    "$wine_session" run "$session" taskkill /f /im "$name.exe" >/dev/null

    # The uninstaller copies itself away and removes the folder it ran from.
    "$wine_session" run "$session" "C:\\Program Files\\$name\\Uninstall.exe" /S
    for _ in $(seq 300); do
        [ -e "$installed" ] || break
        sleep 0.1
    done
    local left
    left=$(ours)
    [ -z "$left" ] || { echo "the uninstaller left behind ($WINEARCH):"; echo "$left"; exit 1; }
    "$wine_session" stop "$session"
}
# Each check waits on Wine far more than it computes: the two run side by
# side, each in a prefix and on an X server of its own.
sessions+=("$windows/package-check-win64" "$windows/package-check-win32")
check_installer win64 "$windows" &
win64=$!
check_installer win32 "$root_dir/build-win-x86" &
win32=$!
status=0
wait "$win64" || status=1
wait "$win32" || status=1
[ "$status" = 0 ]
echo "package checks passed: $windows/SHA256SUMS"
