#!/usr/bin/env python3
"""Draws the program's icon (16, 20, 24, 32, 40 and 48 pixels: the small icon at 100 %, 125 %,
150 %, 200 % and 250 %, the large one) and the toolbar bitmaps: six buttons on light grey, the
colour the toolbar makes transparent, at 16 x 15 (100 %), 24 x 23 (150 %) and 32 x 30 (200 %).
Run it again after a change:
    python3 resources/draw-images.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
GREY = (192, 192, 192)


def write_bmp(path, width, height, pixels):
    """pixels[y][x] = (r, g, b); 24 bits, rows bottom-up and padded to four bytes."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_ico(path, images):
    """images: list of (size, pixels[y][x] = (r, g, b, a)); 32-bit images with an empty mask."""
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                r, g, b, a = pixels[y][x]
                xor += bytes((b, g, r, a))
        mask_row = ((size + 31) // 32) * 4
        mask = b"\0" * (mask_row * size)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0,
                           0, 0, 0)
        blob = info + xor + mask
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob),
                               offset + len(blobs))
        blobs += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


# The icon: a memory chip with an arrow that points up, drawn on a 48-unit grid and sampled
# 4 x 4 per pixel, so that every size comes out smooth.

BODY = (47, 62, 78)
BODY_EDGE = (28, 38, 50)
PIN = (214, 170, 64)
ARROW = (60, 196, 106)
ARROW_EDGE = (24, 120, 60)


def in_round_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def icon_colour(x, y):
    """The colour at a point of the 48-unit grid, or None outside the drawing."""
    if in_triangle(x, y, (12, 24), (36, 24), (24, 9)) or (19.5 <= x <= 28.5 and 23 <= y <= 36):
        inner = in_triangle(x, y, (15, 22.8), (33, 22.8), (24, 11.5)) or (
            21 <= x <= 27 and 22 <= y <= 34.5)
        return ARROW if inner else ARROW_EDGE
    if in_round_rect(x, y, 9, 6, 39, 42, 4):
        inner = in_round_rect(x, y, 10.5, 7.5, 37.5, 40.5, 3)
        return BODY if inner else BODY_EDGE
    for pin_y in (11, 18.5, 26, 33.5):
        if pin_y <= y <= pin_y + 3.5 and (3 <= x <= 9 or 39 <= x <= 45):
            return PIN
    return None


def draw_icon(size):
    samples = 4
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * 48 / size
                    y = (py + (sy + 0.5) / samples) * 48 / size
                    c = icon_colour(x, y)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // n, acc[1] // n, acc[2] // n, 255 * n // (samples * samples)))
        pixels.append(row)
    return pixels


# The toolbar buttons, drawn on a 16 x 15 grid of units. A cell of another size maps each unit
# to the pixels whose centres fall inside it, so that every size shows the same drawing.

class Cell:
    def __init__(self, width=16, height=15):
        self.width, self.height = width, height
        self.sx, self.sy = width / 16, height / 15
        self.p = [[GREY] * width for _ in range(height)]

    def span(self, a0, a1, scale, limit):
        """The pixels whose centres lie in units a0 .. a1 (inclusive)."""
        first = max(0, int(a0 * scale + 0.5))
        last = min(limit, int((a1 + 1) * scale + 0.5))
        return range(first, last)

    def get(self, x, y):
        """The colour at the centre of unit (x, y)."""
        return self.p[min(self.height - 1, int((y + 0.5) * self.sy))][
            min(self.width - 1, int((x + 0.5) * self.sx))]

    def fill(self, x0, y0, x1, y1, c):
        for py in self.span(y0, y1, self.sy, self.height):
            for px in self.span(x0, x1, self.sx, self.width):
                self.p[py][px] = c

    def set(self, x, y, c):
        self.fill(x, y, x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def shape(self, colour_at):
        """colour_at(x, y) in units, at each pixel's centre: a colour or None."""
        for py in range(self.height):
            for px in range(self.width):
                c = colour_at((px + 0.5) / self.sx - 0.5, (py + 0.5) / self.sy - 0.5)
                if c is not None:
                    self.p[py][px] = c


BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
NAVY = (0, 0, 128)
BLUE = (40, 90, 200)
GREEN = (30, 160, 70)
DARK_GREEN = (0, 100, 40)
RED = (210, 40, 40)
DARK_RED = (128, 0, 0)
YELLOW = (240, 200, 40)
PINK = (230, 130, 150)
GOLD = (200, 150, 40)
SLATE = (60, 75, 90)


def up_arrow(cell, cx, top, colour, edge):
    for i in range(4):
        cell.fill(cx - i, top + i, cx + i, top + i, colour)
        cell.set(cx - i - 1, top + i, edge)
        cell.set(cx + i + 1, top + i, edge)
    cell.fill(cx - 1, top + 4, cx + 1, top + 7, colour)
    cell.fill(cx - 5, top + 4, cx - 2, top + 4, edge)
    cell.fill(cx + 2, top + 4, cx + 5, top + 4, edge)
    cell.fill(cx - 2, top + 5, cx - 2, top + 7, edge)
    cell.fill(cx + 2, top + 5, cx + 2, top + 7, edge)
    cell.fill(cx - 2, top + 8, cx + 2, top + 8, edge)


def button_working_set(c):
    """Release the memory of every application: a window with an arrow up."""
    c.fill(0, 1, 11, 10, WHITE)
    c.frame(0, 1, 11, 10, NAVY)
    c.fill(1, 2, 10, 3, BLUE)
    c.fill(2, 5, 7, 5, SLATE)
    c.fill(2, 7, 6, 7, SLATE)
    up_arrow(c, 11, 5, GREEN, DARK_GREEN)
    return c


def button_whole_memory(c):
    """Release physical memory by force: a memory chip with an arrow up."""
    c.fill(1, 3, 10, 12, SLATE)
    c.frame(1, 3, 10, 12, BLACK)
    for x in (2, 4, 6, 8):
        c.fill(x, 1, x, 2, GOLD)
        c.fill(x, 13, x, 14, GOLD)
    up_arrow(c, 11, 5, GREEN, DARK_GREEN)
    return c


def button_info(c):
    """Show the memory state: an "i" in a blue disc."""
    def disc(x, y):
        d = (x - 7.5) ** 2 + (y - 7) ** 2
        return None if d > 44 else BLUE if d <= 32 else NAVY
    c.shape(disc)
    c.fill(7, 3, 8, 4, WHITE)
    c.fill(7, 6, 8, 11, WHITE)
    c.fill(6, 6, 6, 6, WHITE)
    c.fill(6, 11, 9, 11, WHITE)
    return c


def button_add(c):
    """Add a condition: a green plus."""
    c.fill(5, 1, 10, 13, DARK_GREEN)
    c.fill(1, 5, 14, 9, DARK_GREEN)
    c.fill(6, 2, 9, 12, GREEN)
    c.fill(2, 6, 13, 8, GREEN)
    return c


def button_delete(c):
    """Delete conditions: a red cross."""
    for i in range(11):
        for dx in (-1, 0, 1):
            c.set(2 + i + dx, 2 + i, RED)
            c.set(13 - i + dx, 2 + i, RED)
    for i in range(11):
        c.set(1 + i, 2 + i, DARK_RED) if c.get(1 + i, 2 + i) == GREY else None
        c.set(14 - i, 2 + i, DARK_RED) if c.get(14 - i, 2 + i) == GREY else None
    return c


def button_modify(c):
    """Change a condition: a pencil."""
    for i in range(9):
        x, y = 3 + i, 11 - i
        c.set(x, y, YELLOW)
        c.set(x + 1, y, YELLOW)
        c.set(x, y - 1, YELLOW)
        c.set(x - 1, y, BLACK)
        c.set(x + 1, y + 1, BLACK)
        c.set(x, y - 2, BLACK)
        c.set(x + 2, y, BLACK)
    for x, y in ((11, 3), (12, 3), (11, 2), (12, 2), (13, 2), (12, 1)):
        c.set(x, y, PINK)
    c.set(2, 12, BLACK)
    c.set(3, 12, BLACK)
    c.set(2, 13, BLACK)
    return c


BUTTONS = [button_working_set, button_whole_memory, button_info, button_add, button_delete,
           button_modify]


def write_toolbar(name, width, height):
    pixels = [[None] * (width * len(BUTTONS)) for _ in range(height)]
    for i, draw in enumerate(BUTTONS):
        cell = Cell(width, height)
        draw(cell)
        for y in range(height):
            for x in range(width):
                pixels[y][i * width + x] = cell.p[y][x]
    write_bmp(os.path.join(HERE, name), width * len(BUTTONS), height, pixels)


def main():
    write_toolbar("Toolbar.bmp", 16, 15)
    write_toolbar("Toolbar24.bmp", 24, 23)
    write_toolbar("Toolbar32.bmp", 32, 30)
    write_ico(os.path.join(HERE, "Quorvel.ico"),
              [(s, draw_icon(s)) for s in (16, 20, 24, 32, 40, 48)])


if __name__ == "__main__":
    main()
