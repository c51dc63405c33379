#!/usr/bin/env python3
"""Draws the program's bitmaps, cursors and icon as small pixel art and writes
them as BMP, CUR and ICO files beside this script. Run it after changing a
drawing; the generated files are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

GREY = (192, 192, 192)   # toolbar background: becomes the button face colour
GREEN = (0, 255, 0)      # image-list background: transparent
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK = (128, 128, 128)
YELLOW = (255, 255, 0)
OCHRE = (192, 160, 64)
BROWN = (128, 96, 32)
BLUE = (0, 0, 160)
LBLUE = (96, 160, 255)
RED = (208, 0, 0)
NAVY = (0, 0, 128)
TICK = (0, 128, 0)


class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                if border and edge is not None:
                    self.set(x, y, edge)
                elif fill is not None:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def pattern(self, x0, y0, rows, colours):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.set(x0 + dx, y0 + dy, colours[ch])

    def blit(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.set(x0 + x, y0 + y, other.px[y][x])


def write_bmp8(path, canvas):
    colours = sorted({c for row in canvas.px for c in row})
    assert len(colours) <= 256
    index = {c: i for i, c in enumerate(colours)}
    stride = (canvas.w + 3) & ~3
    pixels = b"".join(
        bytes(index[c] for c in canvas.px[y]) + b"\0" * (stride - canvas.w)
        for y in range(canvas.h - 1, -1, -1))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(pixels), 2835, 2835,
                         len(colours), 0)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(header + palette + pixels)


def dib_32(canvas, transparent):
    """A 32-bit colour image with its AND mask, as icons and cursors hold them."""
    w, h = canvas.w, canvas.h
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(
        b"".join(bytes((0, 0, 0, 0)) if c == transparent else bytes((c[2], c[1], c[0], 255))
                 for c in canvas.px[y])
        for y in range(h - 1, -1, -1))
    mask_stride = ((w + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        bits = 0
        row = bytearray(mask_stride)
        for x in range(w):
            if canvas.px[y][x] == transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    return header + xor + b"".join(rows)


def write_icon_file(path, images, kind, hotspot=(0, 0)):
    """kind 1: icon, 2: cursor (hotspot in place of planes and bit count)."""
    data = [dib_32(c, t) for c, t in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for (c, _), d in zip(images, data):
        a, b = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, a, b, len(d), offset)
        offset += len(d)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


# --- Drawings ---------------------------------------------------------------

def closed_folder(c, x, y):
    c.rect(x + 1, y + 3, x + 6, y + 4, fill=YELLOW, edge=BROWN)
    c.rect(x + 1, y + 4, x + 15, y + 13, fill=YELLOW, edge=BROWN)
    c.line(x + 2, y + 5, x + 14, y + 5, WHITE)


def open_folder(c, x, y):
    c.rect(x + 1, y + 3, x + 6, y + 4, fill=YELLOW, edge=BROWN)
    c.rect(x + 1, y + 4, x + 13, y + 13, fill=OCHRE, edge=BROWN)
    for i in range(7):
        c.line(x + 4 + i // 2, y + 7 + i, x + 15 + i // 2 - 3, y + 7 + i, YELLOW)
    c.line(x + 4, y + 7, x + 16, y + 7, BROWN)
    c.line(x + 16, y + 7, x + 13, y + 13, BROWN)
    c.line(x + 4, y + 7, x + 1, y + 13, BROWN)


def document(c, x, y, w=10, h=13):
    c.rect(x, y, x + w, y + h, fill=WHITE, edge=BLACK)
    for yy in range(y + 3, y + h - 1, 2):
        c.line(x + 2, yy, x + w - 2, yy, DARK)
    c.line(x + w - 3, y, x + w, y + 3, BLACK)


def arrow(c, x0, y0, x1, y1, col):
    c.line(x0, y0, x1, y1, col)
    if x0 == x1:
        d = 1 if y1 > y0 else -1
        c.line(x1 - 2, y1 - 2 * d, x1, y1, col)
        c.line(x1 + 2, y1 - 2 * d, x1, y1, col)
    else:
        d = 1 if x1 > x0 else -1
        c.line(x1 - 2 * d, y1 - 2, x1, y1, col)
        c.line(x1 - 2 * d, y1 + 2, x1, y1, col)


def box(c, x, y):
    c.rect(x + 2, y + 8, x + 15, y + 15, fill=OCHRE, edge=BROWN)
    c.line(x + 2, y + 8, x + 5, y + 6, BROWN)
    c.line(x + 15, y + 8, x + 12, y + 6, BROWN)


def tile(kind):
    c = Canvas(18, 16, GREY)
    if kind == "exit":
        c.rect(2, 1, 10, 14, fill=BROWN, edge=BLACK)
        c.rect(4, 3, 8, 12, fill=OCHRE)
        c.set(7, 8, BLACK)
        arrow(c, 9, 8, 16, 8, RED)
    elif kind == "new":
        document(c, 4, 1, 10, 14)
        c.line(13, 0, 17, 4, YELLOW)
        c.line(17, 0, 13, 4, YELLOW)
    elif kind == "open":
        open_folder(c, 0, 1)
    elif kind == "view":
        document(c, 1, 1, 10, 13)
        c.rect(9, 6, 14, 11, edge=NAVY)
        c.line(14, 11, 17, 14, NAVY)
        c.line(13, 11, 16, 14, NAVY)
    elif kind == "extract":
        box(c, 0, 0)
        arrow(c, 9, 12, 9, 1, BLUE)
    elif kind == "compress":
        box(c, 0, 0)
        arrow(c, 9, 0, 9, 12, RED)
    elif kind == "delete":
        for d in range(-1, 2):
            c.line(3 + d, 2, 14 + d, 13, RED)
            c.line(14 + d, 2, 3 + d, 13, RED)
    elif kind == "ontop":
        c.rect(1, 6, 12, 14, fill=WHITE, edge=DARK)
        c.rect(5, 2, 16, 10, fill=LBLUE, edge=NAVY)
        c.rect(5, 2, 16, 3, fill=NAVY, edge=NAVY)
    elif kind == "list":
        for row in range(3):
            for col in range(2):
                x, y = 1 + col * 8, 2 + row * 5
                c.rect(x, y, x + 2, y + 2, fill=YELLOW, edge=BROWN)
                c.line(x + 4, y + 1, x + 7, y + 1, BLACK)
    elif kind == "details":
        for row in range(4):
            y = 2 + row * 4
            c.rect(1, y, 3, y + 2, fill=YELLOW, edge=BROWN)
            c.line(5, y + 1, 9, y + 1, BLACK)
            c.line(11, y + 1, 16, y + 1, DARK)
    elif kind == "test":
        box(c, 0, 0)
        for d in range(2):
            c.line(5, 4 + d, 8, 7 + d, TICK)
            c.line(8, 7 + d, 15, 0 + d, TICK)
    elif kind == "close":
        c.rect(2, 2, 15, 13, fill=WHITE, edge=NAVY)
        c.rect(2, 2, 15, 4, fill=NAVY, edge=NAVY)
        c.line(6, 6, 11, 11, BLACK)
        c.line(11, 6, 6, 11, BLACK)
    elif kind == "copy":
        document(c, 1, 1, 9, 10)
        document(c, 7, 4, 9, 11)
    elif kind == "font":
        c.line(2, 14, 7, 1, NAVY)
        c.line(7, 1, 12, 14, NAVY)
        c.line(4, 9, 10, 9, NAVY)
        c.line(13, 8, 16, 8, RED)
        c.line(13, 14, 16, 14, RED)
        c.line(16, 8, 16, 14, RED)
    return c


def strip(kinds):
    c = Canvas(18 * len(kinds), 16, GREY)
    for i, k in enumerate(kinds):
        c.blit(tile(k), 18 * i, 0)
    return c


def tree_images():
    c = Canvas(51, 15, GREEN)
    closed_folder(c, 0, 0)
    open_folder(c, 17, 0)
    document(c, 36, 1, 10, 13)
    return c


NONE = (1, 2, 3)  # transparent in cursors and icons


def cursor_base(pages):
    c = Canvas(32, 32, NONE)
    # Arrow pointer with its hotspot at (0, 0).
    arrow_rows = [
        "X", "XX", "XWX", "XWWX", "XWWWX", "XWWWWX", "XWWWWWX", "XWWWWWWX", "XWWWWWWWX",
        "XWWWWWXXXX", "XWWXWWX", "XWX XWWX", "XX  XWWX", "X    XWWX", "     XWWX", "      XX"]
    if pages:
        for i in range(pages - 1, -1, -1):
            x, y = 8 + 3 * i, 14 + 3 * i
            c.rect(x, y, x + 10, y + 13, fill=WHITE, edge=BLACK)
        px, py = 8 + 3 * (pages - 1) + 14, 14 + 3 * (pages - 1)
        c.rect(px, py, px + 8, py + 8, fill=WHITE, edge=BLACK)
        c.line(px + 2, py + 4, px + 6, py + 4, BLACK)
        c.line(px + 4, py + 2, px + 4, py + 6, BLACK)
    c.pattern(0, 0, arrow_rows, {"X": BLACK, "W": WHITE})
    return c


def no_drop_cursor():
    c = Canvas(32, 32, NONE)
    cx, cy, r = 15, 15, 11
    for y in range(32):
        for x in range(32):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if r - 3 <= d <= r:
                c.set(x, y, BLACK)
            elif r - 4 <= d < r - 3 or r < d <= r + 1:
                c.set(x, y, WHITE)
    for i in range(-1, 2):
        c.line(cx - 7 + i, cy - 7, cx + 7 + i, cy + 7, BLACK)
    return c


def program_icon(size):
    c = Canvas(size, size, NONE)
    s = size / 32.0
    def r(v):
        return int(round(v * s))
    c.rect(r(3), r(12), r(28), r(29), fill=OCHRE, edge=BROWN)
    c.rect(r(1), r(7), r(30), r(12), fill=YELLOW, edge=BROWN)
    c.rect(r(13), r(7), r(18), r(29), fill=RED, edge=RED)
    c.rect(r(8), r(1), r(23), r(7), fill=WHITE, edge=BLACK)
    if size >= 32:
        c.line(10, 3, 21, 3, DARK)
        c.line(10, 5, 19, 5, DARK)
    return c


def main():
    write_bmp8(os.path.join(HERE, "toolbar.bmp"), strip(
        ["exit", "new", "open", "view", "extract", "compress", "delete", "ontop", "list", "details",
         "test"]))
    write_bmp8(os.path.join(HERE, "viewer_toolbar.bmp"), strip(["close", "copy", "view", "font"]))
    write_bmp8(os.path.join(HERE, "tree_images.bmp"), tree_images())
    write_icon_file(os.path.join(HERE, "drag_many.cur"), [(cursor_base(3), NONE)], 2, (0, 0))
    write_icon_file(os.path.join(HERE, "no_drop.cur"), [(no_drop_cursor(), NONE)], 2, (15, 15))
    write_icon_file(os.path.join(HERE, "drag_one.cur"), [(cursor_base(1), NONE)], 2, (0, 0))
    write_icon_file(os.path.join(HERE, "zuvo.ico"),
                    [(program_icon(32), NONE), (program_icon(16), NONE)], 1)


if __name__ == "__main__":
    main()
