#!/usr/bin/env python3
"""Turn a text picture into a Windows icon, bitmap or cursor file.

Usage:  python3 tools/pixelart.py <input.txt> <output.ico|output.bmp|output.cur>

The output format follows the output file's extension.

Input format
------------
A text file made of a header followed by one or more image blocks.

* Lines starting with '#' are comments and are ignored everywhere.
* The header is a run of "key: value" lines:

    size: 32x32 16x16   one WIDTHxHEIGHT per image block, in order
    hotspot: 0,0        cursors only: the click point, x,y from the top left
    X: red              a palette line: a single character, then a colour

  Colours are the sixteen of the standard Windows palette, by name:

    black  darkred  darkgreen  darkyellow  darkblue  darkmagenta  darkcyan
    lightgrey (C0C0C0)  darkgrey (808080)  red  green  yellow  blue  magenta
    cyan  white

  plus "transparent" (icons and cursors only).  Palette characters must be
  printable, not a space, '#' or ':'.

* After the header come the image blocks, separated by one or more blank
  lines.  Each row is one line and each character is one pixel, so the file
  shows the picture.  Rows are written top to bottom.

What each output format expects:

  .ico  two blocks, 32x32 then 16x16; 4 bits per pixel with an AND mask, so
        "transparent" may be used.
  .bmp  one block of any size; 4 bits per pixel, no transparency.
  .cur  one 32x32 block, a "hotspot" line, and only black, white and
        transparent; written as a 1 bit per pixel cursor.

Anything else (a ragged row, a wrong size, a character missing from the
palette, an unknown key) stops the tool with a message naming the file and
line, and a non-zero exit status.
"""

import os
import struct
import sys

# The standard 16-colour Windows palette, in index order, as (R, G, B).
PALETTE = [
    ("black", (0x00, 0x00, 0x00)),
    ("darkred", (0x80, 0x00, 0x00)),
    ("darkgreen", (0x00, 0x80, 0x00)),
    ("darkyellow", (0x80, 0x80, 0x00)),
    ("darkblue", (0x00, 0x00, 0x80)),
    ("darkmagenta", (0x80, 0x00, 0x80)),
    ("darkcyan", (0x00, 0x80, 0x80)),
    ("lightgrey", (0xC0, 0xC0, 0xC0)),
    ("darkgrey", (0x80, 0x80, 0x80)),
    ("red", (0xFF, 0x00, 0x00)),
    ("green", (0x00, 0xFF, 0x00)),
    ("yellow", (0xFF, 0xFF, 0x00)),
    ("blue", (0x00, 0x00, 0xFF)),
    ("magenta", (0xFF, 0x00, 0xFF)),
    ("cyan", (0x00, 0xFF, 0xFF)),
    ("white", (0xFF, 0xFF, 0xFF)),
]
COLOUR_INDEX = {name: i for i, (name, _) in enumerate(PALETTE)}
TRANSPARENT = -1

# What each output format accepts: the image sizes, in order, and whether
# transparency is allowed.
FORMATS = {
    ".ico": {"sizes": [(32, 32), (16, 16)], "transparent": True},
    ".bmp": {"sizes": None, "transparent": False},
    ".cur": {"sizes": [(32, 32)], "transparent": True},
}


class InputError(Exception):
    pass


class Picture:
    """A parsed source file: images as rows of palette indexes."""

    def __init__(self):
        self.sizes = None       # list of (width, height)
        self.hotspot = None     # (x, y) or None
        self.palette = {}       # character -> palette index or TRANSPARENT
        self.images = []        # list of rows; each row a list of indexes


def parse_size(text, where):
    try:
        w, h = text.lower().split("x")
        w, h = int(w), int(h)
    except ValueError:
        raise InputError(f"{where}: bad size '{text}', expected WIDTHxHEIGHT")
    if not (1 <= w <= 256 and 1 <= h <= 256):
        raise InputError(f"{where}: size '{text}' out of range 1..256")
    return (w, h)


def parse(path):
    """Read a source file into a Picture, checking it as it goes."""
    pic = Picture()
    with open(path, encoding="ascii") as f:
        lines = f.read().splitlines()

    in_header = True
    block = []          # (line number, text) of the rows being collected
    blocks = []

    for number, raw in enumerate(lines, 1):
        where = f"{path}:{number}"
        line = raw.rstrip()
        if line.startswith("#"):
            continue
        if in_header:
            if not line:
                continue
            if ":" in line:
                key, _, value = line.partition(":")
                key, value = key.strip(), value.strip()
                if key == "size":
                    pic.sizes = [parse_size(s, where) for s in value.split()]
                    if not pic.sizes:
                        raise InputError(f"{where}: 'size' needs a value")
                elif key == "hotspot":
                    try:
                        x, y = (int(v) for v in value.split(","))
                    except ValueError:
                        raise InputError(f"{where}: bad hotspot '{value}', expected X,Y")
                    pic.hotspot = (x, y)
                elif len(key) == 1:
                    if key in " #:" or not key.isprintable():
                        raise InputError(f"{where}: '{key}' cannot be a palette character")
                    if key in pic.palette:
                        raise InputError(f"{where}: palette character '{key}' defined twice")
                    if value == "transparent":
                        pic.palette[key] = TRANSPARENT
                    elif value in COLOUR_INDEX:
                        pic.palette[key] = COLOUR_INDEX[value]
                    else:
                        names = ", ".join(name for name, _ in PALETTE)
                        raise InputError(f"{where}: unknown colour '{value}' "
                                         f"(use transparent, {names})")
                else:
                    raise InputError(f"{where}: unknown key '{key}'")
                continue
            in_header = False
        if line:
            if line != raw:
                raise InputError(f"{where}: trailing whitespace in a row")
            block.append((number, line))
        elif block:
            blocks.append(block)
            block = []
    if block:
        blocks.append(block)

    if pic.sizes is None:
        raise InputError(f"{path}: no 'size' line in the header")
    if not pic.palette:
        raise InputError(f"{path}: no palette lines in the header")
    if len(blocks) != len(pic.sizes):
        raise InputError(f"{path}: 'size' lists {len(pic.sizes)} image(s) "
                         f"but the file has {len(blocks)} image block(s)")

    for (width, height), block in zip(pic.sizes, blocks):
        first = block[0][0]
        if len(block) != height:
            raise InputError(f"{path}:{first}: image block has {len(block)} rows, "
                             f"expected {height}")
        rows = []
        for number, line in block:
            if len(line) != width:
                raise InputError(f"{path}:{number}: row is {len(line)} pixels wide, "
                                 f"expected {width}")
            row = []
            for column, ch in enumerate(line):
                if ch not in pic.palette:
                    raise InputError(f"{path}:{number}:{column + 1}: character '{ch}' "
                                     f"is not in the palette")
                row.append(pic.palette[ch])
            rows.append(row)
        pic.images.append(rows)
    return pic


def check_for_format(pic, ext, path):
    """Check that the picture fits what the output format can hold."""
    rules = FORMATS[ext]
    if rules["sizes"] is not None and pic.sizes != rules["sizes"]:
        want = " ".join(f"{w}x{h}" for w, h in rules["sizes"])
        have = " ".join(f"{w}x{h}" for w, h in pic.sizes)
        raise InputError(f"{path}: {ext} needs size '{want}', the file has '{have}'")
    if ext == ".bmp" and len(pic.images) != 1:
        raise InputError(f"{path}: .bmp holds exactly one image")
    used = {index for image in pic.images for row in image for index in row}
    if TRANSPARENT in used and not rules["transparent"]:
        raise InputError(f"{path}: {ext} cannot hold transparent pixels")
    if ext == ".cur":
        allowed = {TRANSPARENT, COLOUR_INDEX["black"], COLOUR_INDEX["white"]}
        if not used <= allowed:
            raise InputError(f"{path}: a cursor may only use black, white and transparent")
        if pic.hotspot is None:
            raise InputError(f"{path}: a cursor needs a 'hotspot: X,Y' line")
        x, y = pic.hotspot
        w, h = pic.sizes[0]
        if not (0 <= x < w and 0 <= y < h):
            raise InputError(f"{path}: hotspot {x},{y} lies outside the {w}x{h} image")
    elif pic.hotspot is not None:
        raise InputError(f"{path}: 'hotspot' only applies to cursors")


# --- Writing -----------------------------------------------------------------

def pack_rows(image, bits, value):
    """Pack rows bottom-up, bits per pixel, each row padded to 4 bytes.

    value(index) gives the number stored for one pixel.
    """
    out = bytearray()
    per_byte = 8 // bits
    for row in reversed(image):
        packed = bytearray()
        for start in range(0, len(row), per_byte):
            byte = 0
            for i in range(per_byte):
                byte <<= bits
                if start + i < len(row):
                    byte |= value(row[start + i])
            packed.append(byte)
        packed.extend(b"\0" * (-len(packed) % 4))
        out += packed
    return bytes(out)


def palette_bytes(names):
    """RGBQUAD entries (blue, green, red, 0) for the named colours."""
    rgb = dict(PALETTE)
    return b"".join(struct.pack("<4B", b, g, r, 0)
                    for r, g, b in (rgb[name] for name in names))


def info_header(width, height, bits, image_size, colours):
    """A BITMAPINFOHEADER (40 bytes)."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def colour_or_black(index):
    return 0 if index == TRANSPARENT else index


def and_mask(image):
    return pack_rows(image, 1, lambda index: 1 if index == TRANSPARENT else 0)


def icon_image(image):
    """One icon image: header, 16-colour palette, XOR bitmap, AND mask."""
    height, width = len(image), len(image[0])
    xor = pack_rows(image, 4, colour_or_black)
    mask = and_mask(image)
    return (info_header(width, height * 2, 4, len(xor) + len(mask), 16)
            + palette_bytes(name for name, _ in PALETTE) + xor + mask)


def write_ico(pic):
    count = len(pic.images)
    data = [icon_image(image) for image in pic.images]
    out = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    for image, blob in zip(pic.images, data):
        height, width = len(image), len(image[0])
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0,
                           1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(data)


def write_bmp(pic):
    image = pic.images[0]
    height, width = len(image), len(image[0])
    pixels = pack_rows(image, 4, lambda index: index)
    header = (info_header(width, height, 4, len(pixels), 16)
              + palette_bytes(name for name, _ in PALETTE))
    offset = 14 + len(header)
    return (struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
            + header + pixels)


def write_cur(pic):
    image = pic.images[0]
    height, width = len(image), len(image[0])
    white = COLOUR_INDEX["white"]
    xor = pack_rows(image, 1, lambda index: 1 if index == white else 0)
    mask = and_mask(image)
    blob = (info_header(width, height * 2, 1, len(xor) + len(mask), 2)
            + palette_bytes(["black", "white"]) + xor + mask)
    x, y = pic.hotspot
    # In a cursor directory entry the planes and bit count fields hold the
    # hotspot.
    return (struct.pack("<HHH", 0, 2, 1)
            + struct.pack("<BBBBHHII", width % 256, height % 256, 2, 0,
                          x, y, len(blob), 6 + 16)
            + blob)


WRITERS = {".ico": write_ico, ".bmp": write_bmp, ".cur": write_cur}


def main(argv):
    if len(argv) != 3:
        print("usage: pixelart.py <input.txt> <output.ico|output.bmp|output.cur>",
              file=sys.stderr)
        return 2
    source, target = argv[1], argv[2]
    ext = os.path.splitext(target)[1].lower()
    if ext not in WRITERS:
        print(f"pixelart: {target}: unknown output type '{ext}' "
              "(use .ico, .bmp or .cur)", file=sys.stderr)
        return 2
    try:
        pic = parse(source)
        check_for_format(pic, ext, source)
    except (InputError, OSError, UnicodeDecodeError) as e:
        print(f"pixelart: {e}", file=sys.stderr)
        return 1
    data = WRITERS[ext](pic)
    # Write through a temporary name so a failed run leaves no half file.
    temporary = target + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
