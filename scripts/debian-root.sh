#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a minimal Debian root with what every desktop Linux has and no Qt:
# the C and C++ runtimes, the X client libraries, fontconfig, OpenGL's
# dispatch library and D-Bus's client library. The Linux bundle is checked in
# it. Built once per machine with debootstrap from the mirror this machine's
# apt sources name, cached outside the clone in a folder named after a digest
# of this script (VELMARCH_CACHE moves the cache), and printed.
set -eu
cd "$(dirname "$0")/.."
top=$PWD

recipe=$(sha256sum "$top/scripts/debian-root.sh" | cut -c1-12)
cache=${VELMARCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmarch}
root="$cache/debian-root-$recipe"
if [ -f "$root/.complete" ]; then
    echo "$root"
    exit 0
fi
[ "$(id -u)" -eq 0 ] || {
    echo "debian-root: debootstrap needs root" >&2
    exit 1
}

. /etc/os-release
suite=$VERSION_CODENAME
mirror=$("$top/scripts/debian-source-entries.sh" deb | sed 's/ \[[^]]*\]//' |
    awk -v suite="$suite" '$3 == suite { print $2; exit }')
[ -n "$mirror" ] || {
    echo "debian-root: no Debian entry for $suite in this machine's apt sources" >&2
    exit 1
}

rm -rf "$root"
mkdir -p "$cache"
echo "debian-root: $suite from $mirror (a few minutes)" >&2
debootstrap --variant=minbase \
    --include=libstdc++6,libx11-6,libx11-xcb1,libxcb1,libfontconfig1,libgl1,libdbus-1-3 \
    "$suite" "$root" "$mirror" >"$cache/debian-root.log" 2>&1 || {
    tail -n 20 "$cache/debian-root.log" >&2
    exit 1
}
# No package cache or lists: the root is only run, never updated.
rm -rf "$root/var/cache/apt/archives"/*.deb "$root/var/lib/apt/lists"/*
touch "$root/.complete"
for other in "$cache"/debian-root-*; do
    [ "$other" = "$root" ] || [ ! -d "$other" ] || rm -rf "$other"
done
echo "$root"
