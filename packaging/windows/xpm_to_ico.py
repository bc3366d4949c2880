#!/usr/bin/python3
"""Writes the program file's icon from the one source image: a 32 by 32 XPM of at most 16
colours becomes an ICO of one 32x32 image at 4 bits per pixel, transparent where the XPM says
None. Needs nothing but Python, so the build makes it before the program exists.

    xpm_to_ico.py SOURCE.xpm TARGET.ico
"""

import re
import struct
import sys

SIDE = 32
MOST_COLOURS = 16
BITS = 4


def read_xpm(path):
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', open(path, encoding="ascii").read())
    width, height, colours, per_pixel = map(int, strings[0].split()[:4])
    palette = {}
    for line in strings[1:1 + colours]:
        key, words = line[:per_pixel], line[per_pixel:].split()
        value = words[words.index("c") + 1]  # the colour given for a colour display
        palette[key] = None if value.lower() == "none" else int(value.lstrip("#"), 16)
    rows = strings[1 + colours:1 + colours + height]
    pixels = [[palette[row[x:x + per_pixel]] for x in range(0, width * per_pixel, per_pixel)]
              for row in rows]
    return width, height, pixels


def main(source, target):
    width, height, pixels = read_xpm(source)
    colours = sorted({p for row in pixels for p in row if p is not None})
    if (width, height) != (SIDE, SIDE) or len(colours) > MOST_COLOURS:
        sys.exit("%s is %dx%d in %d colours, not %dx%d in at most %d"
                 % (source, width, height, len(colours), SIDE, SIDE, MOST_COLOURS))
    colours += [0] * (MOST_COLOURS - len(colours))
    index = {rgb: i for i, rgb in reversed(list(enumerate(colours)))}

    # Bottom-up rows: the colour image at 4 bits per pixel, then the 1-bit transparency mask.
    image = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        nibbles = [0 if p is None else index[p] for p in row]
        image += bytes(nibbles[x] << 4 | nibbles[x + 1] for x in range(0, SIDE, 2))
        bits = "".join("1" if p is None else "0" for p in row)
        mask += int(bits, 2).to_bytes(SIDE // 8, "big")
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, rgb >> 8 & 0xFF, rgb >> 16, 0)
                       for rgb in colours)
    header = struct.pack("<IiiHHIIiiII", 40, SIDE, 2 * SIDE, 1, BITS, 0,
                         len(image) + len(mask), 0, 0, MOST_COLOURS, 0)
    body = header + palette + bytes(image) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIDE, SIDE, MOST_COLOURS, 0, 1, BITS, len(body), 6 + 16)
    with open(target, "wb") as out:
        out.write(directory + entry + body)


if __name__ == "__main__":
    main(*sys.argv[1:])
