#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Assembles velmarch.ico from velmarch.png: the 13 images a Windows shell
picks from, in this order: 32 and 16 pixels in 16 colours, 48, 32 and 16 in
256 colours, 256 stored as PNG, then 64, 48, 40, 32, 24, 20 and 16 in true
colour with alpha. ImageMagick scales the picture; the palettes are fixed
(the 16 standard colours, and a 6 x 6 x 6 cube with 40 greys), so that the
result is the same on every machine."""
import struct
import subprocess

IMAGES = [(32, 4), (16, 4), (48, 8), (32, 8), (16, 8), (256, 32),
          (64, 32), (48, 32), (40, 32), (32, 32), (24, 32), (20, 32), (16, 32)]

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
CUBE += [(round(i * 255 / 41),) * 3 for i in range(1, 41)]


def rgba(size):
    """The picture at size x size, as rows of (r, g, b, a) from the top."""
    raw = subprocess.run(["convert", "velmarch.png", "-resize", f"{size}x{size}",
                          "-depth", "8", "rgba:-"], check=True, capture_output=True).stdout
    pixels = [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]
    return [pixels[y * size:(y + 1) * size] for y in range(size)]


def nearest(palette, pixel):
    r, g, b = pixel[:3]
    return min(range(len(palette)),
               key=lambda i: (palette[i][0] - r) ** 2 + (palette[i][1] - g) ** 2
               + (palette[i][2] - b) ** 2)


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def bitmap(size, bits):
    """A DIB as icons hold it: the header counts the colour and mask rows."""
    rows = rgba(size)[::-1]  # bottom row first
    palette = VGA if bits == 4 else CUBE if bits == 8 else []
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    if len(palette) == len(CUBE):
        colours += b"\0" * 4 * (256 - len(palette))
        header = header[:32] + struct.pack("<II", 256, 0)
    image = b""
    for row in rows:
        if bits == 32:
            image += b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row)
            continue
        # Transparent pixels are black, which the mask leaves as the screen was.
        indices = [nearest(palette, p) if p[3] >= 128 else 0 for p in row]
        if bits == 8:
            image += padded(bytes(indices))
        else:
            image += padded(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, size, 2)))
    mask = b""
    for row in rows:
        bits_row = 0
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                bits_row |= 1 << (size - 1 - x)
        mask += padded(bits_row.to_bytes((size + 7) // 8, "big"))
    return header + colours + image + mask


def main():
    images = []
    for size, bits in IMAGES:
        data = open("velmarch.png", "rb").read() if size == 256 else bitmap(size, bits)
        images.append((size, bits, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    open("velmarch.ico", "wb").write(out)


main()
