#!/usr/bin/env bash
# The Windows packages, by ./package.sh: build-win/<name>-<version>-windows-
# x64.zip and -x86.zip each hold their program, readme and licence, and
# building and packaging again gives the same bytes;
# <name>-<version>-windows-setup.exe installs the x64 program in a 64-bit
# Wine prefix and the x86 one in a 32-bit prefix, and uninstalls, silently,
# Start-menu entry included. SHA256SUMS names all three.
source "$(dirname "$0")/common.sh"
cd "$root_dir"
windows=$root_dir/build-win
build_preset windows-x86
build_preset windows
name=$(sed -n 's/^CMAKE_PROJECT_NAME:STATIC=//p' "$windows/CMakeCache.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
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
wine_session=$root_dir/harness/wine_session.sh
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
    within 30 test ! -e "$installed" || true
    local left
    left=$(ours)
    [ -z "$left" ] || { echo "the uninstaller left behind ($WINEARCH):"; echo "$left"; exit 1; }
    "$wine_session" stop "$session"
}
# The installer is an x86 program: on a machine that runs none (a kernel
# without 32-bit emulation), its checks are skipped, as the x86 suite is.
# Each check waits on Wine far more than it computes: the two run side by
# side, each in a prefix and on an X server of its own.
if "$wine_session" runs_32bit_programs "$windows"; then
    sessions+=("$windows/package-check-win64" "$windows/package-check-win32")
    check_installer win64 "$windows" &
    win64=$!
    check_installer win32 "$root_dir/build-win-x86" &
    win32=$!
    status=0
    wait "$win64" || status=1
    wait "$win32" || status=1
    [ "$status" = 0 ]
else
    echo "skipped: the installer's checks under Wine, as this machine cannot run 32-bit programs"
fi
echo "package checks passed: $windows/SHA256SUMS"
