#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the launcher and all its tests with clang in two more build folders,
# one with AddressSanitizer and UndefinedBehaviorSanitizer (./build-asan, which
# also builds the fuzz targets) and one with ThreadSanitizer (./build-tsan),
# runs the whole Linux test suite in each, and then every fuzz target for a
# minute (scripts/fuzz.sh). The first report of any of them fails the run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh sanitizers
. scripts/sanitizer-options.sh

configure() {
    folder=$1
    shift
    cmake -S . -B "$folder" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELMARCH_WERROR=ON "$@" >/dev/null
    cmake --build "$folder" --parallel "$(nproc)"
}

configure build-asan -DVELMARCH_SANITIZE=address,undefined -DVELMARCH_FUZZ=ON
ctest --test-dir build-asan --output-on-failure
configure build-tsan -DVELMARCH_SANITIZE=thread
ctest --test-dir build-tsan --output-on-failure
scripts/fuzz.sh 60
