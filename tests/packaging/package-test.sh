#!/usr/bin/env bash
# Builds the Debian package from a build tree that is already built, checks that it holds every
# installed file and depends on the libraries the programs link, runs the programs from a
# scratch root it is unpacked into, and installs the same files under another prefix.
# Usage: package-test.sh BUILD_DIR
set -euo pipefail
build=$1
expected="$build/packaging/installed-files.txt"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    exit 1
fi
deb=$(ls "$scratch"/out/*.deb)

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$scratch/contents"
while read -r file; do
    grep -qx "usr/$file" "$scratch/contents" || fail "the package lacks /usr/$file"
done <"$expected"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libwx libpng libarchive13; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$scratch/root"
env -u DISPLAY -u WAYLAND_DISPLAY "$scratch/root/usr/bin/velquin" --help >"$scratch/help" ||
    fail "velquin --help from the unpacked package failed"
grep -q "^Usage: velquin" "$scratch/help" || fail "velquin --help printed no usage"
status=0
"$scratch/root/usr/bin/tarnel" >/dev/null || status=$?
[ "$status" -eq 2 ] || fail "tarnel without arguments exited with $status"

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
while read -r file; do
    [ -f "$scratch/prefix/$file" ] || fail "cmake --install did not install $file"
done <"$expected"

[ "$failures" -eq 0 ]
