#!/usr/bin/python3
"""Makes every form of the program's icon from the one source file, which holds an XPM image of
at most 16 colours (transparent where it says None) for each size, each drawn for that size.
Needs nothing but Python, so the build makes them before the program exists, and no form can
drift from the others.

    xpm_icon.py ico SOURCE.xpm TARGET.ico     the program file's icon: every size, the small
                                              ones at 4 bits a pixel, 256 as PNG
    xpm_icon.py pngN SOURCE.xpm TARGET.png    the N by N PNG that Linux desktops look up
    xpm_icon.py cpp SOURCE.xpm TARGET.h       the window's 32 by 32 icon as pixels compiled in
    xpm_icon.py header|wizard SOURCE.xpm TARGET.bmp   the installer's header and side pictures
"""

import re
import struct
import sys
import zlib

SIDES = (16, 32, 48, 256)
WINDOW_SIDE = 32
PNG_IN_ICO = 256  # Windows reads this size as PNG; the rest stay the classic 4-bit images
MOST_COLOURS = 16
BITS = 4
# form | width, height of the installer's pictures, which show the 48 image on white
PICTURES = {"header": (150, 57), "wizard": (164, 314)}
PICTURE_SIDE = 48
WHITE = 0xFFFFFF


def read_xpm(path):
    """Every image in the file, by its side."""
    images = {}
    for block in re.findall(r"\{(.*?)\}", open(path, encoding="ascii").read(), re.S):
        strings = re.findall(r'"((?:[^"\\]|\\.)*)"', block)
        width, height, colours, per_pixel = map(int, strings[0].split()[:4])
        palette = {}
        for line in strings[1:1 + colours]:
            key, words = line[:per_pixel], line[per_pixel:].split()
            value = words[words.index("c") + 1]  # the colour given for a colour display
            palette[key] = None if value.lower() == "none" else int(value.lstrip("#"), 16)
        rows = strings[1 + colours:1 + colours + height]
        pixels = [[palette[row[x:x + per_pixel]] for x in range(0, width * per_pixel, per_pixel)]
                  for row in rows]
        used = {p for row in pixels for p in row if p is not None}
        if width != height or len(pixels) != height or len(used) > MOST_COLOURS:
            sys.exit("%s: a %dx%d image in %d colours, not square in at most %d"
                     % (path, width, height, len(used), MOST_COLOURS))
        images[width] = pixels
    if sorted(images) != list(SIDES):
        sys.exit("%s holds sizes %s, not %s" % (path, sorted(images), list(SIDES)))
    return images


def dib(pixels):
    """A 4-bit bitmap with its transparency mask, as an icon file holds it."""
    side = len(pixels)
    colours = sorted({p for row in pixels for p in row if p is not None})
    colours += [0] * (MOST_COLOURS - len(colours))
    index = {rgb: i for i, rgb in reversed(list(enumerate(colours)))}
    mask_stride = (side + 31) // 32 * 4  # mask rows are padded to 32 bits

    # Bottom-up rows: the colour image at 4 bits per pixel, then the 1-bit transparency mask.
    image = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        nibbles = [0 if p is None else index[p] for p in row]
        image += bytes(nibbles[x] << 4 | nibbles[x + 1] for x in range(0, side, 2))
        bits = "".join("1" if p is None else "0" for p in row)
        mask += int(bits, 2).to_bytes(side // 8, "big").ljust(mask_stride, b"\0")
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, rgb >> 8 & 0xFF, rgb >> 16, 0)
                       for rgb in colours)
    header = struct.pack("<IiiHHIIiiII", 40, side, 2 * side, 1, BITS, 0,
                         len(image) + len(mask), 0, 0, MOST_COLOURS, 0)
    return header + palette + bytes(image) + bytes(mask)


def ico(images):
    bodies = [(side, png(images[side]) if side == PNG_IN_ICO else dib(images[side]))
              for side in SIDES]
    directory = struct.pack("<HHH", 0, 1, len(bodies))
    offset = len(directory) + 16 * len(bodies)
    for side, body in bodies:
        colours = 0 if side == PNG_IN_ICO else MOST_COLOURS
        bits = 32 if side == PNG_IN_ICO else BITS
        # A side of 256 is written as 0 in its byte.
        directory += struct.pack("<BBBBHHII", side % 256, side % 256, colours, 0, 1, bits,
                                 len(body), offset)
        offset += len(body)
    return directory + b"".join(body for _, body in bodies)


def argb(pixel):
    return 0 if pixel is None else 0xFF000000 | pixel


def png(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    # 8-bit RGBA rows, each after a filter byte of 0 (none).
    raw = b"".join(b"\0" + b"".join(struct.pack(">I", (argb(p) << 8 | argb(p) >> 24) & 0xFFFFFFFF)
                                    for p in row) for row in pixels)
    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def cpp(pixels):
    rows = ",\n".join("    " + ", ".join("0x%08X" % argb(p) for p in row) for row in pixels)
    return ("// Made by packaging/xpm_icon.py from packaging/tessoral.xpm; do not edit.\n"
            "#pragma once\n\n#include <cstdint>\n\nnamespace tsrl::icon {\n\n"
            "inline constexpr int kSide = %d;\n"
            "// Premultiplied 0xAARRGGBB, row by row from the top: every pixel is opaque or clear.\n"
            "inline constexpr std::uint32_t kPixels[kSide * kSide] = {\n%s};\n\n"
            "}  // namespace tsrl::icon\n" % (len(pixels), rows)).encode("ascii")


def picture(pixels, width, height):
    """A 24-bit bitmap of the image centred on white, as the installer's pages show it."""
    side = len(pixels)
    left, top = (width - side) // 2, (height - side) // 2
    stride = (width * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            inside = 0 <= x - left < side and 0 <= y - top < side
            pixel = pixels[y - top][x - left] if inside else None
            rgb = WHITE if pixel is None else pixel
            row += bytes((rgb & 0xFF, rgb >> 8 & 0xFF, rgb >> 16))
        rows += row.ljust(stride, b"\0")
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


def make(form, images):
    if form == "ico":
        return ico(images)
    if form == "cpp":
        return cpp(images[WINDOW_SIDE])
    if form in PICTURES:
        return picture(images[PICTURE_SIDE], *PICTURES[form])
    side = re.fullmatch(r"png(\d+)", form)
    if side and int(side.group(1)) in images:
        return png(images[int(side.group(1))])
    sys.exit("no form %s" % form)


def main(form, source, target):
    data = make(form, read_xpm(source))
    with open(target, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(*sys.argv[1:])
