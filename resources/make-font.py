#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes font.ttf: Debian's Caladea Regular (SIL Open Font License 1.1, see
font-LICENSE.txt) with its family renamed to "JSL Ancient", style "Normal".
Needs fonts-crosextra-caladea and python3-fonttools."""
import pathlib

from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/crosextra/Caladea-Regular.ttf"
FAMILY, STYLE = "JSL Ancient", "Normal"

font = TTFont(SOURCE)
names = font["name"]
replacements = {
    1: FAMILY,
    2: STYLE,
    3: f"{FAMILY} {STYLE}; derived from Caladea",
    4: f"{FAMILY} {STYLE}",
    6: "JSLAncient-Normal",
    16: FAMILY,
    17: STYLE,
}
for record in names.names:
    if record.nameID in replacements:
        record.string = replacements[record.nameID]
font.save(pathlib.Path(__file__).with_name("font.ttf"))
