"""A small deterministic vector rasteriser in pure Python.

Shapes are lists of closed contours (lists of (x, y) points, pixel
coordinates, y downwards; the pixel (i, j) covers [i, i+1) x [j, j+1)).
Coverage is found by point sampling on an S x S grid inside every pixel
with the non-zero winding rule, so overlapping pieces of one shape unite.
Canvas colours are premultiplied floats in 0..1.
"""

import math

SS = 5  # sub-samples per pixel and axis


# ---------------------------------------------------------------- geometry

def signed_area(contour):
    a = 0.0
    n = len(contour)
    for i in range(n):
        x1, y1 = contour[i]
        x2, y2 = contour[(i + 1) % n]
        a += x1 * y2 - x2 * y1
    return a / 2.0


def positive(contour):
    """The contour turned so that its signed area is positive."""
    return list(contour) if signed_area(contour) >= 0 else list(reversed(contour))


def negative(contour):
    return list(reversed(positive(contour)))


def rect(x0, y0, x1, y1):
    return [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]


def ellipse_pts(cx, cy, rx, ry, n=None):
    if n is None:
        n = max(16, int(2 * math.pi * max(rx, ry) * 1.5))
    return [(cx + rx * math.cos(2 * math.pi * i / n),
             cy + ry * math.sin(2 * math.pi * i / n)) for i in range(n)]


def circle(cx, cy, r, n=None):
    return [positive(ellipse_pts(cx, cy, r, r, n))]


def ring(cx, cy, r_out, r_in):
    return [positive(ellipse_pts(cx, cy, r_out, r_out)),
            negative(ellipse_pts(cx, cy, r_in, r_in))]


def arc_pts(cx, cy, r, a0, a1, n=None):
    """Points on an arc; angles in degrees, 0 = +x, counter-clockwise on
    screen (y up visually), i.e. y = cy - r sin(a)."""
    if n is None:
        n = max(4, int(abs(a1 - a0) / 360.0 * 2 * math.pi * r * 1.2) + 1)
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + r * math.cos(a), cy - r * math.sin(a)))
    return pts


def rrect_pts(x0, y0, x1, y1, r, corners=(True, True, True, True)):
    """Rounded rectangle; corners = (top-left, top-right, bottom-right,
    bottom-left)."""
    pts = []
    quarters = [((x0 + r, y0 + r), 180, 90, corners[0], (x0, y0)),
            ((x1 - r, y0 + r), 90, 0, corners[1], (x1, y0)),
            ((x1 - r, y1 - r), 0, -90, corners[2], (x1, y1)),
            ((x0 + r, y1 - r), -90, -180, corners[3], (x0, y1))]
    for (cx, cy), a0, a1, rounded, corner in quarters:
        if rounded and r > 0:
            pts.extend(arc_pts(cx, cy, r, a0, a1))
        else:
            pts.append(corner)
    return pts


def rrect(x0, y0, x1, y1, r, corners=(True, True, True, True)):
    return [positive(rrect_pts(x0, y0, x1, y1, r, corners))]


def rrect_ring(x0, y0, x1, y1, r, t):
    return [positive(rrect_pts(x0, y0, x1, y1, r)),
            negative(rrect_pts(x0 + t, y0 + t, x1 - t, y1 - t, max(0.0, r - t)))]


def polygon(pts):
    return [positive(pts)]


def stroke(points, width, cap="round", join="round", closed=False):
    """Outline of a polyline as a union of positive contours."""
    h = width / 2.0
    pts = list(points)
    if closed:
        pts = pts + [pts[0]]
    out = []
    nseg = len(pts) - 1
    for i in range(nseg):
        (x1, y1), (x2, y2) = pts[i], pts[i + 1]
        dx, dy = x2 - x1, y2 - y1
        ln = math.hypot(dx, dy)
        if ln == 0:
            continue
        ux, uy = dx / ln, dy / ln
        if cap == "square" and not closed:
            if i == 0:
                x1, y1 = x1 - ux * h, y1 - uy * h
            if i == nseg - 1:
                x2, y2 = x2 + ux * h, y2 + uy * h
        nx, ny = -uy * h, ux * h
        out.append(positive([(x1 + nx, y1 + ny), (x2 + nx, y2 + ny),
                             (x2 - nx, y2 - ny), (x1 - nx, y1 - ny)]))
    if join == "round":
        inner = pts[1:-1] if not closed else pts[:-1]
        for (x, y) in inner:
            out.append(positive(ellipse_pts(x, y, h, h)))
    if cap == "round" and not closed:
        for (x, y) in (pts[0], pts[-1]):
            out.append(positive(ellipse_pts(x, y, h, h)))
    return out


def transform(shape, dx=0.0, dy=0.0, sx=1.0, sy=None):
    if sy is None:
        sy = sx
    res = []
    for c in shape:
        nc = [(x * sx + dx, y * sy + dy) for (x, y) in c]
        res.append(nc if (sx * sy) > 0 else list(reversed(nc)))
    return res


def union(*shapes):
    out = []
    for s in shapes:
        out.extend(s)
    return out


# ---------------------------------------------------------------- coverage

class Coverage:
    """Per-pixel coverage (0..1) of a shape inside a bounding box."""

    def __init__(self, x0, y0, w, h, data):
        self.x0, self.y0, self.w, self.h, self.data = x0, y0, w, h, data

    def at(self, x, y):
        i, j = x - self.x0, y - self.y0
        if 0 <= i < self.w and 0 <= j < self.h:
            return self.data[j * self.w + i]
        return 0.0


def coverage(shape, W, H, ss=SS):
    edges = []
    minx = miny = float("inf")
    maxx = maxy = float("-inf")
    for c in shape:
        n = len(c)
        for i in range(n):
            x1, y1 = c[i]
            x2, y2 = c[(i + 1) % n]
            minx, maxx = min(minx, x1), max(maxx, x1)
            miny, maxy = min(miny, y1), max(maxy, y1)
            if y1 == y2:
                continue
            d = 1 if y2 > y1 else -1
            ya, yb = (y1, y2) if y1 < y2 else (y2, y1)
            # sample rows sy with ya <= (sy + .5)/ss < yb
            s0 = math.ceil(ya * ss - 0.5)
            s1 = math.ceil(yb * ss - 0.5)
            if s1 > s0:
                edges.append((s0, s1, x1, y1, (x2 - x1) / (y2 - y1), d))
    if not edges:
        return Coverage(0, 0, 0, 0, [])
    px0 = max(0, int(math.floor(minx)))
    py0 = max(0, int(math.floor(miny)))
    px1 = min(W, int(math.ceil(maxx)) + 1)
    py1 = min(H, int(math.ceil(maxy)) + 1)
    if px1 <= px0 or py1 <= py0:
        return Coverage(0, 0, 0, 0, [])
    bw, bh = px1 - px0, py1 - py0
    counts = [0] * (bw * bh)
    edges.sort(key=lambda e: e[0])
    active = []
    ei = 0
    smin, smax = py0 * ss, py1 * ss
    sxmin, sxmax = px0 * ss, px1 * ss
    for sy in range(max(smin, edges[0][0]), smax):
        while ei < len(edges) and edges[ei][0] <= sy:
            active.append(edges[ei])
            ei += 1
        active = [e for e in active if e[1] > sy]
        if not active:
            if ei >= len(edges):
                break
            continue
        yc = (sy + 0.5) / ss
        xs = sorted((e[2] + (yc - e[3]) * e[4], e[5]) for e in active)
        row = (sy // ss - py0) * bw
        wind = 0
        for k in range(len(xs) - 1):
            wind += xs[k][1]
            if wind == 0:
                continue
            xa, xb = xs[k][0], xs[k + 1][0]
            a = max(sxmin, math.ceil(xa * ss - 0.5))
            b = min(sxmax, math.ceil(xb * ss - 0.5))
            if b <= a:
                continue
            pa, pb = a // ss, (b - 1) // ss
            if pa == pb:
                counts[row + pa - px0] += b - a
            else:
                counts[row + pa - px0] += (pa + 1) * ss - a
                for p in range(pa + 1, pb):
                    counts[row + p - px0] += ss
                counts[row + pb - px0] += b - pb * ss
    full = float(ss * ss)
    return Coverage(px0, py0, bw, bh, [c / full for c in counts])


# ---------------------------------------------------------------- canvas

def hexrgb(v):
    if isinstance(v, tuple):
        return v
    v = v.lstrip("#")
    return (int(v[0:2], 16), int(v[2:4], 16), int(v[4:6], 16))


def mix(c1, c2, t):
    c1, c2 = hexrgb(c1), hexrgb(c2)
    return tuple(c1[i] + (c2[i] - c1[i]) * t for i in range(3))


def vgrad(y0, y1, c0, c1):
    """Vertical gradient colour function."""
    def f(x, y):
        t = 0.0 if y1 == y0 else min(1.0, max(0.0, (y + 0.5 - y0) / (y1 - y0)))
        return mix(c0, c1, t)
    return f


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        n = w * h
        if fill is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            r, g, b = hexrgb(fill)
            self.r, self.g, self.b = [r / 255.0] * n, [g / 255.0] * n, [b / 255.0] * n
            self.a = [1.0] * n

    def blend(self, i, col, a):
        if a <= 0:
            return
        r, g, b = col
        k = 1.0 - a
        self.r[i] = r / 255.0 * a + self.r[i] * k
        self.g[i] = g / 255.0 * a + self.g[i] * k
        self.b[i] = b / 255.0 * a + self.b[i] * k
        self.a[i] = a + self.a[i] * k

    def fill(self, shape, colour, opacity=1.0, crisp=False, clip=None):
        """Paint a shape. colour is '#rrggbb', an (r, g, b) tuple or a
        function (x, y) -> (r, g, b). crisp: coverage >= 1/2 paints fully,
        less paints nothing. clip: a Coverage to multiply with."""
        cov = coverage(shape, self.w, self.h)
        self.paint(cov, colour, opacity, crisp, clip)
        return cov

    def paint(self, cov, colour, opacity=1.0, crisp=False, clip=None):
        fn = colour if callable(colour) else None
        col = None if fn else hexrgb(colour)
        for j in range(cov.h):
            y = cov.y0 + j
            for i in range(cov.w):
                c = cov.data[j * cov.w + i]
                if c <= 0:
                    continue
                x = cov.x0 + i
                if clip is not None:
                    c *= clip.at(x, y)
                if crisp:
                    c = 1.0 if c >= 0.5 else 0.0
                if c <= 0:
                    continue
                self.blend(y * self.w + x, fn(x, y) if fn else col, c * opacity)

    def set_px(self, x, y, colour, a=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.blend(y * self.w + x, hexrgb(colour), a)

    def hline(self, x0, x1, y, colour, a=1.0):
        for x in range(x0, x1):
            self.set_px(x, y, colour, a)

    def vline(self, x, y0, y1, colour, a=1.0):
        for y in range(y0, y1):
            self.set_px(x, y, colour, a)

    def box(self, x0, y0, x1, y1, colour, a=1.0):
        """Pixel-exact rectangle [x0, x1) x [y0, y1); colour may be a
        function (x, y) -> rgb."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                col = colour(x, y) if callable(colour) else hexrgb(colour)
                self.blend(y * self.w + x, col, a)

    def rgb8(self, x, y, over=None):
        """Straight 8-bit colour of a pixel (composited over 'over' when
        given)."""
        i = y * self.w + x
        a = self.a[i]
        r, g, b = self.r[i], self.g[i], self.b[i]
        if over is not None:
            o = hexrgb(over)
            r += o[0] / 255.0 * (1 - a)
            g += o[1] / 255.0 * (1 - a)
            b += o[2] / 255.0 * (1 - a)
        elif 0 < a < 1:
            r, g, b = r / a, g / a, b / a
        return (q8(r), q8(g), q8(b))

    def alpha8(self, x, y):
        return q8(self.a[y * self.w + x])

    def rows(self, over=None):
        return [[self.rgb8(x, y, over) for x in range(self.w)] for y in range(self.h)]


def q8(v):
    v = int(math.floor(v * 255.0 + 0.5))
    return 0 if v < 0 else (255 if v > 255 else v)


# ---------------------------------------------------------------- pixel font

# 5 x 7 capitals, digits and a little punctuation ('#' = ink).
FONT5x7 = {
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "J": ["  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "M": ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    "N": ["#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "W": ["#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "Y": ["#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "],
    "Z": ["#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
    " ": ["     "] * 7,
    ".": ["     "] * 5 + ["  ## ", "  ## "],
    ":": ["     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "],
    "-": ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    "+": ["     ", "  #  ", "  #  ", "#####", "  #  ", "  #  ", "     "],
    "&": [" ##  ", "#  # ", "# #  ", " #   ", "# # #", "#  # ", " ## #"],
    "/": ["     ", "    #", "   # ", "  #  ", " #   ", "#    ", "     "],
    "x": ["     ", "     ", "#   #", " # # ", "  #  ", " # # ", "#   #"],
    "d": ["    #", "    #", " ####", "#   #", "#   #", "#   #", " ####"],
    "=": ["     ", "     ", "#####", "     ", "#####", "     ", "     "],
    "(": ["   # ", "  #  ", " #   ", " #   ", " #   ", "  #  ", "   # "],
    ")": [" #   ", "  #  ", "   # ", "   # ", "   # ", "  #  ", " #   "],
    "|": ["  #  "] * 7,
    "\u00b7": ["     ", "     ", "     ", "  #  ", "     ", "     ", "     "],
}

# 3 x 5 capitals and digits for tiny labels.
FONT3x5 = {
    "A": ["###", "# #", "###", "# #", "# #"], "B": ["## ", "# #", "## ", "# #", "## "],
    "C": ["###", "#  ", "#  ", "#  ", "###"], "D": ["## ", "# #", "# #", "# #", "## "],
    "E": ["###", "#  ", "## ", "#  ", "###"], "F": ["###", "#  ", "## ", "#  ", "#  "],
    "H": ["# #", "# #", "###", "# #", "# #"], "I": ["###", " # ", " # ", " # ", "###"],
    "K": ["# #", "# #", "## ", "# #", "# #"], "L": ["#  ", "#  ", "#  ", "#  ", "###"],
    "M": ["# #", "###", "###", "# #", "# #"], "N": ["## ", "# #", "# #", "# #", "# #"],
    "O": ["###", "# #", "# #", "# #", "###"], "P": ["###", "# #", "###", "#  ", "#  "],
    "R": ["## ", "# #", "## ", "# #", "# #"], "S": ["###", "#  ", "###", "  #", "###"],
    "T": ["###", " # ", " # ", " # ", " # "], "U": ["# #", "# #", "# #", "# #", "###"],
    "V": ["# #", "# #", "# #", "# #", " # "], "Y": ["# #", "# #", " # ", " # ", " # "],
    "Z": ["###", "  #", " # ", "#  ", "###"], "G": ["###", "#  ", "# #", "# #", "###"],
    "0": ["###", "# #", "# #", "# #", "###"], "1": [" # ", "## ", " # ", " # ", "###"],
    "2": ["###", "  #", "###", "#  ", "###"], "3": ["###", "  #", "###", "  #", "###"],
    "4": ["# #", "# #", "###", "  #", "  #"], "5": ["###", "#  ", "###", "  #", "###"],
    "6": ["###", "#  ", "###", "# #", "###"], "7": ["###", "  #", "  #", "  #", "  #"],
    "8": ["###", "# #", "###", "# #", "###"], "9": ["###", "# #", "###", "  #", "###"],
    " ": ["   "] * 5, "-": ["   ", "   ", "###", "   ", "   "],
    "k": ["#  ", "# #", "## ", "# #", "# #"], "z": ["   ", "###", " # ", "#  ", "###"],
    "d": ["  #", "  #", "###", "# #", "###"],
    ".": ["   ", "   ", "   ", "   ", " # "],
}


def text_width(s, font=FONT5x7, spacing=1):
    if not s:
        return 0
    return sum(len(font[ch][0]) for ch in s) + spacing * (len(s) - 1)


def draw_text(canvas, x, y, s, colour, font=FONT5x7, spacing=1, a=1.0):
    for ch in s:
        g = font[ch]
        for j, row in enumerate(g):
            for i, p in enumerate(row):
                if p == "#":
                    canvas.set_px(x + i, y + j, colour, a)
        x += len(g[0]) + spacing
    return x
