#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the launcher needs to build and run. Does
# nothing when they are all there. "setup.sh tests" adds what the test command
# needs; "setup.sh windows" adds to that what the Windows build needs: the
# MinGW-w64 compilers, Qt's source tools and Wine; "setup.sh linux-bundle"
# what the Linux bundle's check needs; "setup.sh sanitizers" clang for the
# checked builds and the fuzz targets; "setup.sh release" what
# scripts/release.sh packs and fetches with.
set -eu

# The window manager is asked for its frame through libxcb.
packages="cmake g++ make qtbase5-dev qtbase5-dev-tools qtbase5-private-dev pkg-config libxcb1-dev"
if [ -n "${1:-}" ]; then
    # The formatting check; the MinGW resource compiler checks the Windows
    # resources, which cpp preprocesses.
    packages="$packages clang-format cpp binutils-mingw-w64-x86-64"
    # The window is checked on screens of several sizes under Xvfb, with a
    # taskbar (icewm) and on two screens side by side (Xephyr).
    packages="$packages xvfb xauth x11-utils icewm xserver-xephyr xdotool imagemagick"
    # The record of copies is checked on a FAT32 or exFAT drive image.
    packages="$packages dosfstools exfatprogs exfat-fuse"
fi
if [ "${1:-}" = "linux-bundle" ]; then
    # The bundle is checked in a minimal Debian root, its button pressed by
    # xdotool, its desktop entry checked and started as a desktop starts it.
    packages="$packages debootstrap imagemagick libglib2.0-bin desktop-file-utils"
fi
if [ "${1:-}" = "release" ]; then
    # The release's Windows zip, packed with every time the commit's.
    packages="$packages zip dpkg-dev"
fi
if [ "${1:-}" = "sanitizers" ]; then
    # Clang with its sanitizer and libFuzzer runtimes.
    packages="$packages clang libclang-rt-14-dev"
fi
if [ "${1:-}" = "windows" ]; then
    # dpkg-dev unpacks and patches Qt's source; Qt's header generator is Perl.
    packages="$packages g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev perl"
    packages="$packages wine wine64 imagemagick fonts-dejavu-core"
fi

missing=""
for package in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "setup: these packages are missing and neither root nor sudo is at hand:$missing" >&2
    exit 1
fi
echo "setup: installing$missing"
$as_root apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
