#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the players' Linux bundle as a player gets it: unpacked into the
# launcher's folder of a sample installation inside a minimal Debian root that
# has no Qt, started there on an Xvfb screen, it shows its window with the
# background drawn, loads every Qt library and plugin from the bundle and
# none from the system, and a press of "Classic battles" stages the packs and
# starts the (stub) game; so does its desktop entry, started from another
# folder (outside the root, as a desktop starts it). It carries its Velmarch-README.txt, its icons, and a licence for every
# library it bundles. Needs root (chroot).
#
#   check-linux-bundle.sh BUNDLE SAMPLE-TOOL WORK-FOLDER SCREENSHOT
set -eu
bundle=$1
sample_tool=$2
work=$3
screenshot=$4
top="$(cd "$(dirname "$0")/.." && pwd)"

fail() {
    echo "check-linux-bundle: $*" >&2
    exit 1
}
. "$top/scripts/test-screens.sh"

root=$("$top/scripts/debian-root.sh")
if find "$root/usr/lib" -name 'libQt5*' | grep -q .; then
    fail "the Debian root has Qt of its own"
fi

# The sample installation inside the root, the bundle in its launcher's folder.
inside=/velmarch-check
rm -rf "$root$inside"
"$sample_tool" "$root$inside/sample" >/dev/null
launcher="$inside/sample/Napoleon/data/ZOLM/Launcher"
tar xzf "$bundle" -C "$root$launcher"
bundled=$(cd "$root$launcher" && find lib plugins -type f)
[ -n "$bundled" ] || fail "the bundle holds no library or plugin"
# shellcheck disable=SC2086
"$top/scripts/check-third-party.sh" "$root$launcher" $bundled
[ -s "$root$launcher/Velmarch-README.txt" ] || fail "the bundle has no Velmarch-README.txt"
for size in 16 32 48 256; do
    [ "$(identify -format %wx%h "$root$launcher/icons/hicolor/${size}x$size/apps/velmarch.png")" = "${size}x$size" ] ||
        fail "the bundle has no ${size}x$size icon"
done

mkdir -p "$work"
cleanup() {
    [ -z "${started:-}" ] || kill "$started" 2>/dev/null || true
    pkill -f "^$root$launcher/velmarch" 2>/dev/null || true
    xscreen_stop
    umount "$root/proc" 2>/dev/null || true
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
xscreen_start 1024x768 "$work"

# X clients on Linux reach the server through its abstract socket, which a
# changed root does not hide. The player's desktop asks Qt programs for
# Wayland, which the bundle does not carry: the launcher opens on X11.
chroot "$root" /usr/bin/env -i DISPLAY="$DISPLAY" HOME=/root PATH=/usr/bin:/bin QT_QPA_PLATFORM=wayland \
    XDG_DATA_HOME="$inside/sample/AppData" XDG_RUNTIME_DIR=/tmp \
    /bin/sh -c "cd '$launcher' && exec ./velmarch" >"$work/bundle-check.log" 2>&1 &
started=$!
window_wait "$work/bundle-check.log"
difference=$(window_shows_background "$screenshot")
awk "BEGIN { exit !($difference < 0.02) }" ||
    fail "the window does not show its background picture (difference $difference)"
echo "check-linux-bundle: window $(window_value Width)x$(window_value Height), background drawn (difference $difference)"

# What the running launcher has loaded: every Qt library and plugin from the
# bundle.
loaded=$(awk '$6 ~ /\.so/ { print $6 }' "/proc/$started/maps" | sort -u)
echo "$loaded" | grep -q "libqxcb.so" || fail "the X11 platform plugin is not loaded"
echo "$loaded" | grep -q "libqjpeg.so" || fail "the JPEG plugin is not loaded"
foreign=$(echo "$loaded" | grep -i 'qt' | grep -v "^$root$launcher/" || true)
[ -z "$foreign" ] || fail "loaded from outside the bundle: $foreign"
echo "check-linux-bundle: $(echo "$loaded" | grep -c "^$root$launcher/") libraries and plugins loaded from the bundle, none of Qt's from elsewhere"

game="$root$inside/sample/Napoleon/game-started.txt"
press_classic "$game" "$work/bundle-check.log"
data="$root$inside/sample/Napoleon/data"
cmp -s "$data/ZOLM_txt.pack" "$data/ZOLM/Version84/Classic/txt.pack" ||
    fail "ZOLM_txt.pack is not the Classic text pack"
cmp -s "$data/boot.pack" "$data/ZOLM/Standard/boot.pack" || fail "boot.pack is not the mod's"
scripts="$root$inside/sample/AppData/The Creative Assembly/Napoleon/scripts"
[ "$(head -c 2 "$scripts/user.script.txt" | od -An -tx1 | tr -d ' ')" = fffe ] ||
    fail "the load list is not UTF-16LE with its mark"
[ -f "$root$launcher/zolm.ini" ] || fail "the settings were not saved"
echo "check-linux-bundle: Classic battles staged the packs, saved the settings and started the game"

# The desktop entry, valid as desktops read it, starts the launcher beside it
# from any folder. Its command is run by GLib's own parser with %k, the
# entry's path, filled in as a file manager or Plasma fills it in (gio launch
# itself leaves %k empty); the game then starts in the launcher's folder.
desktop-file-validate "$root$launcher/velmarch.desktop" || fail "the desktop entry is not valid"
sed "s|%k|$root$launcher/velmarch.desktop|" "$root$launcher/velmarch.desktop" >"$work/velmarch.desktop"
for _ in $(seq 1 100); do
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$started" 2>/dev/null && fail "the launcher did not end after starting the game"
started=""
rm -f "$game"
(cd / && exec env XDG_DATA_HOME="$root$inside/sample/AppData" gio launch "$work/velmarch.desktop") \
    >"$work/desktop-entry.log" 2>&1
window_wait "$work/desktop-entry.log"
press_classic "$game" "$work/desktop-entry.log"
[ "$(head -n 1 "$game")" = "cwd=$root$launcher" ] ||
    fail "the launcher started from its desktop entry did not work from its folder: $(cat "$game")"
echo "check-linux-bundle: the desktop entry started the launcher in its folder from /"
