#!/usr/bin/env python3
"""Renders fortpad.svg into fortpad.ico (32x32, 256 colours), fortpad.xpm
(the same pixels as C source, for the window icon: Qt reads XPM data
directly, without scanning its image plugins at start-up) and the PNGs that
desktop shells ask for, icons/fortpad-<size>.png.

The SVG is drawn only with axis-aligned, filled <rect>s on a 32-unit grid,
so this rasteriser needs nothing but the standard library: at other sizes
each pixel takes the share of each rect that covers it. Run it after editing
the SVG and commit what it writes.
"""
import math
import re
import struct
import zlib
from pathlib import Path

SIZE = 32
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)
here = Path(__file__).resolve().parent


def rects(svg):
    """(x, y, w, h, rgb) for each rect, with fill inherited from its <g>."""
    group_fill = None
    for tag in re.finditer(r"<(/?)(g|rect)\b([^>]*)>", svg):
        closing, name, attrs = tag.groups()
        values = dict(re.findall(r'(\w+)="([^"]*)"', attrs))
        if name == "g":
            group_fill = None if closing else values.get("fill")
            continue
        fill = values.get("fill", group_fill).lstrip("#")
        geometry = [int(values.get(key, "0")) for key in ("x", "y", "width", "height")]
        yield (*geometry, tuple(bytes.fromhex(fill)))


def rasterise(svg, size=SIZE):
    scale = size / SIZE
    pixels = [[(0.0, 0.0, 0.0)] * size for _ in range(size)]
    for x, y, w, h, rgb in rects(svg):
        left, top, right, bottom = x * scale, y * scale, (x + w) * scale, (y + h) * scale
        for row in range(math.floor(top), math.ceil(bottom)):
            cover_y = min(row + 1, bottom) - max(row, top)
            for col in range(math.floor(left), math.ceil(right)):
                cover = cover_y * (min(col + 1, right) - max(col, left))
                old = pixels[row][col]
                pixels[row][col] = tuple(o + (n - o) * cover for o, n in zip(old, rgb))
    return [[tuple(round(c) for c in rgb) for rgb in row] for row in pixels]


def png(pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(c for rgb in row for c in rgb) for row in pixels)
    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def ico(pixels):
    palette = sorted({rgb for row in pixels for rgb in row})
    index = {rgb: i for i, rgb in enumerate(palette)}
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette).ljust(256 * 4, b"\0")
    xor_mask = b"".join(bytes(index[rgb] for rgb in row) for row in reversed(pixels))
    and_mask = bytes(SIZE // 8 * SIZE)  # fully opaque
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, len(xor_mask) + len(and_mask), 0, 0, 256, 0)
    image = info + colours + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
    return directory + image


def xpm(pixels):
    palette = sorted({rgb for row in pixels for rgb in row})
    symbols = "abcdefghijklmnopqrstuvwxyz"[: len(palette)]
    symbol = dict(zip(palette, symbols))
    lines = [f"{SIZE} {SIZE} {len(palette)} 1"]
    lines += [f"{symbol[rgb]} c #{bytes(rgb).hex().upper()}" for rgb in palette]
    lines += ["".join(symbol[rgb] for rgb in row) for row in pixels]
    body = ",\n".join(f'"{line}"' for line in lines)
    return f"/* XPM */\nstatic const char* const fortpad_xpm[] = {{\n{body}}};\n"


def main():
    svg = (here / "fortpad.svg").read_text(encoding="utf-8")
    pixels = rasterise(svg)
    (here / "fortpad.ico").write_bytes(ico(pixels))
    (here / "fortpad.xpm").write_text(xpm(pixels), encoding="ascii")
    (here / "icons").mkdir(exist_ok=True)
    for size in PNG_SIZES:
        (here / "icons" / f"fortpad-{size}.png").write_bytes(png(rasterise(svg, size)))


if __name__ == "__main__":
    main()
