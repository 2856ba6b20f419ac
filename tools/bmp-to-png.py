#!/usr/bin/env python3
"""bmp-to-png.py IN.bmp OUT.png: converts the 24-bit BMP that the Windows
screenshot tool writes, with the PNG writer of resources/render-icon.py."""
import importlib.util
import struct
import sys
from pathlib import Path

source = importlib.util.spec_from_file_location(
    "render_icon", Path(__file__).resolve().parent.parent / "resources" / "render-icon.py")
render_icon = importlib.util.module_from_spec(source)
source.loader.exec_module(render_icon)

data = Path(sys.argv[1]).read_bytes()
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert bits == 24, "a 24-bit BMP"
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    start = offset + stride * (abs(height) - 1 - y if height > 0 else y)
    row = data[start:start + width * 3]
    rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3)])
Path(sys.argv[2]).write_bytes(render_icon.png(rows))
