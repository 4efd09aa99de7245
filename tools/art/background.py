"""The launcher's full-screen background picture (240 x 320)."""

import math

from raster import (Canvas, rect, rrect, rrect_ring, polygon, union, transform,
                    vgrad, mix, draw_text, text_width, FONT5x7)

W, H = 240, 320
LIST_GREY = (152, 152, 152)

HEAD_TOP = "#0a1119"
HEAD_BOT = "#19262f"
ACCENT = "#2ec4b6"
ACCENT_DIM = "#17635c"
AMBER = "#ffc34d"
NAME = "#eef3f6"
TAGLINE = "#86a8b8"

HEADER_END = 48      # first row of the accent line
GREY_TOP = 50        # first grey row (the list starts a few rows lower)
GREY_END = 298       # first row of the bottom band


# ------------------------------------------------------------ display face

def glyph(ch):
    """Capitals of a squarish display face, 13 x 16 units, stroke 3."""
    if ch == "N":
        return union(rect(0, 0, 3, 16), rect(10, 0, 13, 16),
                     polygon([(0, 0), (3.7, 0), (13, 16), (9.3, 16)]))
    if ch == "O":
        return rrect_ring(0, 0, 13, 16, 4.5, 3)
    if ch == "R":
        bowl = [rrect(0, 0, 13, 9.5, 4, (False, True, True, False))[0],
                list(reversed(rrect(3, 3, 10, 6.5, 1.2, (False, True, True, False))[0]))]
        return union(rect(0, 0, 3, 16), bowl,
                     polygon([(5.2, 8.5), (8.9, 8.5), (13, 16), (9.3, 16)]))
    if ch == "V":
        return polygon([(0, 0), (3.4, 0), (6.5, 11.6), (9.6, 0), (13, 0),
                        (8.4, 16), (4.6, 16)])
    if ch == "A":
        return union(polygon([(4.6, 0), (8.4, 0), (13, 16), (9.6, 16), (6.5, 4.4),
                              (3.4, 16), (0, 16)]),
                     rect(2.5, 10, 10.5, 12.8))
    if ch == "E":
        return union(rect(0, 0, 3, 16), rect(0, 0, 12, 3), rect(0, 6.6, 10.5, 9.4),
                     rect(0, 13, 12, 16))
    raise KeyError(ch)


GLYPH_W = {"N": 13, "O": 13, "R": 13, "V": 13, "A": 13, "E": 12}


def word_shape(word, x, y, scale=1.0, tracking=4):
    shape = []
    for ch in word:
        shape += transform(glyph(ch), x, y, scale)
        x += (GLYPH_W[ch] + tracking) * scale
    return shape


def word_width(word, scale=1.0, tracking=4):
    return (sum(GLYPH_W[c] for c in word) + tracking * (len(word) - 1)) * scale


# ------------------------------------------------------------ picture

def spectrum_levels(n):
    """A deterministic, natural-looking band spectrum in 0..1."""
    out = []
    for i in range(n):
        u = i / (n - 1)
        v = (0.55 + 0.30 * math.exp(-((u - 0.28) / 0.16) ** 2)
             + 0.18 * math.exp(-((u - 0.68) / 0.08) ** 2) - 0.42 * u
             + 0.05 * math.sin(i * 2.3))
        out.append(max(0.12, min(1.0, v)))
    return out


def draw():
    c = Canvas(W, H, fill=LIST_GREY)

    # header band: stepped vertical gradient (few distinct colours)
    def head(x, y):
        t = math.floor(y / HEADER_END * 12) / 12.0
        return tuple(round(v) for v in mix(HEAD_TOP, HEAD_BOT, t))
    c.box(0, 0, W, HEADER_END, head)

    # accent rule under the header, then a dark hairline
    c.box(0, HEADER_END, W, HEADER_END + 1, ACCENT)
    c.box(0, HEADER_END + 1, W, GREY_TOP, "#0a1119")

    # product name
    c.fill(word_shape("NORVANE", 12, 9), NAME)
    # tag line
    tag = "SOUND & VIBRATION"
    draw_text(c, 12, 32, tag, TAGLINE, FONT5x7)

    # miniature analyser display on the right
    dx0, dy0, dx1, dy1 = 146, 7, 232, 41
    c.fill(rrect(dx0, dy0, dx1, dy1, 3), "#2a3946", crisp=True)
    c.fill(rrect(dx0 + 1, dy0 + 1, dx1 - 1, dy1 - 1, 2), "#050b0e", crisp=True)
    # graticule: dotted lines
    for gy in range(dy0 + 6, dy1 - 2, 7):
        for gx in range(dx0 + 3, dx1 - 2, 2):
            c.set_px(gx, gy, "#12302d")
    for gx in range(dx0 + 14, dx1 - 4, 14):
        for gy in range(dy0 + 3, dy1 - 2, 2):
            c.set_px(gx, gy, "#12302d")
    # band bars with peak-hold ticks
    n = 13
    levels = spectrum_levels(n)
    base = dy1 - 4
    top = dy0 + 5
    bx = dx0 + 4
    for i, lv in enumerate(levels):
        hgt = int(round(lv * (base - top - 4)))
        x0 = bx + i * 6
        c.box(x0, base - hgt, x0 + 4, base, vgrad(base - 22, base, ACCENT, ACCENT_DIM))
        peak = base - hgt - 3 - (i * 7 % 3)
        c.box(x0, peak, x0 + 4, peak + 1, AMBER)
    # baseline of the display
    c.box(dx0 + 3, base, dx1 - 3, base + 1, "#2d5e5a")

    # left margin: a quiet measuring scale on the list grey
    for y in range(GREY_TOP + 6, GREY_END - 2, 8):
        major = (y - GREY_TOP - 6) % 40 == 0
        c.box(3 if major else 7, y, 12, y + 1, "#868686" if major else "#8e8e8e")

    # bottom band behind the caption line, clock and battery gauge
    c.box(0, GREY_END, W, GREY_END + 1, ACCENT)
    c.box(0, GREY_END + 1, W, H, vgrad(GREY_END + 1, H, HEAD_BOT, HEAD_TOP))
    return c
