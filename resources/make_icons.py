#!/usr/bin/env python3
"""Draws the application icon (a plain window: white client area under a blue title bar with
three caption buttons) pixel by pixel at 16, 32 and 48 pixels and writes it as .ico files of
uncompressed DIBs with AND masks: 4-bit and 8-bit images with colour tables, 32-bit images with
alpha. The output is deterministic; run it from anywhere:

    python3 resources/make_icons.py [--output-dir DIR] [--preview out.png]
"""
import argparse
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_FILES = ("app_large.ico", "app_small.ico")

# (size, bits per pixel) in the order the icon groups list them.
IMAGES = ((32, 4), (16, 4), (48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32))

# The 16-colour palette (black, maroon, green, olive, navy, purple, teal, silver, grey, red,
# lime, yellow, blue, fuchsia, aqua, white).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

FRAME = (64, 64, 64)
CLIENT = (255, 255, 255)
BUTTON = (192, 192, 192)
GLYPH = (0, 0, 0)
TITLE_START = (0, 64, 160)  # the 8-bit images use this one shade
TITLE_END = (64, 144, 240)
SHADOW_ALPHA = 72

# Per size: window rectangle (left, top, right, bottom, inclusive), title bar rows below the
# frame, caption button side, gap between buttons.
LAYOUT = {
    16: dict(rect=(0, 1, 15, 14), title=4, button=2, gap=1),
    32: dict(rect=(1, 3, 29, 27), title=7, button=5, gap=1),
    48: dict(rect=(2, 5, 44, 41), title=10, button=7, gap=2),
}


def glyphs(side):
    """Pixels (dx, dy) of the minimise, maximise and close glyphs inside a button of this side;
    the smallest buttons carry none."""
    if side < 5:
        return [], [], []
    inset = 1
    n = side - 2 * inset
    minimise = [(inset + x, inset + n - 1) for x in range(n)]
    maximise = [(inset + x, inset + y) for x in range(n) for y in range(n)
                if x in (0, n - 1) or y in (0, n - 1) or (y == 1 and n >= 5)]
    close = [(inset + i, inset + i) for i in range(n)] + [(inset + n - 1 - i, inset + i) for i in range(n)]
    return minimise, maximise, close


def draw(size, depth):
    """Returns rows of (r, g, b, a) pixels, top row first."""
    layout = LAYOUT[size]
    left, top, right, bottom = layout["rect"]
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def put(x, y, rgb, alpha=255):
        pixels[y][x] = (rgb[0], rgb[1], rgb[2], alpha)

    if depth == 32:
        for y in range(top + 1, bottom + 2):
            for x in range(left + 1, right + 2):
                if x < size and y < size:
                    put(x, y, (0, 0, 0), SHADOW_ALPHA)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            put(x, y, FRAME)
    title_top, title_bottom = top + 1, top + layout["title"]
    for y in range(title_top, title_bottom + 1):
        for x in range(left + 1, right):
            if depth < 32:
                colour = TITLE_START  # the 4-bit images take the nearest of their 16
            else:
                t = (x - left - 1) / max(1, right - left - 2)
                colour = tuple(round(a + (b - a) * t) for a, b in zip(TITLE_START, TITLE_END))
            put(x, y, colour)
    for y in range(title_bottom + 1, bottom):
        for x in range(left + 1, right):
            put(x, y, CLIENT)

    side, gap = layout["button"], layout["gap"]
    button_top = title_top + (layout["title"] - side) // 2
    button_right = right - 1 - (1 if size > 16 else 0)
    for index, glyph in enumerate(reversed(glyphs(side))):  # close, maximise, minimise
        button_left = button_right - side + 1 - index * (side + gap)
        for dy in range(side):
            for dx in range(side):
                put(button_left + dx, button_top + dy, BUTTON)
        for dx, dy in glyph:
            put(button_left + dx, button_top + dy, GLYPH)
    return pixels


def palette_for(depth):
    if depth == 4:
        return VGA
    colours = list(VGA) + [TITLE_START, FRAME]
    return colours + [(0, 0, 0)] * (256 - len(colours))


def nearest(colour, palette):
    return min(palette, key=lambda p: sum((a - b) ** 2 for a, b in zip(colour, p)))


def row_bytes(bits):
    return (bits + 31) // 32 * 4


def encode_image(size, depth):
    pixels = draw(size, depth)
    xor_rows, and_rows = [], []
    palette = palette_for(depth) if depth < 32 else None
    for row in reversed(pixels):  # DIBs are stored bottom-up
        mask_bits = 0
        if depth == 32:
            data = b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
        else:
            indices = [palette.index(nearest((r, g, b), palette)) if a else 0 for r, g, b, a in row]
            if depth == 8:
                data = bytes(indices)
            else:
                data = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                mask_bits |= 1 << (size - 1 - x)
        xor_rows.append(data.ljust(row_bytes(size * depth), b"\0"))
        and_rows.append(mask_bits.to_bytes((size + 7) // 8, "big").ljust(row_bytes(size), b"\0"))
    xor, mask = b"".join(xor_rows), b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette) if palette else b""
    return header + table + xor + mask


def encode_icon():
    images = [encode_image(size, depth) for size, depth in IMAGES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for (size, depth), data in zip(IMAGES, images):
        colours = 16 if depth == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, depth, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def write_preview(path, scale=8):
    """A PNG of every image side by side, enlarged, over a checkerboard that shows the alpha."""
    cells = [(size, depth, draw(size, depth)) for size, depth in IMAGES]
    width = sum(size * scale + 16 for size, _, _ in cells) + 16
    height = 48 * scale + 32
    canvas = [[(255, 255, 255)] * width for _ in range(height)]
    x0 = 16
    for size, depth, pixels in cells:
        for y in range(size * scale):
            for x in range(size * scale):
                r, g, b, a = pixels[y // scale][x // scale]
                if depth < 32:  # as the colour table stores it
                    r, g, b = nearest((r, g, b), palette_for(depth))
                back = 200 if ((x // 8) + (y // 8)) % 2 else 240
                canvas[16 + y][x0 + x] = tuple(round((c * a + back * (255 - a)) / 255) for c in (r, g, b))
        x0 += size * scale + 16
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in canvas)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as out:
        out.write(png)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output-dir", default=HERE,
                        help="where the .ico files go (default: beside this script)")
    parser.add_argument("--preview", help="also write an enlarged PNG of every image here")
    args = parser.parse_args()
    icon = encode_icon()
    for name in ICON_FILES:
        with open(os.path.join(args.output_dir, name), "wb") as out:
            out.write(icon)
    if args.preview:
        write_preview(args.preview)
        print(args.preview)


if __name__ == "__main__":
    main()
