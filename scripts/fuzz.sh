#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of ./build-asan (made by scripts/sanitizers.sh) for
# the given seconds each (60 unless given), starting from its seed corpus in
# tests/fuzz/corpus/ and what earlier runs here added in build-asan/corpus/.
# A broken invariant or a sanitizer report stops it, with the input kept in
# build-asan/. For a longer run: scripts/fuzz.sh 3600
set -eu
cd "$(dirname "$0")/.."
top=$PWD
seconds=${1:-60}
. scripts/sanitizer-options.sh
# The tests unwind fully for their leak suppressions to match; a fuzz target
# leaks nothing of Qt's offscreen screen before it ends, and runs far faster
# without.
# The readers of JSON unwind fully all the same: the suppression of a leak in
# Qt's JSON parser finds the parser's name only in a whole stack.
options=$ASAN_OPTIONS

for seeds in tests/fuzz/corpus/*; do
    name=$(basename "$seeds")
    case $name in
    journal | copy_record) ASAN_OPTIONS="$options:fast_unwind_on_malloc=0" ;;
    *) ASAN_OPTIONS="$options:fast_unwind_on_malloc=1" ;;
    esac
    export ASAN_OPTIONS
    corpus="$top/build-asan/corpus/$name"
    mkdir -p "$corpus"
    cp "$seeds"/* "$corpus"/
    log="$top/build-asan/fuzz_$name.log"
    # The targets work in an installation of their own: the input that
    # broke one is kept here.
    if ! (cd build-asan && tests/fuzz/fuzz_"$name" -max_total_time="$seconds" \
        -artifact_prefix="$top/build-asan/" -print_final_stats=1 "$corpus" >"$log" 2>&1); then
        grep -v '^#' "$log" | tail -n 40 >&2
        echo "fuzz: fuzz_$name failed; the input is in build-asan/" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
    echo "fuzz: fuzz_$name: $runs runs in $seconds s ($speed a second), $coverage"
done
