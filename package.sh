#!/usr/bin/env bash
# Builds the Debian package build/fortpad_<version>_<arch>.deb and checks it:
# the installed desktop entry and metainfo validate, the package holds the
# program and its desktop files, lintian finds no error, and the packaged
# program starts.
source "$(dirname "$0")/scripts/common.sh"

install_missing "${build_packages[@]}" dpkg-dev file desktop-file-utils appstream lintian

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
for path in usr/bin/fortpad usr/share/applications/org.example.fortpad.desktop \
    usr/share/metainfo/org.example.fortpad.metainfo.xml \
    usr/share/icons/hicolor/32x32/apps/org.example.fortpad.png \
    usr/share/icons/hicolor/scalable/apps/org.example.fortpad.svg; do
    grep -q " \./$path\$" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
lintian --fail-on error "$deb"

# Still running after two seconds means it started and showed its window.
dpkg-deb -x "$deb" "$scratch/unpacked"
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$scratch/unpacked/usr/bin/fortpad" || status=$?
[ "$status" -eq 124 ] || { echo "the packaged fortpad did not keep running (exit $status)"; exit 1; }
echo "package checks passed: $deb"
