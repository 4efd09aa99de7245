#!/usr/bin/env python3
"""Writes a PNG contact sheet of the generated artwork, read back from the
files themselves, so that a person can look at everything at once.

    python3 tools/art/preview.py OUT.png [ARTDIR]

The sheet shows: a mock-up of the launcher screen at 1x, the background
alone at 1x and 2x, the program icons at 1x on the list grey, as a
selected item would look (mask colour replaced by navy) and enlarged, the
window icons at 1x on light, dialog-grey and dark backgrounds and
enlarged, and the key click's waveform."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import formats  # noqa: E402
import icons    # noqa: E402
import programs  # noqa: E402
from raster import FONT5x7, FONT3x5, text_width  # noqa: E402

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
MASK = (152, 152, 152)


class Sheet:
    def __init__(self, w, h, bg=(40, 44, 48)):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c)
            self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c)
            self.put(x1 - 1, y, c)

    def blit(self, x, y, rows, zoom=1, key=None, key_to=None):
        for j, row in enumerate(rows):
            for i, c in enumerate(row):
                if key is not None and c == key:
                    if key_to is None:
                        continue
                    c = key_to
                for dy in range(zoom):
                    for dx in range(zoom):
                        self.put(x + i * zoom + dx, y + j * zoom + dy, c)

    def blit_icon(self, x, y, img, masks, zoom=1, bg=(255, 255, 255)):
        """Draws an icon the way a mask-only renderer does: AND mask, then
        XOR colour (which is black wherever the mask is set)."""
        for j in range(len(img)):
            for i in range(len(img)):
                r, g, b, a = img[j][i]
                if masks[j][i]:
                    c = bg
                else:
                    c = (r, g, b)
                for dy in range(zoom):
                    for dx in range(zoom):
                        self.put(x + i * zoom + dx, y + j * zoom + dy, c)

    def text(self, x, y, s, c, font=FONT5x7):
        for ch in s.upper() if font is FONT5x7 else s:
            if ch not in font:
                ch = " "
            g = font[ch]
            for j, row in enumerate(g):
                for i, p in enumerate(row):
                    if p == "#":
                        self.put(x + i, y + j, c)
            x += len(g[0]) + 1


def load(artdir, name):
    with open(os.path.join(artdir, name), "rb") as f:
        return f.read()


def mockup(sh, ox, oy, bg_rows, icon_rows):
    """The launcher screen as it would look with its list filled."""
    sh.blit(ox, oy, bg_rows)
    lx0, ly0, lx1, ly1 = 18, 53, 240, 298
    sh.box(ox + lx0, oy + ly0, ox + lx1, oy + ly1, MASK)
    cell_w, cell_h = 74, 70
    for k, (name, rows) in enumerate(icon_rows):
        col, row = k % 3, k // 3
        cx = lx0 + col * cell_w + cell_w // 2
        cy = ly0 + 4 + row * cell_h
        if cy + 64 > ly1:
            break
        selected = k == 0
        sh.blit(ox + cx - 25, oy + cy, rows, key=MASK, key_to=(0, 0, 128) if selected else None)
        label = name.upper()
        tw = text_width(label)
        if selected:
            sh.box(ox + cx - tw // 2 - 2, oy + cy + 52, ox + cx + tw // 2 + 3, oy + cy + 62,
                   (0, 0, 128))
        sh.text(ox + cx - tw // 2, oy + cy + 54, label,
                (255, 255, 255) if selected else (0, 0, 0))
    # caption line (white on navy), clock (red on black), battery gauge
    sh.box(ox, oy + 299, ox + 240, oy + 320, (0, 0, 128))
    sh.text(ox + 4, oy + 306, "SOUND & VIBRATION", (255, 255, 255))
    sh.box(ox + 185, oy + 302, ox + 238, oy + 316, (0, 0, 0))
    sh.text(ox + 188, oy + 306, "12:34:56", (255, 0, 0))
    sh.frame(ox + 164, oy + 305, ox + 180, oy + 314, (255, 255, 255))
    sh.box(ox + 180, oy + 307, ox + 182, oy + 312, (255, 255, 255))
    sh.box(ox + 166, oy + 307, ox + 175, oy + 312, (0, 200, 0))


def build_sheet(artdir):
    bg_rows, _ = formats.read_bmp(load(artdir, "background.bmp"))
    prog = []
    for rid, name, label, painter, bpp in programs.PROGRAM_ICONS:
        rows, got_bpp = formats.read_bmp(load(artdir, name))
        prog.append((rid, label, rows, got_bpp))
    win = []
    for rid, name, painter in icons.WINDOW_ICONS:
        win.append((rid, name, formats.read_ico(load(artdir, name))))
    fmt, samples = formats.read_wav(load(artdir, "click.wav"))

    W, H = 1500, 1010
    sh = Sheet(W, H)
    ink = (220, 224, 228)
    dim = (140, 150, 160)

    # column 1: mock-up and background 1x; column 2: background 2x
    sh.text(20, 12, "LAUNCHER MOCK-UP (1X)", ink)
    mockup(sh, 20, 26, bg_rows, [(lbl, rows) for _, lbl, rows, _ in prog])
    sh.text(20, 362, "BACKGROUND 130 (1X)", ink)
    sh.blit(20, 376, bg_rows)
    sh.text(280, 12, "BACKGROUND 130 (2X)", ink)
    sh.blit(280, 26, bg_rows, zoom=2)

    # program icons
    x0 = 780
    sh.text(x0, 12, "PROGRAM ICONS: 1X ON LIST GREY / AS SELECTED / 3X", ink)
    y = 26
    sh.box(x0, y, x0 + 11 * 58 + 8, y + 66, MASK)
    for k, (rid, label, rows, bpp) in enumerate(prog):
        sh.blit(x0 + 8 + k * 58, y + 4, rows)
        sh.text(x0 + 8 + k * 58, y + 57, str(rid), (0, 0, 0), FONT3x5)
        sh.text(x0 + 24 + k * 58, y + 57, "%dBPP" % bpp, (60, 60, 60), FONT3x5)
    y += 72
    sh.box(x0, y, x0 + 11 * 58 + 8, y + 58, (0, 0, 128))
    for k, (rid, label, rows, bpp) in enumerate(prog):
        sh.blit(x0 + 8 + k * 58, y + 4, rows, key=MASK, key_to=(0, 0, 128))
    y += 66
    for k, (rid, label, rows, bpp) in enumerate(prog):
        col, row = k % 4, k // 4
        px, py = x0 + col * 176, y + row * 170
        sh.box(px, py, px + 166, py + 166, MASK)
        sh.blit(px + 8, py + 8, rows, zoom=3)
        sh.text(px + 4, py + 157, "%d %s" % (rid, label), (0, 0, 0))

    # window icons
    y = 26 + 72 + 66 + 3 * 170 + 10
    sh.text(x0, y, "WINDOW ICONS: 16 AND 32 AT 1X ON WHITE / DIALOG GREY / BLACK, THEN 3X", ink)
    y += 14
    for k, (rid, name, imgs) in enumerate(win):
        px = x0 + k * 118
        sh.text(px, y, "%d %s" % (rid, name.upper().replace(".ICO", "")), dim)
        yy = y + 8
        for bgc in ((255, 255, 255), (212, 208, 200), (0, 0, 0)):
            sh.box(px, yy, px + 60, yy + 36, bgc)
            xx = px + 2
            for size, img, masks in imgs:
                sh.blit_icon(xx, yy + 2, img, masks, bg=bgc)
                xx += size + 4
            yy += 36
        by = yy + 4
        for size, img, masks in imgs:
            if size == 32:
                sh.blit_icon(px, by, img, masks, zoom=3, bg=(212, 208, 200))
        sh.box(px + 60, y + 8, px + 112, y + 8 + 52, (212, 208, 200))
        for size, img, masks in imgs:
            if size == 16:
                sh.blit_icon(px + 62, y + 10, img, masks, zoom=3, bg=(212, 208, 200))

    # key click waveform
    wy = 900
    sh.text(20, wy - 14, "CLICK 143: %d SAMPLES AT %d HZ (%.1f MS)" %
            (len(samples), fmt[2], 1000.0 * len(samples) / fmt[2]), ink)
    sh.box(20, wy, 20 + 3 * len(samples) + 8, wy + 100, (10, 14, 18))
    mid = wy + 50
    for i in range(len(samples) - 1):
        ya = mid - samples[i] * 46 // 32768
        yb = mid - samples[i + 1] * 46 // 32768
        for x in range(3):
            yy0, yy1 = sorted((ya + (yb - ya) * x // 3, ya + (yb - ya) * (x + 1) // 3))
            for yy in range(yy0, yy1 + 1):
                sh.put(24 + 3 * i + x, yy, (62, 224, 201))
    for x in range(20, 20 + 3 * len(samples) + 8):
        sh.put(x, mid, (60, 70, 80)) if sh.px[mid][x] == (10, 14, 18) else None

    return sh


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    out = argv[1]
    artdir = argv[2] if len(argv) > 2 else os.path.join(REPO, "res", "art")
    sh = build_sheet(artdir)
    with open(out, "wb") as f:
        f.write(formats.png(sh.px))
    print("wrote", out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
