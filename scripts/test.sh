#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the formatting, builds with warnings as
# errors, and runs every test: on Linux (and the window on screens of several
# sizes and scales), again under the sanitizers with the fuzz targets, the
# players' Linux bundle in a minimal Debian root (made
# once per machine), then the Windows build under Wine (which builds Qt for
# Windows first when this machine has none cached).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh tests
scripts/build.sh
scripts/check-format.sh
scripts/check-layers.sh
scripts/check-players-guide.sh
ctest --test-dir build --output-on-failure
scripts/check-screen-fit.sh linux "$PWD/build/velmarch" build/tests/support/make_sample_installation \
    "$PWD/build/screen-fit"
scripts/sanitizers.sh
scripts/linux-bundle.sh
scripts/windows-package.sh
