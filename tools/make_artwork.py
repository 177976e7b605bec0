#!/usr/bin/env python3
"""Builds the program's binary artwork from the text sources in src/res/art.

    make_artwork.py ART_FOLDER OUTPUT_FOLDER

writes into OUTPUT_FOLDER:
  toolbar.bmp           the toolbar images side by side, 24-bit, transparent pixels black
  toolbar_disabled.bmp  the same images in light grey
  toolbar_mask.bmp      1-bit mask: white = transparent, black = opaque
  annotate.bmp, annotate_disabled.bmp, annotate_mask.bmp
                        the same three strips of the annotation toolbar
  desk.bmp, desk_disabled.bmp, desk_mask.bmp
                        the same three strips of the capture desk's toolbar
  toolbar24*.bmp, toolbar32*.bmp, annotate24*.bmp, annotate32*.bmp, desk24*.bmp, desk32*.bmp
                        the same strips for 144 and 192 DPI: 24 x 22 and 32 x 30 pictures
  hand_closed.cur, hand_open.cur
                        monochrome cursors, each with a 16, 24 and 32 pixel image
  lumigrab.ico, document.ico
                        icons with 32-bit images (alpha channel plus AND mask)

Two kinds of source:

* Pixel pictures (toolbar/*.txt, cursors/*.txt): directive lines, then the line
  "pixels" and one text row per pixel row, one character per pixel.
      # a comment              (only before "pixels")
      colour k 000000          legend: character and RRGGBB, or "none" for transparent
      hotspot 7 4              cursors only
  toolbar/palette.txt holds the legend that every toolbar picture shares, those
  in annotate/ too; the pictures of each folder go into its strip in the order of
  their file names.
  The larger sizes are drawn from the same pixels by edge-following pixel-art
  enlargement (each pixel becomes a 2x2 or 3x3 block whose corners take the colour
  of a matching diagonal), never blended: 32 pixels from the doubled picture, 24
  from every other pixel of the tripled one. Edges stay hard and the mask exact.

* Icon drawings (icons/*.txt): shapes painted in order, anti-aliased.
      image 16 grid 16         the shapes that follow make the 16x16 image;
                               their coordinates use a 16-unit grid
      image 32 48 grid 48      ... and these the 32x32 and 48x48 images (scaled)
      rect X0 Y0 X1 Y1 [options]
      roundrect X0 Y0 X1 Y1 R [options]
      ellipse CX CY RX RY [options]
      polygon X Y X Y X Y ... [options]
  options: fill=COLOUR  stroke=WIDTH:COLOUR (drawn inside the outline)
  COLOUR: RRGGBB, RRGGBBAA, or TOP>BOTTOM for a vertical gradient over the shape.
  Pixel edges lie on whole grid units.
"""
import math
import os
import struct
import sys

TOOLBAR_IMAGE = (16, 15)
MONO_PALETTE = bytes((0, 0, 0, 0, 255, 255, 255, 0))  # index 0 black, 1 white


# ---------------------------------------------------------------- file formats

def bmp_file(width, height, bits, rows, palette=b""):
    """rows: top-down list of packed pixel rows (without padding)."""
    stride = (width * bits + 31) // 32 * 4
    pixels = b"".join(row.ljust(stride, b"\0") for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels),
                         2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(header) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) \
        + header + palette + pixels


def pack_bits(bits):
    """Packs a row of 0/1 values, most significant bit first, padded to 32 bits."""
    out = bytearray((len(bits) + 31) // 32 * 4)
    for x, bit in enumerate(bits):
        if bit:
            out[x >> 3] |= 0x80 >> (x & 7)
    return bytes(out)


def icon_image(size, rgba):
    """One 32-bit icon image: BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rgba) for (r, g, b, a) in row)
    mask = b"".join(pack_bits([a == 0 for (_, _, _, a) in row]) for row in reversed(rgba))
    return header + colour + mask


def icon_file(images):
    """images: list of (size, rgba rows)."""
    blobs = [icon_image(size, rgba) for size, rgba in images]
    offset = 6 + 16 * len(blobs)
    directory = struct.pack("<HHH", 0, 1, len(blobs))
    for (size, _), blob in zip(images, blobs):
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return directory + b"".join(blobs)


def cursor_image(colours):
    """One monochrome cursor image: header, palette, the white plane and the mask."""
    width, height = len(colours[0]), len(colours)
    white = [[int(c == (255, 255, 255)) for c in row] for row in colours]
    clear = [[int(c is None) for c in row] for row in colours]
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    return header + MONO_PALETTE + b"".join(pack_bits(r) for r in reversed(white)) \
        + b"".join(pack_bits(r) for r in reversed(clear))


def cursor_file(picture, sizes=(16, 24, 32)):
    """A monochrome cursor (black, white and transparent pixels) drawn at each size; the
    hot spot moves with the pixel it lies on."""
    if any(c not in (None, (0, 0, 0), (255, 255, 255)) for row in picture.colours for c in row):
        fail(picture.path, 0, "a cursor has only black, white and transparent pixels")
    base = picture.size[0]
    images = [(size, cursor_image(picture_at(picture.colours, size))) for size in sizes]
    hx, hy = picture.hotspot
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 2, len(images))
    for size, image in images:
        height = picture.size[1] * size // base
        directory += struct.pack("<BBBBHHII", size, height, 2, 0, hx * size // base, hy * size // base, len(image), offset)
        offset += len(image)
    return directory + b"".join(image for _, image in images)


# ---------------------------------------------------------------- pixel pictures

def read_pixel_source(path):
    """Returns the legend, the hotspot (or None) and the pixel rows (or None)."""
    legend, hotspot, rows = {}, None, None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if rows is not None:
                if line:
                    rows.append(line)
                continue
            words = line.split()
            if not words or words[0].startswith("#"):
                continue
            if words[0] == "pixels":
                rows = []
            elif words[0] == "colour" and len(words) >= 3 and len(words[1]) == 1:
                legend[words[1]] = parse_rgb(words[2])
            elif words[0] == "hotspot" and len(words) == 3:
                hotspot = (int(words[1]), int(words[2]))
            else:
                fail(path, number, "unknown line: " + line)
    return legend, hotspot, rows


class Picture:
    """A pixel picture: its size, hotspot and colours (RGB tuples, None = transparent)."""

    def __init__(self, path, shared_legend=None):
        self.path = path
        legend, self.hotspot, rows = read_pixel_source(path)
        legend = {**(shared_legend or {}), **legend}
        if not rows:
            fail(path, 0, 'no "pixels" section')
        if any(len(r) != len(rows[0]) for r in rows):
            fail(path, 0, "rows of different lengths")
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch not in legend:
                    fail(path, 0, f"pixel ({x},{y}) uses {ch!r}, which is not in the legend")
        self.size = (len(rows[0]), len(rows))
        self.colours = [[legend[ch] for ch in row] for row in rows]


def parse_rgb(text):
    if text == "none":
        return None
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def fail(path, line, message):
    sys.exit(f"{path}:{line}: {message}" if line else f"{path}: {message}")


def disabled_colour(rgb):
    """The grey, lightened version of a toolbar colour."""
    r, g, b = rgb
    luma = (299 * r + 587 * g + 114 * b) // 1000
    grey = 128 + luma * 96 // 255
    return (grey, grey, grey)


def clamped(rows):
    """Pixel lookup that repeats the edge pixels beyond the picture."""
    height, width = len(rows), len(rows[0])
    return lambda x, y: rows[min(max(y, 0), height - 1)][min(max(x, 0), width - 1)]


def smooth_corners(at, x, y):
    """Which corners of pixel (x, y) take the colour of the two neighbours beside them
    (up-left, up-right, down-left, down-right). Where those neighbours are the thin
    arms of a cross the corner stays, or a plus sign would grow into a diamond."""
    e, up, down, left, right = at(x, y), at(x, y - 1), at(x, y + 1), at(x - 1, y), at(x + 1, y)
    if up == down or left == right:
        return False, False, False, False

    def corner(sx, sy):
        shared = at(x, y + sy)
        if shared != at(x + sx, y) or shared == e:
            return False
        # Arms one or two pixels thick: the colour ends within two pixels across each.
        thin_across = at(x, y + 2 * sy) != shared or at(x, y + 3 * sy) != shared
        thin_down = at(x + 2 * sx, y) != shared or at(x + 3 * sx, y) != shared
        return not (at(x + sx, y + sy) == shared and thin_across and thin_down)

    return corner(-1, -1), corner(1, -1), corner(-1, 1), corner(1, 1)


def enlarge_double(rows):
    """Each pixel as a 2x2 block; a smooth corner takes its neighbours' colour."""
    at = clamped(rows)
    out = [[None] * (2 * len(rows[0])) for _ in range(2 * len(rows))]
    for y in range(len(rows)):
        for x in range(len(rows[0])):
            e = at(x, y)
            ul, ur, dl, dr = smooth_corners(at, x, y)
            out[2 * y][2 * x] = at(x, y - 1) if ul else e
            out[2 * y][2 * x + 1] = at(x, y - 1) if ur else e
            out[2 * y + 1][2 * x] = at(x, y + 1) if dl else e
            out[2 * y + 1][2 * x + 1] = at(x, y + 1) if dr else e
    return out


def enlarge_triple(rows):
    """Each pixel as a 3x3 block: smooth corners take their neighbours' colour, and so
    do the edge pixels next to them where the diagonal beyond does not continue."""
    at = clamped(rows)
    out = [[None] * (3 * len(rows[0])) for _ in range(3 * len(rows))]
    for y in range(len(rows)):
        for x in range(len(rows[0])):
            a, b, c = at(x - 1, y - 1), at(x, y - 1), at(x + 1, y - 1)
            d, e, f = at(x - 1, y), at(x, y), at(x + 1, y)
            g, h, i = at(x - 1, y + 1), at(x, y + 1), at(x + 1, y + 1)
            ul, ur, dl, dr = smooth_corners(at, x, y)
            block = [
                b if ul else e, b if (ul and e != c) or (ur and e != a) else e, b if ur else e,
                d if (ul and e != g) or (dl and e != a) else e, e, f if (ur and e != i) or (dr and e != c) else e,
                h if dl else e, h if (dl and e != i) or (dr and e != g) else e, h if dr else e,
            ]
            for k in range(9):
                out[3 * y + k // 3][3 * x + k % 3] = block[k]
    return out


def picture_at(colours, size):
    """A picture's colours at 16, 24 or 32 pixels wide."""
    if size == 32:
        return enlarge_double(colours)
    if size == 24:
        tripled = enlarge_triple(colours)
        return [row[1::2] for row in tripled[1::2]]
    return colours


def folder_pictures(folder):
    """The picture files of a folder in the order of their names."""
    names = sorted(n for n in os.listdir(folder) if n.endswith(".txt") and n != "palette.txt")
    return [os.path.join(folder, n) for n in names]


def toolbar_strips(folder, palette_path, name, size=16):
    """The three strips of the pictures in folder: name.bmp, name_disabled.bmp, name_mask.bmp,
    with the size after name for the enlarged pictures."""
    return picture_strips(folder_pictures(folder), palette_path, name, size)


def picture_strips(paths, palette_path, name, size):
    """The three strips of the pictures in paths, in that order."""
    palette, _, _ = read_pixel_source(palette_path)
    pictures = [Picture(path, palette) for path in paths]
    for p in pictures:
        if p.size != TOOLBAR_IMAGE:
            fail(p.path, 0, "a toolbar image is %dx%d pixels" % TOOLBAR_IMAGE)
    drawn = [picture_at(p.colours, size) for p in pictures]
    width, height = len(drawn[0][0]) * len(pictures), len(drawn[0])
    strip = [sum((d[y] for d in drawn), []) for y in range(height)]
    if size != 16:
        name += str(size)

    def rgb_rows(transform):
        # Transparent pixels stay black: image lists OR the image over the masked background.
        return [b"".join(bytes(reversed(transform(c))) if c else b"\0\0\0" for c in row)
                for row in strip]

    mask = [pack_bits([c is None for c in row]) for row in strip]
    return {
        name + ".bmp": bmp_file(width, height, 24, rgb_rows(lambda c: c)),
        name + "_disabled.bmp": bmp_file(width, height, 24, rgb_rows(disabled_colour)),
        name + "_mask.bmp": bmp_file(width, height, 1, mask, MONO_PALETTE),
    }


def desk_strips(art, palette_path, size):
    """The capture desk's toolbar: its own pictures (识别文字's last of them), with the main
    toolbar's floppy disk in fourth place for 保存 and its tall page last for 长截图."""
    paths = folder_pictures(os.path.join(art, "desk"))
    paths.insert(3, os.path.join(art, "toolbar", "02-save.txt"))
    paths.append(os.path.join(art, "toolbar", "16-longshot.txt"))
    return picture_strips(paths, palette_path, "desk", size)


# ---------------------------------------------------------------- icon drawings

SUPERSAMPLE = 6


def parse_colour(text):
    if text == "none":
        return None
    if ">" in text:
        top, bottom = text.split(">")
        return (parse_colour(top), parse_colour(bottom))
    rgba = [int(text[i:i + 2], 16) for i in range(0, len(text), 2)]
    if len(rgba) == 3:
        rgba.append(255)
    return tuple(v / 255 for v in rgba)


def length(x, y):
    return math.sqrt(x * x + y * y)


def box_distance(px, py, x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(px - cx) - (x1 - x0) / 2 + r
    qy = abs(py - cy) - (y1 - y0) / 2 + r
    return length(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r


def ellipse_distance(px, py, cx, cy, rx, ry):
    return (length((px - cx) / rx, (py - cy) / ry) - 1) * min(rx, ry)


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy or 1)))
    return length(px - x0 - t * dx, py - y0 - t * dy)


def polygon_distance(px, py, points):
    d = min(segment_distance(px, py, *points[i - 1], *points[i]) for i in range(len(points)))
    inside = False
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return -d if inside else d


class Shape:
    COUNTS = {"rect": 4, "roundrect": 5, "ellipse": 4}

    def __init__(self, words, where):
        self.kind = words[0]
        numbers = [w for w in words[1:] if "=" not in w]
        options = dict(w.split("=", 1) for w in words[1:] if "=" in w)
        self.v = [float(n) for n in numbers]
        expected = self.COUNTS.get(self.kind)
        if self.kind == "polygon":
            if len(self.v) < 6 or len(self.v) % 2:
                fail(*where, "a polygon needs at least three x y pairs")
            self.points = list(zip(self.v[0::2], self.v[1::2]))
        elif expected is None or len(self.v) != expected:
            fail(*where, "unknown shape or wrong number of values")
        self.fill = parse_colour(options.get("fill", "none"))
        self.stroke_width, self.stroke = 0.0, None
        if "stroke" in options:
            w, c = options["stroke"].split(":")
            self.stroke_width, self.stroke = float(w), parse_colour(c)
        xs, ys = self.outline_box()
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def outline_box(self):
        v = self.v
        if self.kind in ("rect", "roundrect"):
            return (v[0], v[2]), (v[1], v[3])
        if self.kind == "ellipse":
            return (v[0] - v[2], v[0] + v[2]), (v[1] - v[3], v[1] + v[3])
        return [p[0] for p in self.points], [p[1] for p in self.points]

    def distance(self, x, y):
        v = self.v
        if self.kind in ("rect", "roundrect"):
            return box_distance(x, y, *v)
        if self.kind == "ellipse":
            return ellipse_distance(x, y, *v)
        return polygon_distance(x, y, self.points)

    def colour_at(self, colour, y):
        if colour is None or not isinstance(colour[0], tuple):
            return colour
        top, bottom = colour
        t = max(0.0, min(1.0, (y - self.box[1]) / ((self.box[3] - self.box[1]) or 1)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    def sample(self, x, y):
        d = self.distance(x, y)
        if d > 0:
            return None
        if d > -self.stroke_width:
            return self.colour_at(self.stroke, y)
        return self.colour_at(self.fill, y)


def render(shapes, size, grid):
    """Paints the shapes one over the other; returns size rows of size (r, g, b, a) pixels."""
    scale = grid / size
    canvas = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    for shape in shapes:
        x0, y0, x1, y1 = shape.box
        for py in range(max(0, int(y0 / scale)), min(size, int(y1 / scale) + 1)):
            for px in range(max(0, int(x0 / scale)), min(size, int(x1 / scale) + 1)):
                acc = [0.0, 0.0, 0.0, 0.0]
                for oy in offsets:
                    for ox in offsets:
                        c = shape.sample((px + ox) * scale, (py + oy) * scale)
                        if c:
                            acc[0] += c[0] * c[3]
                            acc[1] += c[1] * c[3]
                            acc[2] += c[2] * c[3]
                            acc[3] += c[3]
                if acc[3] == 0:
                    continue
                src = [a / (n * n) for a in acc]
                dst = canvas[py][px]
                canvas[py][px] = tuple(s + d * (1 - src[3]) for s, d in zip(src, dst))
    rows = []
    for row in canvas:
        out = []
        for r, g, b, a in row:
            alpha = round(a * 255)
            if alpha == 0:
                out.append((0, 0, 0, 0))
            else:
                out.append(tuple(min(255, round(c / a * 255)) for c in (r, g, b)) + (alpha,))
        rows.append(out)
    return rows


def icon_drawing(path):
    """Returns the icon file bytes for one drawing."""
    sections = []  # (sizes, grid, shapes)
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if words[0] == "image":
                if "grid" not in words or words.index("grid") != len(words) - 2:
                    fail(path, number, "expected: image SIZE... grid UNITS")
                sections.append(([int(w) for w in words[1:-2]], float(words[-1]), []))
            elif not sections:
                fail(path, number, 'shapes must follow an "image" line')
            else:
                sections[-1][2].append(Shape(words, (path, number)))
    images = sorted(((size, render(shapes, size, grid))
                     for sizes, grid, shapes in sections for size in sizes), key=lambda i: i[0])
    return icon_file(images)


# ---------------------------------------------------------------- main

def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    art, out = sys.argv[1], sys.argv[2]
    palette = os.path.join(art, "toolbar", "palette.txt")
    files = {}
    for size in (16, 24, 32):
        files.update(toolbar_strips(os.path.join(art, "toolbar"), palette, "toolbar", size))
        files.update(toolbar_strips(os.path.join(art, "annotate"), palette, "annotate", size))
        files.update(desk_strips(art, palette, size))
    for name in ("hand_closed", "hand_open"):
        picture = Picture(os.path.join(art, "cursors", name + ".txt"))
        hotspot, size = picture.hotspot, picture.size
        if hotspot is None or not (0 <= hotspot[0] < size[0] and 0 <= hotspot[1] < size[1]):
            fail(picture.path, 0, "a cursor needs a hotspot line inside the picture")
        files[name + ".cur"] = cursor_file(picture)
    for name in ("lumigrab", "document"):
        files[name + ".ico"] = icon_drawing(os.path.join(art, "icons", name + ".txt"))
    os.makedirs(out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
