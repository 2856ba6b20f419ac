#!/usr/bin/env bash
# Builds the packages and checks them.
# - build/<name>_<version>_<arch>.deb: the installed desktop entry and
#   metainfo validate, the package holds the program and its desktop files,
#   says what it depends on, lintian finds no error, and the packaged program
#   starts.
# - build-win/<name>-<version>-windows-x64.zip and .exe: the zip holds the
#   program, its readme and licence; the installer installs and uninstalls
#   silently under Wine, Start-menu entry included.
# The name and version are the CMake project's.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" dpkg-dev file desktop-file-utils appstream lintian \
    "${windows_packages[@]}" nsis

cd "$root_dir"
build=$root_dir/build
build_preset linux
name=$(sed -n 's/^CMAKE_PROJECT_NAME:STATIC=//p' "$build/CMakeCache.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/stage/usr" >/dev/null
desktop-file-validate "$scratch"/stage/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/stage/usr/share/metainfo/*.xml

rm -f "$build/${name}"_*.deb
cpack --preset linux
deb=$(ls "$build/${name}"_*.deb)
contents=$(dpkg-deb -c "$deb")
app_id=$(sed -n 's/^Icon=//p' "$scratch"/stage/usr/share/applications/*.desktop)
for path in usr/bin/$name usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/"$app_id".png \
    usr/share/icons/hicolor/scalable/apps/"$app_id".svg; do
    grep -q " \./$path\$" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
lintian --fail-on error "$deb"

# What the package asks of the system: Qt's libraries as shlibdeps found them
# (the X11 platform plugin is in libqt6gui6), a Chinese font, and Wayland's
# platform plugin recommended, so a Wayland session does not need XWayland.
depends=$(dpkg-deb -f "$deb" Depends) recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
[[ $depends == *libqt6gui6* && $depends == *"fonts-noto-cjk | fonts-wqy-microhei"* ]] ||
    { echo "the package does not depend on Qt's GUI library and a Chinese font"; exit 1; }
[[ $depends != *qt6-qpa-plugins* ]] || { echo "the package depends on qt6-qpa-plugins, which it does not use"; exit 1; }
[[ $recommends == *qt6-wayland* ]] || { echo "the package does not recommend qt6-wayland"; exit 1; }

# Still running after two seconds means it started and showed its window.
dpkg-deb -x "$deb" "$scratch/unpacked"
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$scratch/unpacked/usr/bin/$name" || status=$?
[ "$status" -eq 124 ] || { echo "the packaged $name did not keep running (exit $status)"; exit 1; }
echo "package checks passed: $deb"

windows=$root_dir/build-win
build_preset windows
rm -f "$windows/$name"-*-windows-x64.*
cpack --preset windows
zip=$(ls "$windows/$name"-*-windows-x64.zip)
installer=${zip%.zip}.exe
listing=$(cmake -E tar tf "$zip")
for file in "$name.exe" readme.txt LICENSE.txt; do
    grep -q "/$file\$" <<<"$listing" || { echo "missing from the zip: $file"; exit 1; }
done

# A fresh Wine prefix has no Start-menu entries: any found is the installer's.
session=$windows/package-check
wine_session=$root_dir/tests/win32/wine_session.sh
trap '"$wine_session" stop "$session"; rm -rf "$scratch"' EXIT
"$wine_session" start "$session"
drive_c=$session/prefix/drive_c
shortcuts() { find "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -name '*.lnk' 2>/dev/null; }
"$wine_session" run "$session" "$installer" /S "/D=C:\\$name"
for file in "$name.exe" readme.txt LICENSE.txt; do
    [ -f "$drive_c/$name/$file" ] || { echo "the installer did not install $file"; exit 1; }
done
[ -n "$(shortcuts)" ] || { echo "the installer made no Start-menu entry"; exit 1; }
# _? runs the uninstaller in place, so that it ends when it is done.
"$wine_session" run "$session" "C:\\$name\\Uninstall.exe" /S "_?=C:\\$name"
[ ! -e "$drive_c/$name/$name.exe" ] && [ -z "$(shortcuts)" ] ||
    { echo "the uninstaller left $name.exe or its Start-menu entry behind"; exit 1; }
echo "package checks passed: $zip, $installer"
