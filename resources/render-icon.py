#!/usr/bin/env python3
"""Renders fortpad.svg into fortpad.ico (every size Windows draws, in 32-bit
colour, 256 pixels as an RGBA PNG), fortpad.xpm (the 32-pixel image as C source, for
the window icon: Qt reads XPM data directly, without scanning its image
plugins at start-up) and the PNGs that desktop shells and browsers ask for,
icons/fortpad-<size>.png.

The SVG is drawn only with axis-aligned, filled <rect>s on a 32-unit grid,
so this rasteriser needs nothing but the standard library. Below 32 pixels
each rect's edges snap to whole pixels (at least one pixel wide), so small
icons stay crisp; above, each pixel takes the share of each rect that covers
it. Run it after editing the SVG and commit what it writes.
"""
import math
import re
import struct
import zlib
from pathlib import Path

SIZE = 32
# Browsers: an iPhone home screen (180), the web app manifest (192, 512).
PNG_SIZES = (16, 24, 32, 48, 64, 128, 180, 192, 256, 512)
# Title bar, taskbar, Alt+Tab and Explorer at 100 %, 125 %, 150 % and more.
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
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


def snapped(start, length, scale):
    """A rect's edges on whole pixels: rounded, and never thinner than one."""
    first = round(start * scale)
    return first, max(first + 1, round((start + length) * scale))


def rasterise(svg, size=SIZE):
    scale = size / SIZE
    pixels = [[(0.0, 0.0, 0.0)] * size for _ in range(size)]
    for x, y, w, h, rgb in rects(svg):
        if size < SIZE:
            (left, right), (top, bottom) = snapped(x, w, scale), snapped(y, h, scale)
        else:
            left, top, right, bottom = x * scale, y * scale, (x + w) * scale, (y + h) * scale
        for row in range(math.floor(top), math.ceil(bottom)):
            cover_y = min(row + 1, bottom) - max(row, top)
            for col in range(math.floor(left), math.ceil(right)):
                cover = cover_y * (min(col + 1, right) - max(col, left))
                old = pixels[row][col]
                pixels[row][col] = tuple(o + (n - o) * cover for o, n in zip(old, rgb))
    return [[tuple(round(c) for c in rgb) for rgb in row] for row in pixels]


def png(pixels, alpha=False):
    """8 bits a channel: RGB, or with `alpha` RGBA (all opaque)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    opaque = b"\xff" if alpha else b""
    raw = b"".join(b"\0" + b"".join(bytes(rgb) + opaque for rgb in row) for row in pixels)
    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6 if alpha else 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bitmap(pixels):
    """An icon image as Windows stores it: a 32-bit BGRA bitmap, bottom row
    first, at twice its height for the (unused, all opaque) AND mask."""
    size = len(pixels)
    colours = b"".join(bytes((b, g, r, 255)) for row in reversed(pixels) for r, g, b in row)
    and_mask = bytes((size + 31) // 32 * 4 * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colours) + len(and_mask), 0, 0, 0, 0)
    return info + colours + and_mask


def ico(images):
    """images: {size: pixels}. 256 pixels go in as PNG, in 32-bit RGBA, the
    only PNG that Windows' imaging component reads in an icon."""
    encoded = [(size, png(pixels, alpha=True) if size == 256 else bitmap(pixels))
               for size, pixels in sorted(images.items())]
    offset = 6 + 16 * len(encoded)
    directory = struct.pack("<HHH", 0, 1, len(encoded))
    for size, data in encoded:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in encoded)


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
    (here / "fortpad.ico").write_bytes(ico({size: rasterise(svg, size) for size in ICO_SIZES}))
    (here / "fortpad.xpm").write_text(xpm(rasterise(svg)), encoding="ascii")
    (here / "icons").mkdir(exist_ok=True)
    for size in PNG_SIZES:
        (here / "icons" / f"fortpad-{size}.png").write_bytes(png(rasterise(svg, size)))


if __name__ == "__main__":
    main()
