#!/usr/bin/env bash
# The Debian package as a player installs it. CPack makes it from the build
# tree; it is unpacked into a scratch root (dpkg -x); its files lie where the
# desktop and the system look for them; the plug-in build environment in it
# compiles on its own; and the installed binary starts headless (no network,
# a fresh home, the source and build trees hidden) to its first screen.
#
#   PackageTest.sh <build tree> <source tree>
#
# The first screen is known by the start-up trace (GF_TRACE_STARTUP): the
# line "startup: first screen shown" comes when the game's first window
# shows its first picture, the licence.
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
fail() {
    echo "PackageTest: $*" >&2
    exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps file unshare mount c++; do
    command -v "$tool" > /dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/gf-package.XXXXXX")
game=""
cleanup() {
    if [ -n "$game" ] && kill -0 "$game" 2> /dev/null; then
        kill -KILL "$game" 2> /dev/null || true
        wait "$game" 2> /dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "== the package"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack failed"
fi
debs=("$work"/package/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
dpkg-deb --field "$deb" Package Version Architecture Section Depends Recommends
# The dependencies are the system's library packages, as dpkg-shlibdeps names them.
depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed -e 's/([^)]*)//' -e 's/^ *//' -e 's/ *$//')
for library in libc6 libstdc++6 libsdl2-2.0-0 libopenal1 libepoxy0; do
    grep -qxF "$library" <<< "$depends" || fail "Depends does not name $library: $(dpkg-deb --field "$deb" Depends)"
done

echo "== unpacked into a scratch root"
root=$work/root
dpkg -x "$deb" "$root"
expect() {
    [ -f "$root/$1" ] || fail "the package has no $1"
}
expect usr/bin/glimmerfall
[ -x "$root/usr/bin/glimmerfall" ] || fail "usr/bin/glimmerfall is not executable"
expect usr/share/applications/glimmerfall.desktop
expect usr/share/metainfo/org.example.Glimmerfall.metainfo.xml
for size in 64 128 256; do
    icon=usr/share/icons/hicolor/${size}x${size}/apps/glimmerfall.png
    expect "$icon"
    kind=$(file "$root/$icon")
    [[ "$kind" == *"PNG image data, $size x $size,"* ]] || fail "$icon is not a $size by $size PNG: $kind"
done
expect usr/share/man/man6/glimmerfall.6.gz
zcat "$root/usr/share/man/man6/glimmerfall.6.gz" > "$work/glimmerfall.6"
grep -q -- '\\-\\-start\\-screen' "$work/glimmerfall.6" || fail "the manual page lists no --start-screen"
expect usr/share/doc/glimmerfall/copyright
grep -q "LICENCE AGREEMENT" "$root/usr/share/doc/glimmerfall/copyright" || fail "the copyright file holds no licence"
include=$root/usr/share/glimmerfall/include
expect "usr/share/glimmerfall/include/converter/plugin/EVERYTHING header.h"
# The desktop entry starts the installed program and shows the installed icon.
grep -qx "Exec=glimmerfall" "$root/usr/share/applications/glimmerfall.desktop" || fail "the desktop entry does not run glimmerfall"
grep -qx "Icon=glimmerfall" "$root/usr/share/applications/glimmerfall.desktop" || fail "the desktop entry shows no glimmerfall icon"
# No installed text names the trees it was built from.
if grep -rlIF -e "$source" -e "$build" "$root/usr/share"; then
    fail "installed files name the source or build tree"
fi

echo "== the plug-in build environment compiles on its own"
printf '#include "EVERYTHING header.h"\n#include "Core Dependencies.h"\n' |
    c++ -std=c++20 -fsyntax-only -I "$include/converter/plugin" -I "$include" -x c++ - ||
    fail "the installed plug-in headers do not compile"

echo "== the installed binary starts headless"
mkdir -p "$work/home" "$work/run" "$work/tmp"
(cd "$root" && find . | sort) > "$work/installed.txt"
cd "$work/run"
# Inside its own network and mount namespaces: no network at all, and the
# source and build trees covered by empty folders, so the game can only use
# what it was installed with. The leak check is the in-process tests' work:
# here the program is ended from outside.
env -i PATH=/usr/bin:/bin HOME="$work/home" TMPDIR="$work/tmp" \
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null GF_TRACE_STARTUP=1 \
    ASAN_OPTIONS=detect_leaks=0 \
    unshare -n -m sh -c 'for tree in "$1" "$2"; do
            if [ -d "$tree" ]; then mount -t tmpfs -o ro gf-hidden "$tree" || exit 97; fi
        done
        exec "$3"' sh "$build" "$source" "$root/usr/bin/glimmerfall" > "$work/out.log" 2> "$work/err.log" &
game=$!

# Bounded waits, on the trace line and on the process; nothing is timed.
shown=no
for ((i = 0; i < 3000; i++)); do
    if grep -qx "startup: first screen shown" "$work/err.log"; then
        shown=yes
        break
    fi
    kill -0 "$game" 2> /dev/null || break
    sleep 0.1
done
if [ "$shown" != yes ]; then
    status=running
    if ! kill -0 "$game" 2> /dev/null; then
        wait "$game" && status=0 || status=$?
        game=""
    fi
    echo "-- its error stream:"
    cat "$work/err.log"
    fail "the installed binary did not reach its first screen (status $status)"
fi
echo "first screen shown"
grep "^startup: " "$work/err.log" || true

# It ends when asked to.
kill -TERM "$game"
ended=no
for ((i = 0; i < 1200; i++)); do
    if ! kill -0 "$game" 2> /dev/null; then
        ended=yes
        break
    fi
    sleep 0.1
done
[ "$ended" = yes ] || fail "the installed binary did not end on SIGTERM"
status=0
wait "$game" || status=$?
game=""
[ "$status" -eq 0 ] || {
    cat "$work/err.log"
    fail "the installed binary ended with status $status"
}
# It made its user folders in the fresh home, and wrote nothing where it is
# installed.
[ -d "$work/home/Tavelin" ] || fail "no user data folder in the fresh home"
(cd "$root" && find . | sort) | diff "$work/installed.txt" - || fail "the program wrote where it is installed"
echo "PackageTest: the package installs and its binary starts from the installed place"
