#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the program's icon: a gold "Z" in the launcher's font on a dark brown
# rounded square. velmarch.png (256 x 256) is installed on Linux; velmarch.ico
# carries the Windows sizes and colour depths (make-icon.py). Needs ImageMagick
# and Python 3.
set -eu
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
    -fill '#2e1d0b' -stroke '#aaaa28' -strokewidth 10 \
    -draw 'roundrectangle 10,10,245,245,44,44' \
    -stroke none -fill '#d8c860' -font ./font.ttf -pointsize 210 \
    -gravity center -annotate +0+14 'Z' \
    -strip -depth 8 PNG32:velmarch.png
./make-icon.py
