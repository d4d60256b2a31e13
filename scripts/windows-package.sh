#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the players' Windows program here: Qt for MinGW-w64 from Debian's
# source (built once, then cached), the launcher cross-built with warnings as
# errors in ./build-windows, every test under Wine, and the zip a player
# unpacks into the launcher's folder, checked by starting it under Wine.
# Prints the zip's path as its last line.
set -eu
cd "$(dirname "$0")/.."
top=$PWD
build="$top/build-windows"

scripts/setup.sh windows
qt=$(scripts/build-qt-mingw.sh)
# A build folder configured against another Qt (an earlier recipe's) starts anew.
if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^Qt5_DIR:PATH=$qt/" "$build/CMakeCache.txt"; then
    rm -f "$build/CMakeCache.txt"
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/scripts/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Release -DVELMARCH_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure

(cd "$build" && cpack -G ZIP >/dev/null)
zip="$build/Velmarch-8.4-win64.zip"
scripts/check-windows-package.sh "$zip" "$build" "$build/launcher-windows.png"
WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    scripts/check-screen-fit.sh windows "$build/package-check/Napoleon/data/ZOLM/Launcher" \
    "$build/screen-fit"
echo "$zip"
