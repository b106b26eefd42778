#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into res/.

Usage: scripts/make-icons.py [output-dir]   (default: the repository's res/)

The alarm clock (the program's icon) and its greyed, crossed-out form (the tray icon while
the program cannot record) carry 32-bit images with alpha at 16, 20, 24, 32, 40, 48 and 256
pixels (the 256 one stored as PNG), so that the tray, the taskbar, Alt+Tab and Explorer find
an image of their own size at every display scale. Their 16 x 16 image is drawn by hand; the
others are the drawing sampled at their size. The four state icons of the status bar are 32 x 32,
4-bit images with the standard 16-colour palette; there pixels outside the drawing are
transparent: AND-mask bit 1 over colour 0.
"""
import math
import os
import struct
import sys
import zlib

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, SILVER, GREY, RED, YELLOW, WHITE = 0, 1, 7, 8, 9, 11, 15
CLEAR = None  # transparent pixel

# Shapes are functions of a point in pixel units that give a palette index or
# CLEAR; each pixel takes the colour that most of its samples fall on.
SAMPLES = 4


def render(shape, size=32):
    """Returns size rows of size palette indices (or CLEAR), top row first."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            votes = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shape(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)
                    votes[c] = votes.get(c, 0) + 1
            row.append(max(votes, key=lambda c: (votes[c], c is not CLEAR)))
        rows.append(row)
    return rows


def pixel_art(lines):
    """Rows of characters to rows of palette indices: K black, R red, Y yellow, W white."""
    colours = {"K": BLACK, "R": RED, "Y": YELLOW, "W": WHITE, ".": CLEAR}
    return [[colours[ch] for ch in line] for line in lines]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


# The alarm clock: a round red case with a white face, two bells and a
# hammer above it, hands at ten past ten and two little feet below.
FACE_X, FACE_Y = 16.0, 17.5
CASE_R, FACE_R = 11.0, 8.5
BELLS = ((6.5, 6.5), (25.5, 6.5))
BELL_R = 4.75


def hand_end(angle_deg, length):
    a = math.radians(angle_deg)
    return FACE_X + length * math.sin(a), FACE_Y - length * math.cos(a)


HOUR_HAND = hand_end(-60.0, 4.8)
MINUTE_HAND = hand_end(60.0, 7.0)


def alarm_clock(px, py):
    d = math.hypot(px - FACE_X, py - FACE_Y)
    if d <= CASE_R:
        if d > CASE_R - 1.1:
            return BLACK
        if d > FACE_R:
            return RED
        if d > FACE_R - 0.9:
            return BLACK
        if d < 1.3:
            return RED
        if segment_distance(px, py, FACE_X, FACE_Y, *HOUR_HAND) < 0.9:
            return BLACK
        if segment_distance(px, py, FACE_X, FACE_Y, *MINUTE_HAND) < 0.7:
            return BLACK
        for tx, ty in ((0, -1), (1, 0), (0, 1), (-1, 0)):
            if segment_distance(px, py, FACE_X + tx * 6.0, FACE_Y + ty * 6.0,
                                FACE_X + tx * 7.3, FACE_Y + ty * 7.3) < 0.7:
                return BLACK
        return WHITE
    # Hammer between the bells: a stem from the case up to a knob.
    if abs(px - FACE_X) < 1.0 and 3.5 <= py <= FACE_Y - CASE_R + 0.5:
        return BLACK
    if math.hypot(px - FACE_X, py - 3.0) < 1.8:
        return BLACK
    for bx, by in BELLS:
        b = math.hypot(px - bx, py - by)
        if b <= BELL_R:
            return BLACK if b > BELL_R - 1.1 else YELLOW
    # Feet: two short legs slanting outwards from the bottom of the case.
    for ax, bx in ((10.0, 6.5), (22.0, 25.5)):
        if segment_distance(px, py, ax, 26.5, bx, 30.5) < 1.1:
            return BLACK
    return CLEAR


# At 16 x 16 a scaled-down drawing turns to mush; this one is drawn by hand.
ALARM_CLOCK_16 = pixel_art([
    ".KKK........KKK.",
    "KYYYK..KK..KYYYK",
    "KYYYK.KKKK.KYYYK",
    "KYYYKKKRRKKKYYYK",
    ".KKKKRRRRRRKKKK.",
    "..KKRWWWWWWRKK..",
    "..KRWWWKWWWWRK..",
    "..KRWWWKWWWWRK..",
    ".KRRWWWKWWWWRRK.",
    ".KRRWWWKKKKWRRK.",
    "..KRWWWWWWWWRK..",
    "..KRWWWWWWWWRK..",
    "..KKRWWWWWWRKK..",
    "...KKRRRRRRKK...",
    "...K.KKKKKK.K...",
    "..K..........K..",
])


def centred_box(width, height, fill, edge):
    """A width x height box centred in a 32 x 32 image, with a one-pixel edge."""
    left, top = (32 - width) / 2.0, (32 - height) / 2.0
    right, bottom = left + width, top + height

    def shape(px, py):
        if not (left <= px < right and top <= py < bottom):
            return CLEAR
        if px < left + 1 or px >= right - 1 or py < top + 1 or py >= bottom - 1:
            return edge
        return fill
    return shape


def dib_image(pixels):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit XOR bitmap, 1-bit AND mask."""
    size = len(pixels)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up, as a DIB is stored
        xor = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is CLEAR:
                mask[x // 8] |= 0x80 >> (x % 8)
                c = 0
            xor[x // 2] |= c << (0 if x % 2 else 4)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    xor_bits, and_bits = b"".join(xor_rows), b"".join(and_rows)
    # Height counts the XOR bitmap and the AND mask together; size field 0 for BI_RGB
    # is allowed, but giving it keeps strict readers happy.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + xor_bits + and_bits


def ico_file(images):
    """An .ico file of the given square images (lists of rows)."""
    blobs = [dib_image(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for img, blob in zip(images, blobs):
        size = len(img)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# 32-bit images. A pixel is (red, green, blue, alpha).
SIZES = (16, 20, 24, 32, 40, 48, 256)
TRUE_SAMPLES = 6


def rgba(c):
    return (0, 0, 0, 0) if c is CLEAR else PALETTE[c] + (255,)


def render_rgba(shape, size):
    """The 32-unit drawing sampled at size x size pixels: the average of its samples, by alpha."""
    scale = 32.0 / size
    n = TRUE_SAMPLES
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(n):
                for sx in range(n):
                    c = shape((x + (sx + 0.5) / n) * scale, (y + (sy + 0.5) / n) * scale)
                    if c is not CLEAR:
                        pr, pg, pb = PALETTE[c]
                        r, g, b, a = r + pr, g + pg, b + pb, a + 1
            if a:
                row.append((r // a, g // a, b // a, 255 * a // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def greyed(rows):
    """The image washed out to light greys: a clock that does not run."""
    out = []
    for row in rows:
        new = []
        for r, g, b, a in row:
            v = (r * 30 + g * 59 + b * 11) // 100
            v = 96 + v * 128 // 255
            new.append((v, v, v, a))
        out.append(new)
    return out


def no_mark(px, py):
    """A red disc with a white cross, at the lower right of the 32-unit square."""
    cx, cy, radius = 22.5, 22.5, 9.0
    d = math.hypot(px - cx, py - cy)
    if d > radius:
        return CLEAR
    if d > radius - 1.2:
        return WHITE
    arm = radius * 0.5
    if (segment_distance(px, py, cx - arm, cy - arm, cx + arm, cy + arm) < 1.4 or
            segment_distance(px, py, cx - arm, cy + arm, cx + arm, cy - arm) < 1.4):
        return WHITE
    return RED


def over(top, bottom):
    """Lays one image over another of the same size."""
    out = []
    for trow, brow in zip(top, bottom):
        row = []
        for (tr, tg, tb, ta), (br, bg, bb, ba) in zip(trow, brow):
            a = ta + ba * (255 - ta) // 255
            if a == 0:
                row.append((0, 0, 0, 0))
                continue
            mix = lambda t, b: (t * ta + b * ba * (255 - ta) // 255) // a
            row.append((mix(tr, br), mix(tg, bg), mix(tb, bb), a))
        out.append(row)
    return out


def clock_image(size):
    if size == 16:
        return [[rgba(c) for c in row] for row in ALARM_CLOCK_16]
    return render_rgba(alarm_clock, size)


def not_recording_image(size):
    return over(render_rgba(no_mark, size), greyed(clock_image(size)))


def dib_image32(pixels):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, and the AND mask that
    renderers without alpha use (bit 1 where the pixel is clear)."""
    size = len(pixels)
    and_stride = ((size + 31) // 32) * 4
    colour, mask = bytearray(), bytearray()
    for row in reversed(pixels):
        line = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png_image(pixels):
    """One image as a PNG file (RGBA, 8 bits a channel), as icons keep their 256-pixel image."""
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_file32(images):
    """An .ico file of 32-bit images; the 256-pixel one as PNG (its size bytes are 0)."""
    blobs = [png_image(img) if len(img) >= 256 else dib_image32(img) for img in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for img, blob in zip(images, blobs):
        size = len(img) % 256
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


TRUE_COLOUR_ICONS = [
    ("app.ico", clock_image),                    # 102
    ("not_recording.ico", not_recording_image),  # 109
]

ICONS = [
    # file name and images, with the icon resource number each becomes
    ("button_up.ico", [render(centred_box(14, 14, SILVER, GREY))]),   # 105
    ("key_up.ico", [render(centred_box(28, 10, SILVER, GREY))]),      # 106
    ("button_down.ico", [render(centred_box(14, 14, RED, MAROON))]),  # 107
    ("key_down.ico", [render(centred_box(28, 10, RED, MAROON))]),     # 108
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    files = [(name, ico_file32([draw(size) for size in SIZES])) for name, draw in TRUE_COLOUR_ICONS]
    files += [(name, ico_file(images)) for name, images in ICONS]
    for name, data in files:
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(data)
        print("%s: %d bytes" % (os.path.normpath(path), len(data)))


if __name__ == "__main__":
    main()
