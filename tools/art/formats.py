"""Writers (and small readers) for BMP, ICO, WAV and PNG, plus a
deterministic median-cut palette builder. Standard library only."""

import struct
import zlib


# ---------------------------------------------------------------- BMP

def _bmp_file(info, palette_bytes, pixel_bytes):
    off = 14 + len(info) + len(palette_bytes)
    size = off + len(pixel_bytes)
    return struct.pack("<2sIHHI", b"BM", size, 0, 0, off) + info + palette_bytes + pixel_bytes


def bmp24(rows):
    """rows: top-down list of lists of (r, g, b). Bottom-up 24-bit BI_RGB."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        out += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(out), 2835, 2835, 0, 0)
    return _bmp_file(info, b"", bytes(out))


def bmp8(indices, palette):
    """indices: top-down list of lists of palette indices; palette: list of
    at most 256 (r, g, b). Bottom-up 8-bit BI_RGB with a full 256-entry
    colour table."""
    h, w = len(indices), len(indices[0])
    stride = (w + 3) & ~3
    out = bytearray()
    for row in reversed(indices):
        out += bytes(row) + b"\0" * (stride - w)
    pal = bytearray()
    for i in range(256):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        pal += bytes((b, g, r, 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(out), 2835, 2835, 256, 0)
    return _bmp_file(info, bytes(pal), bytes(out))


def read_bmp(data):
    """Top-down rows of (r, g, b) from a 24- or 8-bit BI_RGB BMP."""
    if data[:2] != b"BM":
        raise ValueError("not a BMP")
    off = struct.unpack_from("<I", data, 10)[0]
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    if comp != 0 or bpp not in (8, 24):
        raise ValueError("unsupported BMP")
    pal = []
    if bpp == 8:
        n = struct.unpack_from("<I", data, 14 + 32)[0] or 256
        p = 14 + hsize
        for i in range(n):
            b, g, r, _ = data[p + 4 * i:p + 4 * i + 4]
            pal.append((r, g, b))
    stride = ((w * bpp // 8) + 3) & ~3
    rows = []
    for y in range(abs(h)):
        src = y if h < 0 else abs(h) - 1 - y
        base = off + src * stride
        if bpp == 24:
            rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                         for x in range(w)])
        else:
            rows.append([pal[data[base + x]] for x in range(w)])
    return rows, bpp


# ---------------------------------------------------------------- ICO

def ico(images):
    """images: list of (size, rgba_rows) with rgba_rows top-down lists of
    (r, g, b, a). Alpha must be 0 or 255; the AND mask is set exactly where
    alpha is 0, and such pixels are stored as 0, 0, 0, 0."""
    blobs = []
    for size, rows in images:
        xor = bytearray()
        mask = bytearray()
        mstride = ((size + 31) // 32) * 4
        for row in reversed(rows):
            bits = bytearray(mstride)
            for x, (r, g, b, a) in enumerate(row):
                if a not in (0, 255):
                    raise ValueError("icon alpha must be 0 or 255")
                if a == 0:
                    xor += b"\0\0\0\0"
                    bits[x >> 3] |= 0x80 >> (x & 7)
                else:
                    xor += bytes((b, g, r, 255))
            mask += bits
        hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                          len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append((size, hdr + bytes(xor) + bytes(mask)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size & 0xFF, size & 0xFF, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


def read_ico(data):
    """List of (size, rows of (r, g, b, a), and_rows of 0/1)."""
    res, typ, n = struct.unpack_from("<HHH", data, 0)
    if res != 0 or typ != 1:
        raise ValueError("not an icon")
    out = []
    for k in range(n):
        w, h, cc, r0, planes, bpp, ln, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        hs, bw, bh, pl, bc, comp = struct.unpack_from("<IiiHHI", data, off)
        if bc != 32 or bh != 2 * bw:
            raise ValueError("unsupported icon image")
        size = bw
        p = off + hs
        rows = []
        for y in range(size):
            base = p + (size - 1 - y) * size * 4
            rows.append([(data[base + 4 * x + 2], data[base + 4 * x + 1], data[base + 4 * x],
                          data[base + 4 * x + 3]) for x in range(size)])
        mp = p + size * size * 4
        mstride = ((size + 31) // 32) * 4
        masks = []
        for y in range(size):
            base = mp + (size - 1 - y) * mstride
            masks.append([(data[base + (x >> 3)] >> (7 - (x & 7))) & 1 for x in range(size)])
        out.append((size, rows, masks))
    return out


# ---------------------------------------------------------------- WAV

def wav_pcm16_mono(samples, rate):
    data = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if len(data) & 1:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def read_wav(data):
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a WAVE file")
    p = 12
    fmt = None
    while p + 8 <= len(data):
        cid, ln = data[p:p + 4], struct.unpack_from("<I", data, p + 4)[0]
        if cid == b"fmt ":
            fmt = struct.unpack_from("<HHIIHH", data, p + 8)
        elif cid == b"data":
            n = ln // 2
            return fmt, list(struct.unpack_from("<%dh" % n, data, p + 8))
        p += 8 + ln + (ln & 1)
    raise ValueError("no data chunk")


# ---------------------------------------------------------------- PNG

def png(rows):
    """rows: top-down lists of (r, g, b). 8-bit truecolour PNG."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for (r, g, b) in row:
            raw += bytes((r, g, b))

    def chunk(tag, payload):
        return (struct.pack(">I", len(payload)) + tag + payload +
                struct.pack(">I", zlib.crc32(tag + payload) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------- palette

def quantize(rows, reserved=(), exclusive=(), max_colours=256):
    """Palette and index rows for top-down RGB rows.

    reserved colours get palette entries of their own; a colour listed in
    exclusive is used only by pixels of exactly that colour (e.g. a mask
    colour that must not swallow near colours). When the image holds no
    more colours than fit, the palette is exact. Otherwise a weighted
    median cut picks the rest. Deterministic."""
    counts = {}
    for row in rows:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    reserved = [tuple(c) for c in reserved]
    others = sorted(c for c in counts if c not in reserved)
    room = max_colours - len(reserved)
    if len(others) <= room:
        palette = reserved + others
    else:
        boxes = [[(c, counts[c]) for c in others]]
        while len(boxes) < room:
            best, best_score, best_ch = None, -1, 0
            for bi, box in enumerate(boxes):
                if len(box) < 2:
                    continue
                for ch in range(3):
                    lo = min(e[0][ch] for e in box)
                    hi = max(e[0][ch] for e in box)
                    weight = sum(e[1] for e in box)
                    score = (hi - lo) * (weight ** 0.5)
                    if score > best_score:
                        best, best_score, best_ch = bi, score, ch
            if best is None or best_score <= 0:
                break
            box = sorted(boxes[best], key=lambda e: (e[0][best_ch], e[0]))
            total = sum(e[1] for e in box)
            acc, cut = 0, 1
            for k, e in enumerate(box):
                acc += e[1]
                if acc * 2 >= total:
                    cut = min(max(k + 1, 1), len(box) - 1)
                    break
            boxes[best:best + 1] = [box[:cut], box[cut:]]
        palette = list(reserved)
        for box in boxes:
            wsum = sum(e[1] for e in box)
            palette.append(tuple(int(round(sum(e[0][ch] * e[1] for e in box) / wsum))
                                 for ch in range(3)))
    excl = set(tuple(c) for c in exclusive)
    cache = {}

    def nearest(c):
        if c in cache:
            return cache[c]
        if c in excl:
            idx = palette.index(c)
        else:
            idx, bd = 0, None
            for i, p in enumerate(palette):
                if p in excl:
                    continue
                d = (p[0] - c[0]) ** 2 + (p[1] - c[1]) ** 2 + (p[2] - c[2]) ** 2
                if bd is None or d < bd:
                    idx, bd = i, d
        cache[c] = idx
        return idx

    indices = [[nearest(c) for c in row] for row in rows]
    return palette, indices
