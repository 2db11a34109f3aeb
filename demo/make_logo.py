#!/usr/bin/env python3
"""Draws the sample company logo (demo/logo.png) with the standard library only."""
import math
import struct
import sys
import zlib

W = H = 96


def pixel(x, y):
    cx, cy = x - W / 2 + 0.5, y - H / 2 + 0.5
    r = math.hypot(cx, cy)
    if r > 46:
        return (0, 0, 0, 0)
    edge = max(0.0, min(1.0, 46 - r))
    # Blue disc with a lighter ring and two waves: a river port.
    if r > 41:
        rgb = (235, 242, 250)
    else:
        t = (cy + 41) / 82
        rgb = (int(20 + 30 * t), int(70 + 60 * t), int(150 + 60 * t))
        for base, amp in ((8, 6), (22, 5)):
            wave = base + amp * math.sin(cx / 7.0)
            if abs(cy - wave) < 3.2:
                rgb = (250, 250, 250)
        if -30 < cx < 30 and -28 < cy < -8 and abs(cx) < 30 - (cy + 28) * 0.3:
            rgb = (245, 190, 40)
    return rgb + (int(255 * edge),)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(W)) for y in range(H))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
out = sys.argv[1] if len(sys.argv) > 1 else "logo.png"
with open(out, "wb") as f:
    f.write(png)
