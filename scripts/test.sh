#!/bin/sh
# Installs what is missing, checks the formatting, builds with warnings as
# errors, and runs every test.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
scripts/check-format.sh
ctest --test-dir build --output-on-failure
