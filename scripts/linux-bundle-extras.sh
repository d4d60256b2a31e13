#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds to the Linux bundle in FOLDER what a player and a packager read beside
# the program: Velmarch-README.txt (the players' guide),
# the icon in the sizes a desktop uses, and the licences of what it bundles.
#
#   linux-bundle-extras.sh FOLDER SOURCE-FOLDER
set -eu
out=$1
source_folder=$2

"$source_folder/scripts/players-readme.sh" linux "$out/Velmarch-README.txt"

# The players' guide names the oldest C library and C++ runtime that run the
# bundle: no older than the newest versions the program and the bundled
# libraries ask for.
newest() {
    (objdump -T "$out/velmarch"; find "$out/lib" "$out/plugins" -type f -exec objdump -T {} \;) 2>/dev/null |
        grep -o "$1_[0-9.]*" | sed "s/^$1_//" | sort -V | tail -n 1
}
stated() {
    tr '\n' ' ' <"$source_folder/docs/players.md" | grep -o "$1" | head -n 1 | grep -o '[0-9][0-9.]*[0-9]'
}
for needs in "GLIBC $(stated 'glibc [0-9.]* or newer')" "GLIBCXX $(stated 'GLIBCXX_[0-9.]* or newer')"; do
    set -- $needs
    needed=$(newest "$1")
    [ -n "$needed" ] && [ -n "${2:-}" ] || {
        echo "linux-bundle-extras: no $1 version found in the bundle or in the players' guide" >&2
        exit 1
    }
    [ "$(printf '%s\n%s\n' "$needed" "$2" | sort -V | tail -n 1)" = "$2" ] || {
        echo "linux-bundle-extras: the bundle needs ${1}_$needed, the players' guide says $2" >&2
        exit 1
    }
done

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
    # No time in the pictures: the same source gives the same bytes.
    convert "$source_folder/resources/velmarch.png" -resize "${size}x$size" -strip \
        -define png:exclude-chunks=date,time \
        "PNG32:$out/icons/hicolor/${size}x$size/apps/velmarch.png"
done

"$source_folder/scripts/write-third-party.sh" linux "$out" "$source_folder"
