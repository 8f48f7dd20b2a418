#!/usr/bin/env python3
"""Writes the selection gauge's picture: 90 x 25 pixels, 8 bits per pixel,
uncompressed, 256-entry palette; "PELMORA" in yellow capitals on a dark blue
field inside a bright blue frame.  Usage: make_gauge_bitmap.py OUT.bmp"""
import struct
import sys

WIDTH, HEIGHT = 90, 25
FRAME = 2
SCALE = 2

# 5 x 7 capitals, one string per row, '#' for a lit pixel.
GLYPHS = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
}

DARK_BLUE, BRIGHT_BLUE, YELLOW = 1, 2, 3
PALETTE = [(0, 0, 0), (0x10, 0x18, 0x60), (0x30, 0x80, 0xFF), (0xFF, 0xE0, 0x20)]
PALETTE += [(0, 0, 0)] * (256 - len(PALETTE))


def picture():
    rows = [[DARK_BLUE] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if x < FRAME or y < FRAME or x >= WIDTH - FRAME or y >= HEIGHT - FRAME:
                rows[y][x] = BRIGHT_BLUE
    text = "PELMORA"
    advance = 5 * SCALE + 2
    left = (WIDTH - (len(text) * advance - 2)) // 2
    top = (HEIGHT - 7 * SCALE) // 2
    for i, letter in enumerate(text):
        for gy, line in enumerate(GLYPHS[letter]):
            for gx, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(SCALE):
                    for dx in range(SCALE):
                        rows[top + gy * SCALE + dy][left + i * advance + gx * SCALE + dx] = YELLOW
    return rows


def bmp_bytes(rows):
    stride = (WIDTH + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - WIDTH) for row in reversed(rows))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(bmp_bytes(picture()))
