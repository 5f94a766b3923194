#!/usr/bin/env bash
# Builds the Debian package of navcal, and with "test" checks it.
#   bash tools/package.sh        # build/navcal_<version>_amd64.deb
#   bash tools/package.sh test   # ... then unpack it into a scratch root and check it
# Run tools/bootstrap.sh first on a fresh machine: it installs what this needs.
set -euo pipefail
mode="${1:-build}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NAVCAL_BUILD_DIR:-$root/build}"

werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAVCAL_WERROR="$werror" >/dev/null
cmake --build "$build" -j"$(nproc)" --target navcal navcal_docs
rm -f "$build"/navcal_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/navcal_*_amd64.deb)"
echo "Package: $deb"
[ "$mode" = test ] || exit 0

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch"
for f in usr/bin/navcal usr/share/xscreensaver/config/navcal.xml \
    usr/share/applications/ru.flagmarin.navcal.desktop usr/share/applications/screensavers/navcal.desktop \
    usr/share/metainfo/ru.flagmarin.navcal.metainfo.xml \
    usr/share/man/man1/navcal.1.gz usr/share/doc/navcal/copyright usr/share/doc/navcal/changelog.gz \
    usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/navcal.png \
    usr/share/icons/hicolor/scalable/apps/navcal.svg; do
    [ -s "$scratch/$f" ] || fail "missing from the package: /$f"
done
[ "$(readlink -f "$scratch/usr/libexec/xscreensaver/navcal")" = "$scratch/usr/bin/navcal" ] ||
    fail "/usr/libexec/xscreensaver/navcal does not lead to the program"
for size in 16 32 48 256; do
    got="$(identify -format %wx%h "$scratch/usr/share/icons/hicolor/${size}x${size}/apps/navcal.png")"
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done
grep -q 'not found' <<<"$(ldd "$scratch/usr/bin/navcal")" && fail "the program misses libraries"
dpkg -f "$deb" Depends | grep -q timgm6mb-soundfont || fail "no soundfont among the dependencies"
dpkg -f "$deb" Depends | grep -q qt6-wayland || fail "no Wayland platform among the dependencies"
command_line="$(sed -n 's/.*<command arg="\([^"]*\)".*/\1/p' "$scratch/usr/share/xscreensaver/config/navcal.xml")"
[ "$command_line" = "--root" ] || fail "the XScreenSaver entry starts navcal with '$command_line'"
# MATE runs only programs from the display programs' folder, by its full path.
mate_exec="$(sed -n 's/^Exec=//p' "$scratch/usr/share/applications/screensavers/navcal.desktop")"
[ "$mate_exec" = "/usr/libexec/xscreensaver/navcal --root" ] || fail "MATE's entry starts '$mate_exec'"
[ "$(readlink -f "$scratch${mate_exec%% *}")" = "$scratch/usr/bin/navcal" ] || fail "MATE's entry does not lead to the program"
zgrep -q XSCREENSAVER_WINDOW "$scratch/usr/share/man/man1/navcal.1.gz" || fail "the manual lacks the environment"
man -l "$scratch/usr/share/man/man1/navcal.1.gz" >/dev/null 2>"$scratch/man.err" || true
[ -s "$scratch/man.err" ] && fail "the manual does not format: $(cat "$scratch/man.err")"

for entry in ru.flagmarin.navcal.desktop screensavers/navcal.desktop; do
    desktop-file-validate "$scratch/usr/share/applications/$entry" || fail "desktop-file-validate $entry"
done
appstreamcli validate --no-net "$scratch/usr/share/metainfo/ru.flagmarin.navcal.metainfo.xml" || fail "appstreamcli validate"
# Lintian refuses no package for warnings; errors fail the check.
lintian --tag-display-limit 0 -I "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$scratch/lintian.txt" || true
grep -q '^E: ' "$scratch/lintian.txt" && fail "lintian reports errors"

if ((failures)); then
    echo "package: $failures check(s) failed"
    exit 1
fi
echo "package: all checks passed"
