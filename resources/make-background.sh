#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes bg.jpg, the window's 800 x 800 background: a mottled brown ground
# with a vignette. Needs ImageMagick; the seed keeps it reproducible.
set -eu
cd "$(dirname "$0")"
convert -seed 1809 -size 800x800 plasma:fractal -colorspace gray -blur 0x3 \
    -auto-level -colorspace sRGB +level-colors '#140b04','#7a5a28' \
    \( -size 800x800 radial-gradient:'rgba(0,0,0,0)'-'rgba(0,0,0,0.85)' \) \
    -compose over -composite \
    -strip -type TrueColor -sampling-factor 4:2:0 -quality 88 bg.jpg
