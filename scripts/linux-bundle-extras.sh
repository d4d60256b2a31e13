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
  Double-click velmarch (or velmarch.desktop, which a file manager may ask
  you to trust) in a file manager, or run it from anywhere: it works from
  its own folder. The game it starts runs through Steam (Proton), as it does
  without the launcher. The icons/ folder holds the launcher's icon.

From Steam's Play button (desktop mode and Game Mode)
  Set the game's launch option in Steam (Properties, General, Launch
  Options) to the path of velmarch in quotes, a button, then -- %command%:
    "/path/to/Napoleon/data/ZOLM/<launcher folder>/velmarch" --start classic -- %command%
  Buttons: classic, hardcore, 1805, bavaria, ottoman, wurttemberg, restore.
  Play then presses that button with your saved choices and starts the game
  as Steam does. With only -- %command% the window shows first.
  velmarch --help says the rest.

With a gamepad
  The arrow keys (the D-pad) move between the controls, Enter (A) presses or
  ticks, Escape (B) closes a list, a box or the window. In Game Mode pick a
  keyboard template in the controller settings and check that the D-pad
  sends the arrow keys, A Enter and B Escape.

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

# A desktop entry that starts the launcher beside it, wherever the bundle is
# unpacked: %k is the entry's own path, from which the shell takes the folder.
cat >"$out/velmarch.desktop" <<'ENTRY'
[Desktop Entry]
Type=Application
Name=Velmarch 8.4
Comment=Starts the game with the ZOLM mod's battle and campaign settings
Exec=sh -c "exec \\"\\${0%%/*}/velmarch\\"" %k
Icon=velmarch
Terminal=false
Categories=Game;StrategyGame;
ENTRY
chmod 755 "$out/velmarch.desktop"

for size in 16 24 32 48 64 128 256; do
    mkdir -p "$out/icons/hicolor/${size}x$size/apps"
    convert "$source_folder/resources/velmarch.png" -resize "${size}x$size" -strip \
        "PNG32:$out/icons/hicolor/${size}x$size/apps/velmarch.png"
done

"$source_folder/scripts/third-party.sh" linux "$out" "$source_folder"
