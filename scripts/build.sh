#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the launcher, its tests and tools in ./build.
set -eu
cd "$(dirname "$0")/.."
"$PWD/scripts/setup.sh"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARCH_WERROR=ON "$@" >/dev/null
cmake --build build --parallel "$(nproc)"
