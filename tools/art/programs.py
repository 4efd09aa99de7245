"""Program icons: 50 x 50 tiles on the list's mask grey.

Every icon is a rounded tile in the program's own colour with a crisp
(non-antialiased) silhouette, so no pixel near the mask grey appears
at its edge; inside the tile a white measurement symbol with one warm
accent colour."""

import math

from raster import (Canvas, rect, rrect, circle, ring, polygon, stroke, union,
                    transform, arc_pts, ellipse_pts, positive, negative, vgrad, mix,
                    draw_text, text_width, FONT5x7)

SIZE = 50
MASK = (152, 152, 152)
WHITE = "#ffffff"
AMBER = "#ffc94d"
RED = "#ff4f4f"


class Tile:
    def __init__(self, base):
        self.base = base
        self.top = tuple(round(v) for v in mix(base, "#ffffff", 0.16))
        self.bot = tuple(round(v) for v in mix(base, "#000000", 0.22))
        self.edge = tuple(round(v) for v in mix(base, "#000000", 0.58))
        self.shade = tuple(round(v) for v in mix(base, "#000000", 0.62))
        self.c = Canvas(SIZE, SIZE, fill=MASK)
        c = self.c
        c.fill(rrect(2, 2, 48, 48, 9), self.edge, crisp=True)
        self.inner = c.fill(rrect(3, 3, 47, 47, 8), vgrad(3, 47, self.top, self.bot), crisp=True)
        # a soft light on the upper part and a darker lip at the bottom
        c.fill(rect(3, 3, 47, 20), "#ffffff", opacity=0.07, clip=self.inner)
        c.fill(rect(3, 44, 47, 47), self.edge, opacity=0.30, clip=self.inner)
        c.fill(rect(3, 3, 47, 4), "#ffffff", opacity=0.22, clip=self.inner)

    def sym(self, shape, colour=WHITE, shadow=True, opacity=1.0):
        """A symbol part with a one-pixel drop shadow."""
        if shadow:
            self.c.fill(transform(shape, 0.0, 1.0), self.shade, opacity=0.45 * opacity,
                        clip=self.inner)
        self.c.fill(shape, colour, opacity=opacity, clip=self.inner)

    def knock(self, shape):
        """Cut a gap in the tile colour (to separate overlapping parts)."""
        self.c.fill(shape, lambda x, y: vgrad(3, 47, self.top, self.bot)(x, y), clip=self.inner)

    def rows(self):
        rows = self.c.rows()
        # only the backdrop may be exactly the mask colour
        for y in range(SIZE):
            for x in range(SIZE):
                if rows[y][x] == MASK and self.inner.at(x, y) > 0:
                    rows[y][x] = (151, 151, 151)
        return rows


def polar(cx, cy, r, deg):
    a = math.radians(deg)
    return (cx + r * math.cos(a), cy - r * math.sin(a))


# ------------------------------------------------------------ symbols

def zentra():
    """Sound level meter: a dial with its needle and a dB legend."""
    t = Tile("#2d62b0")
    cx, cy, r = 25.0, 31.0, 15.0
    t.sym(stroke(arc_pts(cx, cy, r, 160, 20), 2.6, cap="butt"))
    for a in (160, 125, 90, 55, 20):
        t.sym(stroke([polar(cx, cy, 9.8, a), polar(cx, cy, 12.6, a)], 2.0, cap="butt"))
    t.sym(stroke([(cx, cy), polar(cx, cy, 14.0, 58)], 2.4, cap="round"), AMBER)
    t.sym(circle(cx, cy, 3.2))
    draw_text(t.c, 20, 37, "dB", WHITE)
    return t


def quilbar():
    """FFT spectrum: a noise floor with harmonic lines and a peak marker."""
    t = Tile("#138a86")
    base = 38.0
    floor = [(9.0, base)]
    for i in range(0, 33):
        x = 9.0 + i
        floor.append((x, base - 3.0 - 1.6 * abs(math.sin(i * 1.7)) - 1.0 * (i % 3 == 0)))
    floor.append((41.0, base))
    t.sym(polygon(floor), opacity=0.55, shadow=False)
    peaks = [(13, 23), (19, 9), (25, 17), (31, 7), (37, 5)]
    for x, h in peaks:
        t.sym(rect(x - 1, base - 3 - h, x + 1, base))
    t.sym(rect(9, base, 41, base + 2))
    # marker over the largest line
    t.sym(polygon([(10.0, 8.0), (16.0, 8.0), (13.0, 11.5)]), AMBER)
    return t


def ovik():
    """Vibration: a mass on a spring, moving up and down."""
    t = Tile("#c8702a")
    # mass
    t.sym(rrect(12, 8, 30, 19, 2.0))
    # spring
    zig = [(21.0, 19.0), (21.0, 21.0)]
    for k in range(6):
        zig.append((15.5 if k % 2 == 0 else 26.5, 22.5 + k * 2.6))
    zig += [(21.0, 37.5), (21.0, 39.0)]
    t.sym(stroke(zig, 2.0, cap="butt", join="round"))
    # ground
    t.sym(rect(9, 39, 33, 41.5))
    for k in range(5):
        x = 11.0 + k * 5
        t.sym(stroke([(x + 2.5, 42.0), (x, 45.5)], 1.4, cap="butt"), opacity=0.7,
              shadow=False)
    # motion arrow
    t.sym(rect(37.5, 13, 40.5, 35), AMBER)
    t.sym(polygon([(34.0, 14.0), (39.0, 7.0), (44.0, 14.0)]), AMBER)
    t.sym(polygon([(34.0, 34.0), (44.0, 34.0), (39.0, 41.0)]), AMBER)
    return t


def marl_sweep():
    """Swept sine: a chirp whose frequency rises to the right."""
    t = Tile("#6a4cb0")
    pts = []
    for i in range(0, 161):
        u = i / 160.0
        x = 8.0 + 34.0 * u
        ph = 2 * math.pi * (0.55 * u + 2.3 * u * u)
        pts.append((x, 23.0 - 9.0 * math.sin(ph)))
    t.sym(stroke(pts, 2.3, cap="round", join="round"))
    t.sym(stroke([(10, 39), (35, 39)], 2.2, cap="butt"), AMBER)
    t.sym(polygon([(34, 35), (41, 39), (34, 43)]), AMBER)
    return t


def pell_gather():
    """Data gathering: records flowing into a store of stacked discs."""
    t = Tile("#2f8a45")
    cx, rx, ry = 25.0, 12.5, 4.0
    lid = tuple(round(v) for v in mix("#ffffff", t.base, 0.30))
    for k, (y0, y1) in enumerate(((33.0, 40.0), (26.0, 32.5), (19.0, 25.5))):
        t.sym(union([positive(ellipse_pts(cx, y1, rx, ry))], rect(cx - rx, y0, cx + rx, y1)))
        if k < 2:
            # the gap above this disc
            t.knock(stroke(arc_pts(cx, y0 - 0.3, rx, 180, 360, 40), 1.4, cap="butt"))
    t.c.fill([positive(ellipse_pts(cx, 19.0, rx, ry))], lid, clip=t.inner)
    # arrow coming down into the store
    t.sym(rect(23, 3.5, 27, 10), AMBER)
    t.sym(polygon([(18.5, 9.0), (31.5, 9.0), (25.0, 15.5)]), AMBER)
    return t


def tersen():
    """Fractional-octave analysis: band bars with peak-hold ticks."""
    t = Tile("#b23b4e")
    heights = [12, 19, 16, 26, 21, 15, 9]
    base = 40
    for i, h in enumerate(heights):
        x = 8 + i * 5
        t.sym(rect(x, base - h, x + 4, base))
        t.sym(rect(x, base - h - 4, x + 4, base - h - 2.5), AMBER)
    t.sym(rect(7, base + 1, 43, base + 2.5), opacity=0.8)
    return t


def roundel_probe():
    """A probe lowered onto the centre of a measuring roundel."""
    t = Tile("#b58a17")
    cx, cy = 25.0, 35.0
    t.sym([positive(ellipse_pts(cx, cy, 18.0, 7.6)), negative(ellipse_pts(cx, cy, 15.6, 5.9))])
    t.sym([positive(ellipse_pts(cx, cy, 10.0, 4.0)), negative(ellipse_pts(cx, cy, 7.8, 2.8))])
    t.sym([positive(ellipse_pts(cx, cy, 2.8, 1.4))], RED)
    # the probe: handle, collar, stem and tip
    t.knock(rect(21.4, 18, 28.6, 33.5))
    t.sym(rrect(21.5, 4, 28.5, 15, 2.0))
    t.sym(rect(21.0, 15, 29.0, 18), AMBER)
    t.sym(rect(23.2, 18, 26.8, 27))
    t.sym(polygon([(23.2, 27.0), (26.8, 27.0), (25.0, 32.5)]))
    return t


def kest():
    """Decay: a damped oscillation under its falling envelope."""
    t = Tile("#3d6f8c")
    cx0, cx1, cy, amp = 8.0, 42.0, 27.0, 14.0
    t.sym(rect(cx0, cy - 0.6, cx1, cy + 0.6), opacity=0.45, shadow=False)
    pts, env = [], []
    for i in range(0, 201):
        u = i / 200.0
        x = cx0 + (cx1 - cx0) * u
        e = math.exp(-3.2 * u)
        pts.append((x, cy - amp * e * math.sin(2 * math.pi * 3.6 * u + 0.5)))
        env.append((x, cy - amp * e - 1.2))
    # dashed envelope
    seg = 6
    for k in range(0, len(env) - 1, seg * 2):
        part = env[k:k + seg + 1]
        if len(part) > 1:
            t.sym(stroke(part, 1.5, cap="butt"), AMBER, shadow=False)
    t.sym(stroke(pts, 2.3, cap="round", join="round"))
    return t


def pell_tape():
    """Recorder: two tape reels joined by the tape, and a record lamp."""
    t = Tile("#3a4656")
    r = 8.6
    for cx in (15.0, 35.0):
        t.sym(circle(cx, 20.0, r))
        hole = tuple(round(v) for v in mix(t.base, "#000000", 0.05))
        for a in (90, 210, 330):
            hx, hy = polar(cx, 20.0, 4.6, a)
            t.c.fill(circle(hx, hy, 2.1), hole, clip=t.inner)
        t.c.fill(circle(cx, 20.0, 1.3), hole, clip=t.inner)
    t.sym(rect(15.0, 20.0 + r - 1.8, 35.0, 20.0 + r))
    t.sym(circle(25.0, 37.5, 4.4), "#5a0f0f", shadow=False)
    t.sym(circle(25.0, 37.5, 3.5), RED, shadow=False)
    t.c.fill(circle(24.0, 36.4, 1.1), "#ffb0b0", clip=t.inner)
    return t


def varnet():
    """Measurement network: nodes linked to a hub."""
    t = Tile("#2a7fc0")
    hub = (25.0, 25.0)
    nodes = [(11.5, 12.0), (38.5, 12.0), (11.5, 38.0), (38.5, 38.0)]
    for n in nodes:
        t.sym(stroke([hub, n], 2.0, cap="butt"))
    t.sym(stroke([nodes[0], nodes[1]], 1.6, cap="butt"), opacity=0.7)
    t.sym(stroke([nodes[2], nodes[3]], 1.6, cap="butt"), opacity=0.7)
    for (x, y) in nodes:
        t.sym(circle(x, y, 4.4))
    t.sym(circle(hub[0], hub[1], 5.6), AMBER)
    t.c.fill(circle(hub[0], hub[1], 2.2), t.base, clip=t.inner)
    return t


def extra():
    """Generic extra program: an application window with a trace."""
    t = Tile("#5b6775")
    t.sym(union([positive([(10, 12), (40, 12), (40, 38), (10, 38)])],
                [negative([(12.2, 18.5), (37.8, 18.5), (37.8, 35.8), (12.2, 35.8)])]))
    pts = []
    for i in range(0, 101):
        u = i / 100.0
        pts.append((14.0 + 22.0 * u, 28.0 - 5.0 * math.sin(2 * math.pi * 1.5 * u)))
    t.sym(stroke(pts, 1.8, cap="round"), AMBER, shadow=False)
    for k, x in enumerate((33.0, 36.0)):
        t.c.fill(rect(x - 1, 14.2, x + 1, 16.2), t.base, clip=t.inner)
    return t


# id, file name, display name, painter, bits per pixel
PROGRAM_ICONS = [
    (131, "icon_zentra.bmp", "Zentra", zentra, 24),
    (138, "icon_quilbar.bmp", "Quilbar", quilbar, 24),
    (132, "icon_ovik.bmp", "Ovik", ovik, 24),
    (134, "icon_marl_sweep.bmp", "Marl Sweep", marl_sweep, 24),
    (136, "icon_pell_gather.bmp", "Pell Gather", pell_gather, 24),
    (137, "icon_tersen.bmp", "Tersen", tersen, 24),
    (135, "icon_roundel_probe.bmp", "Roundel Probe", roundel_probe, 24),
    (146, "icon_kest.bmp", "Kest", kest, 24),
    (147, "icon_pell_tape.bmp", "Pell Tape", pell_tape, 24),
    (139, "icon_varnet.bmp", "Varnet", varnet, 24),
    (154, "icon_extra.bmp", "Extra program", extra, 8),
]
