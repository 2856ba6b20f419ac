#!/usr/bin/env bash
# Builds the packages and checks them.
# - build/fortpad_<version>_<arch>.deb: the installed desktop entry and
#   metainfo validate, the package holds the program and its desktop files,
#   lintian finds no error, and the packaged program starts.
# - build-win/fortpad-<version>-windows-x64.zip and .exe: the zip holds the
#   program and its readme; the installer installs and uninstalls silently
#   under Wine, Start-menu entry included.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" dpkg-dev file desktop-file-utils appstream lintian \
    "${windows_packages[@]}" nsis

build=$root_dir/build
build_tree "$build"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/stage/usr" >/dev/null
desktop-file-validate "$scratch"/stage/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/stage/usr/share/metainfo/*.xml

rm -f "$build"/fortpad_*.deb
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/fortpad_*.deb)
contents=$(dpkg-deb -c "$deb")
app_id=$(sed -n 's/^Icon=//p' "$scratch"/stage/usr/share/applications/*.desktop)
for path in usr/bin/fortpad usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/"$app_id".png \
    usr/share/icons/hicolor/scalable/apps/"$app_id".svg; do
    grep -q " \./$path\$" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
lintian --fail-on error "$deb"

# Still running after two seconds means it started and showed its window.
dpkg-deb -x "$deb" "$scratch/unpacked"
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$scratch/unpacked/usr/bin/fortpad" || status=$?
[ "$status" -eq 124 ] || { echo "the packaged fortpad did not keep running (exit $status)"; exit 1; }
echo "package checks passed: $deb"

windows=$root_dir/build-win
build_tree "$windows" -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain"
rm -f "$windows"/fortpad-*-windows-x64.*
(cd "$windows" && cpack >/dev/null)
zip=$(ls "$windows"/fortpad-*-windows-x64.zip)
installer=${zip%.zip}.exe
listing=$(cmake -E tar tf "$zip")
for file in fortpad.exe readme.txt; do
    grep -q "/$file\$" <<<"$listing" || { echo "missing from the zip: $file"; exit 1; }
done

# A fresh Wine prefix has no Start-menu entries: any found is the installer's.
session=$windows/package-check
wine_session=$root_dir/tests/win32/wine_session.sh
trap '"$wine_session" stop "$session"; rm -rf "$scratch"' EXIT
"$wine_session" start "$session"
drive_c=$session/prefix/drive_c
shortcuts() { find "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -name '*.lnk' 2>/dev/null; }
"$wine_session" run "$session" "$installer" /S '/D=C:\fortpad'
[ -f "$drive_c/fortpad/fortpad.exe" ] && [ -f "$drive_c/fortpad/readme.txt" ] && [ -n "$(shortcuts)" ] ||
    { echo "the installer did not install fortpad.exe, its readme and a Start-menu entry"; exit 1; }
# _? runs the uninstaller in place, so that it ends when it is done.
"$wine_session" run "$session" 'C:\fortpad\Uninstall.exe' /S '_?=C:\fortpad'
[ ! -e "$drive_c/fortpad/fortpad.exe" ] && [ -z "$(shortcuts)" ] ||
    { echo "the uninstaller left fortpad.exe or its Start-menu entry behind"; exit 1; }
echo "package checks passed: $zip, $installer"
