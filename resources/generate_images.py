#!/usr/bin/env python3
"""Draws the program's pictures: the panel background, the icons and the Quick Menu cursor.

Usage: generate_images.py <output directory> <src/app/PanelTable.h>

Each row of the panel table names the picture of its Quick Menu item; quick_menu_icons.rc2, which
the resource script includes, puts row i's icon under IDI_QMENU_FIRST + i.

Standard library only, so that any build machine with Python 3 can run it. The pictures are
described as shapes in 32 x 32 design units, sampled on a finer grid and reduced to the icon
formats: a paletted image (4 or 8 bits per pixel, opaque where at least half covered, edges
blended into the grey of the Quick Menu strip) plus a 32-bit image with alpha for newer systems.
"""

import math
import os
import struct
import sys

from panel_table import read_rows

ICON_SIZE = 32
SUPERSAMPLING = 4
STRIP_GREY = (80, 80, 80)  # the Quick Menu strip the icons are drawn on

PANEL_WIDTH = 337
PANEL_HEIGHT = 313


# ---------------------------------------------------------------------------------------------
# Shapes, in design units; a shape knows which points it contains and a box that bounds it.

class Shape:
    def __init__(self, contains, bounds):
        self.contains = contains
        self.bounds = bounds

    def __or__(self, other):
        a, b = self.bounds, other.bounds
        return Shape(lambda x, y: self.contains(x, y) or other.contains(x, y),
                     (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])))

    def __and__(self, other):
        return Shape(lambda x, y: self.contains(x, y) and other.contains(x, y), self.bounds)

    def __sub__(self, other):
        return Shape(lambda x, y: self.contains(x, y) and not other.contains(x, y), self.bounds)


def rect(x0, y0, x1, y1, radius=0.0):
    def contains(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + radius - x, 0.0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0.0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius
    return Shape(contains, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def ring(cx, cy, outer, inner):
    return ellipse(cx, cy, outer) - ellipse(cx, cy, inner)


def polygon(points):
    def contains(x, y):
        inside = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(contains, (min(xs), min(ys), max(xs), max(ys)))


def stroke(x0, y0, x1, y1, width):
    """A straight line with round ends."""
    half = width / 2.0
    length_sq = (x1 - x0) ** 2 + (y1 - y0) ** 2

    def contains(x, y):
        t = 0.0 if length_sq == 0 else ((x - x0) * (x1 - x0) + (y - y0) * (y1 - y0)) / length_sq
        t = min(1.0, max(0.0, t))
        px, py = x0 + t * (x1 - x0), y0 + t * (y1 - y0)
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return Shape(contains, (min(x0, x1) - half, min(y0, y1) - half,
                            max(x0, x1) + half, max(y0, y1) + half))


def sector(cx, cy, radius, start, end):
    """A pie slice; angles in degrees clockwise from twelve o'clock, start < end."""
    def contains(x, y):
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360.0
        return any(start <= a <= end for a in (angle, angle + 360.0))
    return Shape(contains, (cx - radius, cy - radius, cx + radius, cy + radius))


def vertical_gradient(top_y, top, bottom_y, bottom):
    def colour(_x, y):
        t = min(1.0, max(0.0, (y - top_y) / (bottom_y - top_y)))
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return colour


# ---------------------------------------------------------------------------------------------
# A drawing surface: a fine grid of opaque colours or None (transparent).

class Canvas:
    def __init__(self):
        self.size = ICON_SIZE
        self.scale = SUPERSAMPLING
        self.cells = self.size * self.scale
        self.pixels = [[None] * self.cells for _ in range(self.cells)]

    def _mask(self, shape):
        s, n = self.scale, self.cells
        x0, y0, x1, y1 = shape.bounds
        cols = range(max(0, int(x0 * s) - 1), min(n, int(math.ceil(x1 * s)) + 1))
        rows = range(max(0, int(y0 * s) - 1), min(n, int(math.ceil(y1 * s)) + 1))
        return {(px, py) for py in rows for px in cols
                if shape.contains((px + 0.5) / s, (py + 0.5) / s)}

    def draw(self, shape, fill, outline=None, width=1.0):
        """Fills the shape; an outline, if given, is drawn inside its edge, `width` units thick."""
        mask = self._mask(shape)
        edge = set()
        if outline is not None:
            # Erode the mask by a square of the outline's width, one axis after the other.
            thickness = max(1, round(width * self.scale))
            reach = range(-thickness, thickness + 1)
            across = {(x, y) for x, y in mask if all((x + d, y) in mask for d in reach)}
            edge = {(x, y) for x, y in mask if not all((x, y + d) in across for d in reach)}
        s = self.scale
        for px, py in mask:
            if (px, py) in edge:
                colour = outline
            else:
                colour = fill((px + 0.5) / s, (py + 0.5) / s) if callable(fill) else fill
            self.pixels[py][px] = colour

    def reduce(self, size=ICON_SIZE):
        """Averages blocks of the fine grid: a size x size grid of (r, g, b, coverage 0..1)."""
        s = self.cells // size
        result = []
        for y in range(size):
            row = []
            for x in range(size):
                block = [self.pixels[y * s + j][x * s + i] for j in range(s) for i in range(s)]
                covered = [c for c in block if c is not None]
                if not covered:
                    row.append((0, 0, 0, 0.0))
                    continue
                mean = [sum(c[k] for c in covered) / len(covered) for k in range(3)]
                row.append((mean[0], mean[1], mean[2], len(covered) / len(block)))
            result.append(row)
        return result


# ---------------------------------------------------------------------------------------------
# Colour reduction: median cut, then nearest palette entry.

def median_cut(colours, limit):
    """colours: {rgb: count}. Returns at most `limit` representative colours."""
    if len(colours) <= limit:
        return list(colours)
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        def spread(box):
            return max(max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3))
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: spread(b) * sum(c[1] for c in b))
        boxes.remove(box)
        channel = max(range(3), key=lambda k: max(c[0][k] for c in box) - min(c[0][k] for c in box))
        box.sort(key=lambda c: c[0][channel])
        half, running, cut = sum(c[1] for c in box) / 2.0, 0, 1
        for i, (_, count) in enumerate(box[:-1]):
            running += count
            cut = i + 1
            if running >= half:
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(c[1] for c in box)
        palette.append(tuple(round(sum(c[0][k] * c[1] for c in box) / total) for k in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


# ---------------------------------------------------------------------------------------------
# File formats. Device-independent bitmaps are stored bottom-up, rows padded to 4 bytes.

def _padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def _pack_bits(values, bits):
    """Packs small integers (most significant first) into bytes."""
    out, acc, used = bytearray(), 0, 0
    for v in values:
        acc = (acc << bits) | v
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


def _info_header(width, height, bits, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def _and_mask(opaque):
    """1 where the screen shows through."""
    return b"".join(_padded(_pack_bits([0 if o else 1 for o in row], 1))
                    for row in reversed(opaque))


def paletted_image(pixels, bits, palette=None):
    """An icon image with 2**bits colours from a reduced grid, or with a given palette."""
    opaque = [[p[3] >= 0.5 for p in row] for row in pixels]
    matte = [[tuple(round(p[k] * p[3] + STRIP_GREY[k] * (1 - p[3])) for k in range(3))
              for p in row] for row in pixels]
    if palette is None:
        counts = {}
        for row, row_opaque in zip(matte, opaque):
            for colour, o in zip(row, row_opaque):
                if o:
                    counts[colour] = counts.get(colour, 0) + 1
        # Entry 0 stays black: transparent pixels must be black so that the screen shows through.
        palette = [(0, 0, 0)] + median_cut(counts, 2 ** bits - 1)
    palette = list(palette) + [(0, 0, 0)] * (2 ** bits - len(palette))
    lookup = {}
    rows = []
    for row, row_opaque in zip(reversed(matte), reversed(opaque)):
        indices = []
        for colour, o in zip(row, row_opaque):
            if o and colour not in lookup:
                lookup[colour] = nearest(palette, colour)
            indices.append(lookup[colour] if o else 0)
        rows.append(_padded(_pack_bits(indices, bits)))
    colour_bits = b"".join(rows)
    mask = _and_mask(opaque)
    size = len(pixels)
    header = _info_header(size, size * 2, bits, len(colour_bits) + len(mask), 2 ** bits)
    table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    return size, bits, header + table + colour_bits + mask


def true_colour_image(pixels):
    """An icon image with straight (not premultiplied) alpha."""
    colour_bits = b"".join(
        struct.pack("<BBBB", round(p[2]), round(p[1]), round(p[0]), round(p[3] * 255))
        for row in reversed(pixels) for p in row)
    mask = _and_mask([[p[3] > 0 for p in row] for row in pixels])
    size = len(pixels)
    header = _info_header(size, size * 2, 32, len(colour_bits) + len(mask), 0)
    return size, 32, header + colour_bits + mask


def icon_file(images, hot_spot=None):
    """An .ico, or a .cur when a hot spot is given; images: [(size, bits per pixel, data)]."""
    kind = 1 if hot_spot is None else 2
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colour_count = 2 ** bits if bits < 8 else 0
        planes, bit_count = (1, bits) if hot_spot is None else hot_spot
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, planes, bit_count,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def bmp_file(width, height, colour_at):
    rows = [_padded(bytes(v for x in range(width) for v in reversed(colour_at(x, y))))
            for y in reversed(range(height))]
    pixels = b"".join(rows)
    header = _info_header(width, height, 24, len(pixels), 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0,
                       14 + len(header)) + header + pixels


# ---------------------------------------------------------------------------------------------
# The pictures.

OUTLINE = (28, 36, 56)
WHITE = (255, 255, 255)
TITLE_BLUE = vertical_gradient(4, (72, 136, 236), 10, (16, 70, 200))
CLOSE_RED = (226, 84, 44)


def draw_window(canvas, x0, y0, x1, y1):
    """An application window: blue title bar with a close box, light client area."""
    canvas.draw(rect(x0, y0, x1, y1, 2.0), TITLE_BLUE, OUTLINE)
    canvas.draw(rect(x0 + 1, y0 + 7, x1 - 1, y1 - 1), (236, 240, 248))
    canvas.draw(rect(x1 - 6.5, y0 + 1.5, x1 - 1.5, y0 + 5.5, 1.0), CLOSE_RED)
    canvas.draw(rect(x0 + 2.5, y0 + 2.5, x0 + 11, y0 + 4.5), (210, 226, 255))


def draw_app(canvas):
    draw_window(canvas, 2, 4, 28, 26)
    # The window's contents in the new style: a rounded button and a check box.
    canvas.draw(rect(5, 14, 17, 20, 2.0), vertical_gradient(14, WHITE, 20, (200, 212, 232)),
                (40, 80, 170))
    canvas.draw(rect(5, 22, 9, 24.5), WHITE, (40, 80, 170))
    # A sparkle: the new look being applied.
    star = []
    for i in range(8):
        radius = 9.0 if i % 2 == 0 else 3.6
        angle = math.radians(i * 45)
        star.append((23 + radius * math.sin(angle), 22 - radius * math.cos(angle)))
    canvas.draw(polygon(star), (255, 214, 40), (150, 80, 0), 0.8)
    canvas.draw(ellipse(23, 22, 1.8), (255, 250, 200))


def draw_brush(canvas, tip_x, tip_y, paint):
    """A paint brush lying from the lower right up to its bristles' tip at (tip_x, tip_y)."""
    diagonal = 1 / math.sqrt(2)

    def along(t, side):
        """The point t units down the brush and `side` units across it."""
        return (tip_x + diagonal * (t - side), tip_y + diagonal * (t + side))
    bristles = polygon([along(0, 0), along(3, -3.2), along(8.5, -3.4), along(8.5, 3.4),
                        along(3, 3.2)])
    canvas.draw(bristles, paint, OUTLINE)
    ferrule = polygon([along(8, -3.6), along(12, -3.6), along(12, 3.6), along(8, 3.6)])
    canvas.draw(ferrule, (214, 218, 226), OUTLINE)
    canvas.draw(stroke(*along(12, 0), *along(22, 0), 4.8), (168, 96, 40), OUTLINE)


def draw_vestrim(canvas):
    draw_window(canvas, 1, 2, 25, 23)
    canvas.draw(rect(4, 12, 13, 16, 1.5), (120, 170, 240))
    canvas.draw(rect(4, 18, 10, 20, 1.0), (120, 170, 240))
    draw_brush(canvas, 12, 12, (255, 152, 30))


def draw_help(canvas):
    canvas.draw(ellipse(16, 16, 14), vertical_gradient(2, (130, 186, 255), 30, (40, 100, 215)),
                (16, 40, 110))
    hook = ring(16, 12.5, 6.8, 3.2) - sector(16, 12.5, 7, 200, 300)
    canvas.draw(hook, WHITE)
    canvas.draw(polygon([(17.5, 15.5), (21.6, 16.0), (18.6, 19.2), (18.6, 21), (13.8, 21),
                         (13.8, 18.5)]), WHITE)
    canvas.draw(ellipse(16.2, 25.2, 2.4), WHITE)


def draw_about(canvas):
    canvas.draw(ellipse(16, 16, 14), vertical_gradient(2, WHITE, 30, (214, 226, 246)),
                (20, 70, 180), 1.6)
    canvas.draw(ellipse(16, 9.2, 2.5), (20, 70, 180))
    canvas.draw(polygon([(12.5, 13.5), (18.2, 13.5), (18.2, 22.8), (20, 22.8), (20, 25),
                         (12.5, 25), (12.5, 22.8), (14.2, 22.8), (14.2, 15.6), (12.5, 15.6)]),
                (20, 70, 180))


def draw_turbo(canvas):
    draw_window(canvas, 1, 3, 24, 24)
    canvas.draw(rect(4, 13, 12, 16, 1.2), (150, 186, 240))
    canvas.draw(rect(4, 18, 9, 20.5, 1.0), (150, 186, 240))
    bolt = polygon([(22, 5), (12.5, 19), (18.5, 19), (14, 31), (29, 14.5), (22.5, 14.5),
                    (28, 5)])
    canvas.draw(bolt, vertical_gradient(5, (255, 246, 120), 31, (244, 140, 10)), (110, 50, 0))


def draw_history(canvas):
    canvas.draw(ellipse(16, 16, 14.5), vertical_gradient(2, (120, 170, 240), 30, (30, 80, 190)),
                OUTLINE)
    canvas.draw(ellipse(16, 16, 11.5), vertical_gradient(4, WHITE, 28, (226, 232, 242)))
    for hour in range(12):
        angle = math.radians(hour * 30)
        inner = 8.2 if hour % 3 == 0 else 9.3
        s, c = math.sin(angle), math.cos(angle)
        canvas.draw(stroke(16 + inner * s, 16 - inner * c, 16 + 10.2 * s, 16 - 10.2 * c,
                           1.4 if hour % 3 == 0 else 1.0), (60, 70, 90))
    canvas.draw(stroke(16, 16, 16, 7.5, 2.2), OUTLINE)
    canvas.draw(stroke(16, 16, 21.5, 19.5, 2.2), OUTLINE)
    canvas.draw(ellipse(16, 16, 1.8), (210, 40, 30))


def draw_settings(canvas):
    teeth, outer, inner = 8, 14.5, 11.0
    points = []
    for i in range(teeth * 4):
        angle = math.radians((i - 0.5) * 360 / (teeth * 4) + 360 / (teeth * 8))
        radius = outer if i % 4 in (1, 2) else inner
        points.append((16 + radius * math.sin(angle), 16 - radius * math.cos(angle)))
    gear = polygon(points) - ellipse(16, 16, 4.2)
    canvas.draw(gear, vertical_gradient(2, (236, 240, 246), 30, (150, 162, 184)), OUTLINE, 1.2)
    canvas.draw(ring(16, 16, 7.8, 5.2), (120, 134, 160))


def draw_sheet(canvas):
    fold = 7
    sheet = polygon([(5, 1.5), (27 - fold, 1.5), (27, 1.5 + fold), (27, 30.5), (5, 30.5)])
    canvas.draw(sheet, vertical_gradient(2, WHITE, 30, (232, 236, 242)), (60, 70, 90))
    canvas.draw(polygon([(27 - fold, 1.5), (27 - fold, 1.5 + fold), (27, 1.5 + fold)]),
                (200, 208, 222), (60, 70, 90))
    # Lines of text; the lower ones stop short of the red cross.
    for y, right in ((6.5, 18.5), (10, 19), (13.5, 23), (17, 14), (20.5, 14), (24, 14)):
        canvas.draw(rect(8, y, right, y + 1.4), (110, 130, 170))
    cross = rect(19.5, 17.5, 24.5, 29.5) | rect(16, 21, 28, 26)
    canvas.draw(cross, (226, 32, 32), (130, 10, 10))


SELECTOR_HAND = (
    # A pointing hand, white with a black edge; the hot spot is the index finger's tip.
    "      ##",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..#",
    "     #..###",
    "     #..#..###",
    "     #..#..#..###",
    "     #..#..#..#..#",
    " ##  #..#..#..#..#",
    "#..# #...........#",
    "#...##...........#",
    " #...............#",
    "  #..............#",
    "   #.............#",
    "   #............#",
    "    #...........#",
    "    #...........#",
    "     #.........#",
    "     #.........#",
    "     ###########",
)
SELECTOR_HOT_SPOT = (6, 0)


def draw_selector_cursor():
    colours = {"#": (0, 0, 0, 1.0), ".": (255, 255, 255, 1.0)}
    rows = [row.ljust(ICON_SIZE) for row in SELECTOR_HAND]
    rows += [" " * ICON_SIZE] * (ICON_SIZE - len(rows))
    pixels = [[colours.get(c, (0, 0, 0, 0.0)) for c in row] for row in rows]
    return icon_file([paletted_image(pixels, 1, [(0, 0, 0), WHITE])], hot_spot=SELECTOR_HOT_SPOT)


def panel_background_colour(x, y):
    """A soft morning sky over low, hazy hills; nothing dark, nothing busy."""
    def mix(a, b, t):
        t = min(1.0, max(0.0, t))
        return tuple(p + (q - p) * t for p, q in zip(a, b))

    def smooth(edge, v, softness=2.5):
        return min(1.0, max(0.0, (v - edge) / softness + 0.5))

    w, h = PANEL_WIDTH, PANEL_HEIGHT
    colour = mix((206, 220, 238), (244, 247, 251), (y / h) / 0.62)
    # A faint glow of the sun at the upper right.
    glow = math.exp(-((x - 0.82 * w) ** 2 + (y - 0.12 * h) ** 2) / (2 * 70.0 ** 2))
    colour = mix(colour, (252, 252, 248), glow * 0.7)
    # Two long, pale streaks of cloud.
    for centre, amplitude, phase, strength in ((0.27, 9, 0.6, 0.45), (0.40, 7, 2.1, 0.35)):
        line = centre * h + amplitude * math.sin(2 * math.pi * x / w * 0.9 + phase)
        streak = math.exp(-((y - line) / 5.0) ** 2) * (0.5 + 0.5 * math.sin(math.pi * x / w))
        colour = mix(colour, (252, 253, 255), streak * strength)
    # Far and near hills.
    far = 0.66 * h + 9 * math.sin(2 * math.pi * x / w * 0.8 + 1.0) + 5 * math.sin(
        2 * math.pi * x / w * 1.9 + 0.3)
    colour = mix(colour, mix((224, 233, 240), (232, 238, 243), (y - far) / 60), smooth(far, y))
    near = 0.80 * h + 12 * math.sin(2 * math.pi * x / w * 0.6 + 2.4) + 4 * math.sin(
        2 * math.pi * x / w * 1.7 + 1.1)
    colour = mix(colour, mix((214, 228, 230), (234, 240, 242), (y - near) / 70), smooth(near, y))
    return tuple(round(c) for c in colour)


ICONS = {
    # file name: (drawing, bits per pixel of the paletted images, sizes)
    "app.ico": (draw_app, 4, (ICON_SIZE, 16)),  # 16 x 16 too: the title bar and the task bar
    "qmenu_bottom.ico": (draw_sheet, 8, (ICON_SIZE,)),
}

# The pictures a row of the panel table may name for its Quick Menu item:
# name: (drawing, bits per pixel of the paletted image).
ITEM_PICTURES = {
    "vestrim": (draw_vestrim, 4),
    "turbo": (draw_turbo, 8),
    "history": (draw_history, 4),
    "settings": (draw_settings, 4),
    "help": (draw_help, 4),
    "about": (draw_about, 4),
}


def write(path, data):
    # Write beside and rename, so that an interrupted run leaves no half-written picture.
    partial = path + ".partial"
    with open(partial, "wb") as f:
        f.write(data)
    os.replace(partial, path)


def draw_icon(drawing, bits, sizes):
    canvas = Canvas()
    drawing(canvas)
    images = []
    for size in sizes:
        pixels = canvas.reduce(size)
        images += [paletted_image(pixels, bits), true_colour_image(pixels)]
    return icon_file(images)


def quick_menu_icons(out_dir, panel_table):
    """Each row's icon, and the resource lines that give row i's the id IDI_QMENU_FIRST + i."""
    lines = ["// Made by generate_images.py from the panel table: row i's icon.\n"]
    for index, (tooltip, picture) in enumerate(read_rows(panel_table)):
        if picture not in ITEM_PICTURES:
            sys.exit(f'the row "{tooltip}" of the panel table names the picture "{picture}", which '
                     f'generate_images.py does not draw; it draws: {", ".join(ITEM_PICTURES)}')
        name = f"qmenu_{picture}.ico"
        drawing, bits = ITEM_PICTURES[picture]
        write(os.path.join(out_dir, name), draw_icon(drawing, bits, (ICON_SIZE,)))
        lines.append(f'IDI_QMENU_FIRST + {index} ICON "{name}"\n')
    write(os.path.join(out_dir, "quick_menu_icons.rc2"), "".join(lines).encode("ascii"))


def main(argv):
    if len(argv) != 3:
        sys.exit("usage: generate_images.py <output directory> <PanelTable.h>")
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, (drawing, bits, sizes) in ICONS.items():
        write(os.path.join(out_dir, name), draw_icon(drawing, bits, sizes))
    quick_menu_icons(out_dir, argv[2])
    write(os.path.join(out_dir, "selector.cur"), draw_selector_cursor())
    write(os.path.join(out_dir, "panel_background.bmp"),
          bmp_file(PANEL_WIDTH, PANEL_HEIGHT, panel_background_colour))


if __name__ == "__main__":
    main(sys.argv)
