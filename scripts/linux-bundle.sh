#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the players' Linux bundle here: the launcher built for release in
# ./build-bundle with Debian's Qt beside it, packed as a tarball that a player
# unpacks into the launcher's folder, and checked in a minimal Debian root
# with no Qt. Prints the tarball's path as its last line.
set -eu
cd "$(dirname "$0")/.."
top=$PWD
build="$top/build-bundle"

scripts/setup.sh linux-bundle
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMARCH_LINUX_BUNDLE=ON \
    -DVELMARCH_BUILD_TESTS=OFF -DVELMARCH_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack >/dev/null)
bundle="$build/Velmarch-8.4-linux-x86_64.tar.gz"
scripts/check-linux-bundle.sh "$bundle" "$build/tests/support/make_sample_installation" \
    "$build/check" "$build/launcher-linux-bundle.png"
echo "$bundle"
