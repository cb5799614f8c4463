#!/usr/bin/env python3
"""Writes the window benchmark's images (RGBA PNGs) into a skin folder."""
import struct
import sys
import zlib


def png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 6)))
        f.write(chunk(b"IEND", b""))


def main(folder):
    # A white card with a blue band at the top and a soft translucent edge.
    def background(x, y):
        edge = min(x, y, 717 - x, 462 - y)
        alpha = 255 if edge >= 3 else 120 + edge * 40
        if y < 50:
            return (40 + x * 60 // 718, 110, 220, alpha)
        return (255, 255, 255 - y // 20, alpha)

    png(folder + "/bg.png", 718, 463, background)
    png(folder + "/logo.png", 32, 32, lambda x, y: (255, 200, 0, 255 if (x - 16) ** 2 + (y - 16) ** 2 < 225 else 0))
    png(folder + "/sysbtn.png", 90, 30, lambda x, y: (255, 255, 255, [0, 60, 120][x // 30]))
    png(folder + "/button.png", 160, 32, lambda x, y: (30 + (x // 80) * 40, 120, 230, 255))
    png(folder + "/check.png", 32, 16, lambda x, y: (60, 140, 230, 255 if (x // 16 == 1 or x % 16 in (0, 15) or y in (0, 15)) else 0))
    png(folder + "/progress.png", 8, 8, lambda x, y: (50, 200, 90, 255))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
