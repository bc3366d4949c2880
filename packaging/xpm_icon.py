#!/usr/bin/python3
"""Makes every form of the program's icon from the one source image, a 32 by 32 XPM of at most
16 colours (transparent where it says None). Needs nothing but Python, so the build makes them
before the program exists, and no form can drift from the others.

    xpm_icon.py ico SOURCE.xpm TARGET.ico   the program file's icon: one image, 4 bits a pixel
    xpm_icon.py png SOURCE.xpm TARGET.png   the PNG that Linux desktops look up
    xpm_icon.py cpp SOURCE.xpm TARGET.h     the window's icon as pixels compiled into the program
"""

import re
import struct
import sys
import zlib

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


def ico(pixels):
    colours = sorted({p for row in pixels for p in row if p is not None})
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
    return directory + entry + body


def argb(pixel):
    return 0 if pixel is None else 0xFF000000 | pixel


def png(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    # 8-bit RGBA rows, each after a filter byte of 0 (none).
    raw = b"".join(b"\0" + b"".join(struct.pack(">I", (argb(p) << 8 | argb(p) >> 24) & 0xFFFFFFFF)
                                    for p in row) for row in pixels)
    header = struct.pack(">IIBBBBB", SIDE, SIDE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def cpp(pixels):
    rows = ",\n".join("    " + ", ".join("0x%08X" % argb(p) for p in row) for row in pixels)
    return ("// Made by packaging/xpm_icon.py from packaging/tessoral.xpm; do not edit.\n"
            "#pragma once\n\n#include <cstdint>\n\nnamespace tsrl::icon {\n\n"
            "inline constexpr int kSide = %d;\n"
            "// Premultiplied 0xAARRGGBB, row by row from the top: every pixel is opaque or clear.\n"
            "inline constexpr std::uint32_t kPixels[kSide * kSide] = {\n%s};\n\n"
            "}  // namespace tsrl::icon\n" % (SIDE, rows)).encode("ascii")


WRITERS = {"ico": ico, "png": png, "cpp": cpp}


def main(form, source, target):
    width, height, pixels = read_xpm(source)
    colours = {p for row in pixels for p in row if p is not None}
    if (width, height) != (SIDE, SIDE) or len(colours) > MOST_COLOURS:
        sys.exit("%s is %dx%d in %d colours, not %dx%d in at most %d"
                 % (source, width, height, len(colours), SIDE, SIDE, MOST_COLOURS))
    with open(target, "wb") as out:
        out.write(WRITERS[form](pixels))


if __name__ == "__main__":
    main(*sys.argv[1:])
