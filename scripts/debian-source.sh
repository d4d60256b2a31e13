#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fetches Debian source packages into the current folder, each named
# PACKAGE=VERSION, without unpacking them. apt fetches sources only through
# deb-src entries, which Debian's images often lack: then entries made from
# the machine's own Debian entries are added, so that the source comes from
# whatever mirror this machine already uses.
#
#   debian-source.sh PACKAGE=VERSION...
set -eu
scripts=$(cd "$(dirname "$0")" && pwd)
if ! grep -rqs '^\(Types:.*deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "debian-source: adding Debian's source archive to apt" >&2
    as_root=""
    [ "$(id -u)" -eq 0 ] || as_root="sudo"
    "$scripts/debian-source-entries.sh" |
        $as_root tee /etc/apt/sources.list.d/velmarch-deb-src.list >/dev/null
    $as_root apt-get update -qq
fi
for package in "$@"; do
    apt-get source --download-only -qq "$package" || {
        echo "debian-source: Debian's archive does not hold $package" >&2
        exit 1
    }
done
