#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the players' zip as a player gets it: it holds the program, its
# README and the licences of all that is built in (Velmarch-THIRD-PARTY.txt,
# Velmarch-licenses/); the program loads no library but Windows' own; copied alone
# into the launcher's folder of a sample installation and started under Wine
# (on an Xvfb screen) it shows its window with the background picture drawn,
# and a press of "Classic battles" stages the packs and starts the (stub) game.
# Keeps a screenshot of the window, and what the program printed in
# BUILD-FOLDER/package-check.log.
#
#   check-windows-package.sh ZIP BUILD-FOLDER SCREENSHOT
set -eu
zip=$1
build=$2
screenshot=$3

export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sample="$build/package-check"
rm -rf "$sample"
mkdir -p "$sample"
wineboot --init

fail() {
    echo "check-windows-package: $*" >&2
    exit 1
}

# The zip: the program, its README and the licences, nothing else.
unpacked="$build/package-contents"
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
extra=$(cd "$unpacked" && find . -type f ! -path './Velmarch-licenses/*' | sed 's|^\./||' |
    grep -vx -e 'Velmarch 8.4.exe' -e Velmarch-README.txt -e Velmarch-THIRD-PARTY.txt || true)
[ -s "$unpacked/Velmarch-README.txt" ] || fail "the zip has no Velmarch-README.txt"
[ -z "$extra" ] || fail "the zip holds more than the program, its README and the licences: $extra"
"$(dirname "$0")/check-third-party.sh" "$unpacked"
# An entry for every attribution in Qt's source whose code the program links,
# worked out afresh from the link map and the Qt build's record.
qt=$(sed -n 's|^Qt5_DIR:[A-Z]*=\(.*\)/lib/cmake/Qt5$|\1|p' "$build/CMakeCache.txt")
rm -rf "$build/attributions-check"
"$(dirname "$0")/qt-attributions.pl" "$qt" "$build/velmarch.map" "$build/attributions-check" \
    >"$build/attributions-check.tsv"
[ -s "$build/attributions-check.tsv" ] || fail "the program links no code from elsewhere in Qt's source"
cut -f1 "$build/attributions-check.tsv" | while read -r name; do
    grep -qxF "$name" "$unpacked/Velmarch-THIRD-PARTY.txt" ||
        fail "the program holds $name, which Velmarch-THIRD-PARTY.txt does not name"
done

# One file: it loads nothing but Windows' own libraries, neither Qt's nor
# the compiler's runtime.
program="$unpacked/Velmarch 8.4.exe"
imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' |
    tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "objdump names no library the program loads"
system32="$WINEPREFIX/drive_c/windows/system32"
for dll in $imports; do
    if echo "$dll" | grep -q -e '^qt5' -e '^libstdc' -e '^libgcc' -e '^libwinpthread'; then
        fail "the program loads $dll"
    fi
    ls "$system32" | grep -qix "$dll" || fail "the program loads $dll, which is not part of Windows"
done
echo "check-windows-package: one file of $(($(stat -c %s "$program") / 1024)) KB, loading only Windows' own" $imports

# The program alone in the launcher's folder of a sample installation, laid
# out by the Windows build's own tool with the Windows stub game.
wine "$build/bin/make_sample_installation.exe" "Z:$sample" >/dev/null
launcher="$sample/Napoleon/data/ZOLM/Launcher"
cp "$program" "$launcher/"
# The game's per-user folder, as the game leaves it in the prefix's profile.
roaming="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
rm -rf "$roaming/The Creative Assembly"
mkdir -p "$roaming"
cp -r "$sample/AppData/The Creative Assembly" "$roaming/"

# The program on a screen of its own. Wine's desktop process, started above
# with no display, must end first: a program started while it runs would
# open its window on no screen.
. "$(dirname "$0")/test-screens.sh"
wineserver -w
xscreen_start 1024x768 "$build"
trap 'wineserver -k 2>/dev/null || true; xscreen_stop' EXIT
# At 100 %, whatever scale an earlier check left in the prefix, and framed
# by Wine as it frames windows with no window manager (the screen check has
# Wine draw its own frame).
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
started=$(date +%s)
(cd "$launcher" && env -u WINEPATH \
    wine "Velmarch 8.4.exe" >"$build/package-check.log" 2>&1 &)
window_wait "$build/package-check.log"
echo "check-windows-package: the window appeared after $(($(date +%s) - started)) s"
difference=$(window_shows_background "$screenshot")
awk "BEGIN { exit !($difference < 0.02) }" ||
    fail "the window does not show its background picture (difference $difference)"
echo "check-windows-package: window $(window_value Width)x$(window_value Height), background drawn (difference $difference)"

press_classic "$sample/Napoleon/game-started.txt" "$build/package-check.log"
data="$sample/Napoleon/data"
cmp -s "$data/ZOLM_txt.pack" "$data/ZOLM/Version84/Classic/txt.pack" ||
    fail "ZOLM_txt.pack is not the Classic text pack"
cmp -s "$data/boot.pack" "$data/ZOLM/Standard/boot.pack" || fail "boot.pack is not the mod's"
[ "$(head -c 2 "$roaming/The Creative Assembly/Napoleon/scripts/user.script.txt" | od -An -tx1 | tr -d ' ')" = fffe ] ||
    fail "the load list is not UTF-16LE with its mark"
[ -f "$launcher/zolm.ini" ] || fail "the settings were not saved"
echo "check-windows-package: Classic battles staged the packs, saved the settings and started the game"
