"""Window icons (16 x 16 and 32 x 32): application, remote connection and
the four message-box symbols. Silhouettes are binary (alpha 0 or 255) so
the colour image and the AND mask always agree."""

import math

from raster import (Canvas, rect, rrect, circle, polygon, stroke, union, transform,
                    arc_pts, ellipse_pts, positive, vgrad, mix)
from background import glyph


def finish(c):
    """RGBA rows with binary alpha (coverage of one half or more is
    opaque, in its own un-premultiplied colour)."""
    rows = []
    for y in range(c.h):
        row = []
        for x in range(c.w):
            i = y * c.w + x
            if c.a[i] >= 0.5:
                r, g, b = c.rgb8(x, y)
                row.append((r, g, b, 255))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def outlined(c, shape_out, shape_in, edge, body):
    c.fill(shape_out, edge)
    return c.fill(shape_in, body)


# ------------------------------------------------------------ message box

def disc(c, s, top, bot, edge):
    m = s / 2.0
    r = m - 0.5 if s >= 32 else m - 0.3
    outlined(c, circle(m, m, r), circle(m, m, r - (1.3 if s >= 32 else 1.0)), edge,
             vgrad(0, s, top, bot))
    if s >= 32:
        # a soft sheen on the upper half
        c.fill([positive(ellipse_pts(m, m * 0.62, r * 0.72, r * 0.42))], "#ffffff", opacity=0.14)


def mb_error(s):
    c = Canvas(s, s)
    disc(c, s, "#f0574c", "#b71d16", "#7e120d")
    m = s / 2.0
    d = 5.6 if s >= 32 else 2.9
    w = 4.0 if s >= 32 else 2.0
    c.fill(stroke([(m - d, m - d), (m + d, m + d)], w, cap="butt"), "#ffffff")
    c.fill(stroke([(m + d, m - d), (m - d, m + d)], w, cap="butt"), "#ffffff")
    return finish(c)


def mb_info(s):
    c = Canvas(s, s)
    disc(c, s, "#5a9cec", "#1b58ad", "#103a77")
    if s >= 32:
        c.fill(circle(16, 9.6, 2.5), "#ffffff")
        c.fill(rect(14, 14, 18, 24), "#ffffff")
        c.fill(rect(12.5, 14, 18, 16), "#ffffff")
        c.fill(rect(12.5, 22.5, 19.5, 24.5), "#ffffff")
    else:
        c.fill(rect(7, 3, 9, 5), "#ffffff")
        c.fill(rect(7, 6, 9, 12), "#ffffff")
        c.fill(rect(6, 6, 7, 7), "#ffffff")
        c.fill(rect(6, 11, 10, 12), "#ffffff")
    return finish(c)


def mb_question(s):
    c = Canvas(s, s)
    disc(c, s, "#5a9cec", "#1b58ad", "#103a77")
    if s >= 32:
        hook = arc_pts(16, 12.2, 5.0, 160, -50) + [(16.0, 18.0), (16.0, 20.2)]
        c.fill(stroke(hook, 3.6, cap="butt"), "#ffffff")
        c.fill(circle(16, 24.6, 2.2), "#ffffff")
    else:
        # pixel-drawn at this size
        for (x0, y0, x1, y1) in ((6, 3, 10, 4), (5, 4, 6, 6), (10, 4, 11, 7),
                                 (9, 7, 10, 8), (7, 8, 9, 10), (7, 11, 9, 13)):
            c.fill(rect(x0, y0, x1, y1), "#ffffff")
    return finish(c)


def mb_warning(s):
    c = Canvas(s, s)
    if s >= 32:
        outer = [(16, 1.0), (31.2, 29.5), (0.8, 29.5)]
        inner = [(16, 3.6), (29.0, 28.2), (3.0, 28.2)]
    else:
        outer = [(8, 0.4), (15.8, 15.0), (0.2, 15.0)]
        inner = [(8, 2.2), (14.4, 14.0), (1.6, 14.0)]
    outlined(c, polygon(outer), polygon(inner), "#8e6400",
             vgrad(0, s, "#ffe066", "#f2b100"))
    ink = "#262626"
    if s >= 32:
        c.fill(polygon([(14.2, 10.5), (17.8, 10.5), (17.1, 20.5), (14.9, 20.5)]), ink)
        c.fill(circle(16, 24.4, 1.9), ink)
    else:
        c.fill(rect(7, 5, 9, 10), ink)
        c.fill(rect(7, 11, 9, 13), ink)
    return finish(c)


# ------------------------------------------------------------ application

def app_icon(s):
    """The brand: a dark instrument tile with the N of the name and a trace."""
    c = Canvas(s, s)
    if s >= 32:
        outlined(c, rrect(0.5, 0.5, 31.5, 31.5, 6), rrect(1.5, 1.5, 30.5, 30.5, 5),
                 "#05090d", vgrad(0, 32, "#243646", "#0d161f"))
        c.fill(transform(glyph("N"), 10.0, 4.0, 0.92, 0.8125), "#eef3f6")
        pts = [(5.0 + 22.0 * i / 60.0,
                23.5 - 3.0 * math.sin(2 * math.pi * 1.5 * i / 60.0))
               for i in range(61)]
        c.fill(stroke(pts, 2.0, cap="round"), "#2ec4b6")
    else:
        outlined(c, rrect(0.2, 0.2, 15.8, 15.8, 3), rrect(1.0, 1.0, 15.0, 15.0, 2.4),
                 "#05090d", vgrad(0, 16, "#243646", "#0d161f"))
        # the N, pixel-drawn
        for (x0, y0, x1, y1) in ((4, 3, 6, 11), (10, 3, 12, 11), (6, 4, 7, 6), (7, 5, 8, 8),
                                 (8, 7, 9, 9), (9, 8, 10, 10)):
            c.fill(rect(x0, y0, x1, y1), "#eef3f6")
        c.fill(rect(3, 12, 13, 13), "#2ec4b6")
    return finish(c)


# ------------------------------------------------------------ remote connection

def handheld(c, x0, y0, x1, y1, s):
    outlined(c, rrect(x0, y0, x1, y1, 2 if s >= 32 else 1),
             rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1.2 if s >= 32 else 0.5),
             "#16212b", vgrad(y0, y1, "#4a6278", "#2c3e50"))
    if s >= 32:
        c.fill(rect(x0 + 2, y0 + 3, x1 - 2, y0 + 10), "#0b2624")
        c.fill(stroke([(x0 + 2.5, y0 + 7.5), (x0 + 4, y0 + 5.5), (x0 + 5.5, y0 + 8),
                       (x1 - 2.5, y0 + 5)], 1.2, cap="butt"), "#3ee0c9")
        for ky in (y0 + 13, y0 + 16, y0 + 19):
            for kx in (x0 + 2, x0 + 5):
                c.fill(rect(kx, ky, kx + 2, ky + 1.5), "#9fb3c4")
        # microphone on top
        c.fill(rect((x0 + x1) / 2 - 1, y0 - 3, (x0 + x1) / 2 + 1, y0 + 0.5), "#16212b")
        c.fill(circle((x0 + x1) / 2, y0 - 3.5, 2.0), "#c7d1da")
    else:
        c.fill(rect(x0 + 1, y0 + 2, x1 - 1, y0 + 5), "#3ee0c9")
        c.fill(rect(x0 + 1, y0 + 7, x1 - 1, y0 + 8), "#9fb3c4")


def arrows(c, x0, x1, ya, yb, head, w, colour, edge):
    for y, right in ((ya, True), (yb, False)):
        if right:
            shaft = rect(x0, y - w / 2, x1 - head, y + w / 2)
            tip = polygon([(x1 - head, y - head), (x1, y), (x1 - head, y + head)])
        else:
            shaft = rect(x0 + head, y - w / 2, x1, y + w / 2)
            tip = polygon([(x0 + head, y - head), (x0, y), (x0 + head, y + head)])
        c.fill(union(shaft, tip), colour)


def remote_icon(s):
    c = Canvas(s, s)
    if s >= 32:
        handheld(c, 1, 9, 11, 31, s)
        # desktop monitor
        outlined(c, rrect(19, 5, 31.5, 17, 1.5), rrect(20, 6, 30.5, 16, 1), "#16212b",
                 "#5d6f80")
        c.fill(rect(21, 7, 29.5, 15), vgrad(7, 15, "#6fb2ff", "#2a6fd0"))
        c.fill(rect(23.5, 17, 27, 20), "#16212b")
        c.fill(rrect(20.5, 20, 30, 22.5, 1), "#16212b")
        c.fill(rrect(21.5, 20.5, 29, 21.8, 0.5), "#7d8e9e")
        # link arrows
        arrows(c, 14.0, 31.0, 24.5, 29.5, 3.0, 2.0, "#22a04a", "#0f5a26")
    else:
        handheld(c, 1, 3, 7, 15, s)
        c.fill(rect(9, 2, 16, 8), "#16212b")
        c.fill(rect(10, 3, 15, 7), "#4d94f0")
        c.fill(rect(12, 8, 13, 9), "#16212b")
        c.fill(rect(10, 9, 15, 10), "#16212b")
        for y, right in ((12, True), (14.5, False)):
            if right:
                c.fill(union(rect(8, y - 0.5, 13.5, y + 0.5),
                             polygon([(13, y - 2), (15.6, y), (13, y + 2)])), "#22a04a")
            else:
                c.fill(union(rect(10.5, y - 0.5, 16, y + 0.5),
                             polygon([(11, y - 2), (8.4, y), (11, y + 2)])), "#22a04a")
    return finish(c)


# id, file name, painter
WINDOW_ICONS = [
    (128, "app.ico", app_icon),
    (141, "remote.ico", remote_icon),
    (2300, "mb_info.ico", mb_info),
    (2301, "mb_error.ico", mb_error),
    (2302, "mb_question.ico", mb_question),
    (2303, "mb_warning.ico", mb_warning),
]
