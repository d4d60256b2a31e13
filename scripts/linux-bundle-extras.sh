#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds to the Linux bundle in FOLDER what a player and a packager read beside
# the program: README.txt (where it goes, how to start it, what it needs),
# the icon in the sizes a desktop uses, and the licences of what it bundles.
#
#   linux-bundle-extras.sh FOLDER SOURCE-FOLDER
set -eu
out=$1
source_folder=$2

# The newest C library and C++ runtime versions the program and the bundled
# libraries ask for: the oldest system that runs the bundle.
newest() {
    (objdump -T "$out/velmarch"; find "$out/lib" "$out/plugins" -type f -exec objdump -T {} \;) 2>/dev/null |
        grep -o "$1_[0-9.]*" | sed "s/^$1_//" | sort -V | tail -n 1
}
glibc=$(newest GLIBC)
glibcxx=$(newest GLIBCXX)

cat >"$out/README.txt" <<TEXT
Velmarch, the ZOLM launcher, for Linux

Where it goes
  Unpack this archive into the launcher's folder of the game's installation:
  Napoleon/data/ZOLM/<the launcher's folder>/, beside the mod's files. The
  launcher finds the game from there.

How to start it
  Run ./velmarch from that folder, or double-click it in a file manager.
  The game it starts runs through Steam (Proton), as it does without the
  launcher. The icons/ folder holds the launcher's icon for a desktop entry.

What it needs
  A 64-bit Linux desktop with X11 or XWayland (Steam Deck: desktop mode),
  glibc $glibc or newer and the C++ runtime (libstdc++) with GLIBCXX_$glibcxx
  or newer (ldd --version names the C library's): SteamOS 3.5, Debian 12,
  Ubuntu 22.04, Fedora 36 and their later releases have them.
  Qt and the libraries it needs are in lib/ and plugins/.

Licences
  The launcher is free software under the GNU GPL, version 3 or later. What
  it bundles, and under which licences, is listed in THIRD-PARTY.txt; the
  licence texts are in licenses/.
TEXT

for size in 16 24 32 48 64 128 256; do
    mkdir -p "$out/icons/hicolor/${size}x$size/apps"
    convert "$source_folder/resources/velmarch.png" -resize "${size}x$size" -strip \
        "PNG32:$out/icons/hicolor/${size}x$size/apps/velmarch.png"
done

"$source_folder/scripts/third-party.sh" linux "$out" "$source_folder"
