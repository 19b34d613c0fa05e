#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into an empty root and runs both
# programs from there: the package holds what a fresh machine needs of ours.
# usage: deb_test.sh BUILD_DIR WORK_DIR     (exit 77, skipped, without dpkg-deb)
set -euo pipefail
build=$1
work=$2
command -v dpkg-deb >/dev/null || { echo "skipped: dpkg-deb is not installed"; exit 77; }
rm -rf "$work"
mkdir -p "$work/root"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  exit 1
}
deb=$(ls "$work"/out/qvengine_*.deb)
dpkg-deb -x "$deb" "$work/root"
fail() { echo "FAILED: $*" >&2; exit 1; }
for file in usr/bin/qvplay usr/bin/qvtool usr/share/man/man6/qvplay.6 usr/share/man/man1/qvtool.1 \
  usr/share/applications/qvengine.desktop usr/share/icons/hicolor/scalable/apps/qvengine.svg; do
  [ -e "$work/root/$file" ] || fail "the package lacks $file"
done
dpkg-deb -f "$deb" Depends | grep -q libsdl2-2.0-0 || fail "the package does not depend on SDL"
version=$("$work/root/usr/bin/qvplay" --version)
[[ "$version" == "qvplay "* ]] || fail "qvplay --version said '$version'"
"$work/root/usr/bin/qvtool" make-sample "$work/game" >/dev/null || fail "qvtool make-sample failed"
[ -s "$work/game/sample.qv" ] || fail "the sample game has no script"
echo "ok: $(basename "$deb") installs qvplay ($version) and qvtool, which made the sample"
