#!/usr/bin/env python3
"""Draw the Zelmora icon (a broom sweeping up dust) and write resources/zelmora.ico.

Standard library only. The artwork is described as signed-distance shapes in a
unit square, rendered with supersampling into RGBA, then quantised for the
palette images. The .ico holds, in this order:

    48x48 4 bpp, 256x256 8 bpp, 48x48 8 bpp, 48x48 32 bpp

The 48x48 entries are stored as DIBs with an AND mask; the 256x256 one as an 8-bit palette PNG, as
Windows Vista and later read it, which keeps the program small.

Usage: python3 tools/make_icon.py [output.ico] [--png-dir DIR]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Geometry helpers (unit square, y pointing down)
# ---------------------------------------------------------------------------


def _sub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def _norm(v):
    n = math.hypot(v[0], v[1])
    return (v[0] / n, v[1] / n)


def sdf_circle(cx, cy, r):
    def f(x, y):
        return math.hypot(x - cx, y - cy) - r
    return f


def sdf_capsule(a, b, r):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def f(x, y):
        px, py = x - ax, y - ay
        t = max(0.0, min(1.0, (px * dx + py * dy) / ll))
        return math.hypot(px - t * dx, py - t * dy) - r
    return f


def sdf_polygon(pts, rounding=0.0):
    """Exact distance to a simple polygon, optionally rounded outward."""
    n = len(pts)
    edges = []
    for i in range(n):
        a = pts[i]
        b = pts[(i + 1) % n]
        ex, ey = b[0] - a[0], b[1] - a[1]
        edges.append((a[0], a[1], b[0], b[1], ex, ey, ex * ex + ey * ey))

    def f(x, y):
        best = float("inf")
        inside = False
        for ax, ay, bx, by, ex, ey, ll in edges:
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / ll))
            qx, qy = wx - ex * t, wy - ey * t
            d = qx * qx + qy * qy
            if d < best:
                best = d
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    inside = not inside
        d = math.sqrt(best)
        return (-d if inside else d) - rounding
    return f


def sdf_intersect(f, g):
    return lambda x, y: max(f(x, y), g(x, y))


def sdf_sparkle(cx, cy, r):
    """Four-pointed star with concave sides, as the union of two thin diamonds."""
    k = 0.16
    h = sdf_polygon([(cx, cy - r), (cx + r * k, cy), (cx, cy + r), (cx - r * k, cy)])
    v = sdf_polygon([(cx - r, cy), (cx, cy - r * k), (cx + r, cy), (cx, cy + r * k)])
    return lambda x, y: min(h(x, y), v(x, y))


def hexrgb(s):
    s = s.lstrip("#")
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def lerp3(a, b, t):
    t = max(0.0, min(1.0, t))
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


class Layer:
    """A filled shape with an optional outline band around it.

    colour is either an RGB tuple or a function (x, y) -> RGB.
    """

    def __init__(self, sdf, colour, bbox, outline=0.0, outline_colour=None):
        self.sdf = sdf
        self.colour = colour if callable(colour) else (lambda x, y, c=colour: c)
        self.outline = outline
        self.outline_colour = outline_colour
        x0, y0, x1, y1 = bbox
        self.bbox = (x0 - outline, y0 - outline, x1 + outline, y1 + outline)


# ---------------------------------------------------------------------------
# Artwork
# ---------------------------------------------------------------------------

INK = hexrgb("#35251b")

WOOD_LIGHT = hexrgb("#e0a566")
WOOD_DARK = hexrgb("#9a5a2a")
BAND_LIGHT = hexrgb("#f0624a")
BAND_DARK = hexrgb("#b92d22")
STRAW_TOP = hexrgb("#f7cf4a")
STRAW_BOTTOM = hexrgb("#e39a1c")
STRAW_LINE = hexrgb("#b86e12")
DUST_LIGHT = hexrgb("#c9d2dc")
DUST_DARK = hexrgb("#94a1b0")
SPARKLE = hexrgb("#4fb3f0")


def _mid(a, b):
    return tuple(round((a[k] + b[k]) / 2) for k in range(3))


# The 16-colour image uses the drawing colours directly: median cut over the
# anti-aliased edges would trade the red band for in-between shades.
PALETTE_16 = [
    INK, WOOD_LIGHT, _mid(WOOD_LIGHT, WOOD_DARK), WOOD_DARK,
    BAND_LIGHT, BAND_DARK, STRAW_TOP, _mid(STRAW_TOP, STRAW_BOTTOM), STRAW_BOTTOM,
    STRAW_LINE, DUST_LIGHT, DUST_DARK, SPARKLE, _mid(INK, WOOD_DARK),
    _mid(SPARKLE, INK),
]


def _bbox(pts):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs), min(ys), max(xs), max(ys))


def artwork(size):
    """Layers from bottom to top. Small sizes get fewer details and a
    thicker outline relative to the picture, so the shapes stay readable."""
    small = size <= 48
    ink = 1.25 / 48 if small else 5.0 / 256

    layers = []

    # Handle: from the top right down to the binding.
    top = (0.86, 0.07)
    base = (0.54, 0.47)
    axis = _norm(_sub(base, top))            # along the handle, downwards
    perp = (-axis[1], axis[0])               # across the handle
    hr = 0.052 if small else 0.045

    def wood(x, y):
        # lighter on the lower-right side of the stick
        s = ((x - top[0]) * perp[0] + (y - top[1]) * perp[1]) / hr
        return lerp3(WOOD_LIGHT, WOOD_DARK, (s + 0.4) * 0.8)

    handle = sdf_capsule(top, (base[0] + axis[0] * 0.05, base[1] + axis[1] * 0.05), hr)
    x0, y0, x1, y1 = _bbox([top, base])
    layers.append(("handle", Layer(handle, wood, (x0 - hr, y0 - hr, x1 + hr, y1 + 0.05 + hr),
                                   ink, INK)))

    # Bristles: a fan from the binding to a flat edge on the floor.
    floor = 0.90
    band_c = (base[0] + axis[0] * 0.03, base[1] + axis[1] * 0.03)
    hw = 0.105                                # half width at the top of the fan
    upper = (band_c[0] + perp[0] * hw, band_c[1] + perp[1] * hw)
    lower = (band_c[0] - perp[0] * hw, band_c[1] - perp[1] * hw)
    bl = (0.07, floor)
    br = (0.63, floor)
    head_pts = [upper, (0.30, 0.56), (0.16, 0.72), bl]
    # a slightly ragged bristle edge along the floor
    teeth = 4 if small else 8
    depth = 0.04 if small else 0.03
    step = (br[0] - bl[0]) / teeth
    for i in range(teeth):
        head_pts.append((bl[0] + step * (i + 0.5), floor - depth))
        head_pts.append((bl[0] + step * (i + 1), floor))
    head_pts += [(0.645, 0.74), lower]
    head = sdf_polygon(head_pts, rounding=0.006)

    def straw(x, y):
        return lerp3(STRAW_TOP, STRAW_BOTTOM, (y - 0.5) / 0.4)

    layers.append(("head", Layer(head, straw, _bbox(head_pts), ink, INK)))

    # Bristle lines, fanning out from under the binding.
    lines = 3 if small else 6
    lw = (0.55 / 48) if small else (2.2 / 256)
    for i in range(lines):
        t = (i + 1) / (lines + 1)
        a = (upper[0] + (lower[0] - upper[0]) * t, upper[1] + (lower[1] - upper[1]) * t)
        b = (bl[0] + (br[0] - bl[0]) * t, floor - 0.09)
        a = (a[0] + (b[0] - a[0]) * 0.25, a[1] + (b[1] - a[1]) * 0.25)
        line = sdf_intersect(sdf_capsule(a, b, lw), head)
        x0, y0, x1, y1 = _bbox([a, b])
        layers.append(("line", Layer(line, STRAW_LINE, (x0 - lw, y0 - lw, x1 + lw, y1 + lw))))

    # Binding band across the top of the bristles.
    bh = 0.06 if small else 0.05             # half length along the handle
    bw = hw + 0.02
    band_pts = []
    for su, sv in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        band_pts.append((band_c[0] + perp[0] * bw * su + axis[0] * bh * sv,
                         band_c[1] + perp[1] * bw * su + axis[1] * bh * sv))
    band = sdf_polygon(band_pts, rounding=0.012)

    def band_colour(x, y):
        s = ((x - band_c[0]) * axis[0] + (y - band_c[1]) * axis[1]) / bh
        return lerp3(BAND_LIGHT, BAND_DARK, (s + 0.3) * 0.9)

    layers.append(("band", Layer(band, band_colour, _bbox(band_pts), ink, INK)))

    # Dust being swept away to the right.
    def dust(cx, cy, r):
        def c(x, y):
            return lerp3(DUST_LIGHT, DUST_DARK, ((y - cy) / r + 0.2) * 0.8)
        return Layer(sdf_circle(cx, cy, r), c, (cx - r, cy - r, cx + r, cy + r), ink, INK)

    if small:
        layers.append(("dust", dust(0.76, 0.84, 0.065)))
        layers.append(("dust", dust(0.89, 0.72, 0.045)))
    else:
        layers.append(("dust", dust(0.76, 0.85, 0.06)))
        layers.append(("dust", dust(0.88, 0.76, 0.04)))
        layers.append(("dust", dust(0.92, 0.89, 0.028)))

    # A sparkle for "clean" in the empty corner.
    sr = 0.16 if small else 0.14
    layers.append(("sparkle", Layer(sdf_sparkle(0.22, 0.24, sr), SPARKLE,
                                    (0.22 - sr, 0.24 - sr, 0.22 + sr, 0.24 + sr),
                                    ink * 0.8, INK)))
    if not small:
        layers.append(("sparkle", Layer(sdf_sparkle(0.40, 0.10, 0.07), SPARKLE,
                                        (0.33, 0.03, 0.47, 0.17), ink * 0.8, INK)))

    return [layer for _, layer in layers]


# ---------------------------------------------------------------------------
# Rendering
# ---------------------------------------------------------------------------


def render(size, ss):
    """Render to a list of rows of (r, g, b, a) floats in 0..1, premultiplied."""
    layers = artwork(size)
    rev = list(reversed(layers))             # topmost first
    px = 1.0 / size
    half_diag = px * 0.7072
    offs = [((i + 0.5) / ss - 0.5) * px for i in range(ss)]
    nsamp = ss * ss

    def sample(x, y, cand):
        for layer in cand:
            d = layer.sdf(x, y)
            if d <= 0.0:
                return layer.colour(x, y)
            if d <= layer.outline:
                return layer.outline_colour
        return None

    image = []
    for j in range(size):
        row = []
        cy = (j + 0.5) * px
        for i in range(size):
            cx = (i + 0.5) * px
            cand = [l for l in rev
                    if l.bbox[0] - px <= cx <= l.bbox[2] + px
                    and l.bbox[1] - px <= cy <= l.bbox[3] + px]
            if not cand:
                row.append((0.0, 0.0, 0.0, 0.0))
                continue
            # If no edge passes through this pixel, one sample decides it.
            uniform = True
            for layer in cand:
                d = layer.sdf(cx, cy)
                if abs(d) < half_diag or (layer.outline and abs(d - layer.outline) < half_diag):
                    uniform = False
                    break
                if d <= 0.0:
                    break
            if uniform:
                c = sample(cx, cy, cand)
                row.append((0.0, 0.0, 0.0, 0.0) if c is None
                           else (c[0] / 255, c[1] / 255, c[2] / 255, 1.0))
                continue
            r = g = b = a = 0.0
            for oy in offs:
                for ox in offs:
                    c = sample(cx + ox, cy + oy, cand)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1.0
            row.append((r / 255 / nsamp, g / 255 / nsamp, b / 255 / nsamp, a / nsamp))
        image.append(row)
    return image


def to_rgba8(image):
    """Premultiplied floats -> straight-alpha 8-bit RGBA tuples."""
    out = []
    for row in image:
        orow = []
        for r, g, b, a in row:
            if a <= 0.0:
                orow.append((0, 0, 0, 0))
            else:
                orow.append((min(255, round(r / a * 255)), min(255, round(g / a * 255)),
                             min(255, round(b / a * 255)), round(a * 255)))
        out.append(orow)
    return out


# ---------------------------------------------------------------------------
# Palette quantisation (median cut over the opaque pixels)
# ---------------------------------------------------------------------------


def median_cut(counts, n):
    """counts: {rgb: weight}. Returns up to n representative colours."""
    boxes = [list(counts.items())]
    while len(boxes) < n:
        best, best_score, best_ch = None, -1.0, 0
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in box]
                rng = max(vals) - min(vals)
                weight = sum(w for _, w in box)
                score = rng * math.sqrt(weight)
                if score > best_score:
                    best, best_score, best_ch = bi, score, ch
        if best is None or best_score <= 0:
            break
        box = sorted(boxes.pop(best), key=lambda cw: cw[0][best_ch])
        total = sum(w for _, w in box)
        acc = 0
        cut = 1
        for k, (_, w) in enumerate(box):
            acc += w
            if acc >= total / 2:
                cut = max(1, min(len(box) - 1, k + 1))
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    palette = []
    for box in boxes:
        tw = sum(w for _, w in box)
        palette.append(tuple(round(sum(c[ch] * w for c, w in box) / tw) for ch in range(3)))
    return palette


def quantise(rgba, ncolours, colours=None):
    """Returns (palette, indices, mask). Index 0 is black and used for the
    transparent pixels; mask rows hold 1 for transparent. The palette is
    built by median cut unless the colours are given."""
    if colours is None:
        counts = {}
        for row in rgba:
            for r, g, b, a in row:
                if a >= 128:
                    counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
        colours = median_cut(counts, ncolours - 1)
    assert len(colours) < ncolours
    palette = [(0, 0, 0)] + list(colours)
    cache = {}

    def nearest(c):
        hit = cache.get(c)
        if hit is None:
            hit = min(range(1, len(palette)),
                      key=lambda k: (2 * (palette[k][0] - c[0]) ** 2 + 4 * (palette[k][1] - c[1]) ** 2
                                     + 3 * (palette[k][2] - c[2]) ** 2))
            cache[c] = hit
        return hit

    indices, mask = [], []
    for row in rgba:
        irow, mrow = [], []
        for r, g, b, a in row:
            if a >= 128:
                irow.append(nearest((r, g, b)))
                mrow.append(0)
            else:
                irow.append(0)
                mrow.append(1)
        indices.append(irow)
        mask.append(mrow)
    while len(palette) < ncolours:
        palette.append((0, 0, 0))
    return palette, indices, mask


# ---------------------------------------------------------------------------
# ICO writing
# ---------------------------------------------------------------------------


def _pad4(b):
    return b + b"\0" * (-len(b) % 4)


def _and_mask(mask):
    out = b""
    for row in reversed(mask):
        bits = bytearray((len(row) + 7) // 8)
        for i, m in enumerate(row):
            if m:
                bits[i // 8] |= 0x80 >> (i % 8)
        out += _pad4(bytes(bits))
    return out


def _bih(size, bpp, image_bytes, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes,
                       0, 0, colours_used, 0)


def dib_paletted(size, bpp, palette, indices, mask):
    xor = b""
    for row in reversed(indices):
        if bpp == 8:
            xor += _pad4(bytes(row))
        elif bpp == 4:
            packed = bytearray((len(row) + 1) // 2)
            for i, v in enumerate(row):
                packed[i // 2] |= (v << 4) if i % 2 == 0 else v
            xor += _pad4(bytes(packed))
        else:
            raise ValueError(bpp)
    andm = _and_mask(mask)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return _bih(size, bpp, len(xor) + len(andm), len(palette)) + pal + xor + andm


def dib_32(size, rgba):
    xor = b""
    mask = []
    for row in reversed(rgba):
        xor += b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
    for row in rgba:
        mask.append([1 if a == 0 else 0 for _, _, _, a in row])
    andm = _and_mask(mask)
    return _bih(size, 32, len(xor) + len(andm), 0) + xor + andm


def write_ico(path, entries):
    """entries: list of (size, bpp, colour_count, dib_bytes)."""
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    dir_bytes = b""
    data = b""
    for size, bpp, ncol, dib in entries:
        dim = 0 if size >= 256 else size
        dir_bytes += struct.pack("<BBBBHHII", dim, dim, ncol, 0, 1, bpp, len(dib), offset)
        offset += len(dib)
        data += dib
    with open(path, "wb") as f:
        f.write(head + dir_bytes + data)


def check_ico(path, expected):
    """Parse the file back and compare each entry with (size, bpp)."""
    with open(path, "rb") as f:
        blob = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", blob, 0)
    assert reserved == 0 and kind == 1, "not an icon file"
    assert count == len(expected), f"{count} images, expected {len(expected)}"
    for k, (size, bpp) in enumerate(expected):
        w, h, ncol, _, planes, bits, nbytes, off = struct.unpack_from("<BBBBHHII", blob, 6 + 16 * k)
        assert (w or 256) == size and (h or 256) == size, f"entry {k}: {w}x{h}"
        assert bits == bpp and planes == 1, f"entry {k}: {bits} bpp"
        assert off + nbytes <= len(blob), f"entry {k} runs past the end"
        if blob[off:off + 8] == b"\x89PNG\r\n\x1a\n":
            pw, ph, depth, colour_type = struct.unpack_from(">IIBB", blob, off + 16)
            assert (pw, ph) == (size, size) and depth == bpp and colour_type == 3, f"entry {k}: PNG header"
            print(f"  #{k}: {size}x{size} {bpp} bpp palette PNG, {nbytes} bytes at {off}")
            continue
        hsize, bw, bh, bplanes, bbits = struct.unpack_from("<IiiHH", blob, off)
        assert hsize == 40 and bw == size and bh == 2 * size and bbits == bpp, f"entry {k}: DIB header"
        stride = ((size * bpp + 31) // 32) * 4
        mstride = ((size + 31) // 32) * 4
        palette = (1 << bpp) * 4 if bpp <= 8 else 0
        assert nbytes == 40 + palette + stride * size + mstride * size, f"entry {k}: size {nbytes}"
        print(f"  #{k}: {size}x{size} {bpp} bpp, {nbytes} bytes at {off}")


# ---------------------------------------------------------------------------
# PNG previews
# ---------------------------------------------------------------------------


def write_png(path, rgba, scale=1):
    h = len(rgba) * scale
    w = len(rgba[0]) * scale
    raw = bytearray()
    for row in rgba:
        line = bytearray(b"\0")
        for px in row:
            line += bytes(px) * scale
        for _ in range(scale):
            raw += line

    def chunk(tag, data):
        c = tag + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def png_paletted(size, palette, indices, mask):
    """An 8-bit palette PNG; masked pixels take one more palette entry, made transparent."""
    clear = len(palette)
    assert clear < 256, "one palette entry must stay free for transparency"
    raw = bytearray()
    for ir, mr in zip(indices, mask):
        raw += b"\0" + bytes(clear if m else i for i, m in zip(ir, mr))

    def chunk(tag, data):
        c = tag + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    plte = b"".join(bytes(c) for c in palette) + b"\0\0\0"
    trns = b"\xff" * clear + b"\0"
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)) +
            chunk(b"PLTE", plte) + chunk(b"tRNS", trns) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def paletted_rgba(palette, indices, mask):
    return [[(0, 0, 0, 0) if m else palette[i] + (255,) for i, m in zip(ir, mr)]
            for ir, mr in zip(indices, mask)]


# ---------------------------------------------------------------------------


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, "resources", "zelmora.ico")
    png_dir = None
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--png-dir":
            png_dir = args.pop(0)
        else:
            out = a

    small = to_rgba8(render(48, 8))
    large = to_rgba8(render(256, 4))

    pal4, idx4, mask4 = quantise(small, 16, PALETTE_16)
    pal8l, idx8l, mask8l = quantise(large, 255)
    pal8s, idx8s, mask8s = quantise(small, 256)

    entries = [
        (48, 4, 16, dib_paletted(48, 4, pal4, idx4, mask4)),
        (256, 8, 0, png_paletted(256, pal8l, idx8l, mask8l)),
        (48, 8, 0, dib_paletted(48, 8, pal8s, idx8s, mask8s)),
        (48, 32, 0, dib_32(48, small)),
    ]
    write_ico(out, entries)
    print(f"wrote {out}")
    check_ico(out, [(48, 4), (256, 8), (48, 8), (48, 32)])

    if png_dir:
        os.makedirs(png_dir, exist_ok=True)
        write_png(os.path.join(png_dir, "icon48_4bpp.png"), paletted_rgba(pal4, idx4, mask4), 8)
        write_png(os.path.join(png_dir, "icon256_8bpp.png"), paletted_rgba(pal8l, idx8l, mask8l), 2)
        write_png(os.path.join(png_dir, "icon48_8bpp.png"), paletted_rgba(pal8s, idx8s, mask8s), 8)
        write_png(os.path.join(png_dir, "icon48_32bpp.png"), small, 8)
        write_png(os.path.join(png_dir, "icon256_32bpp.png"), large, 2)


if __name__ == "__main__":
    main(sys.argv[1:])
