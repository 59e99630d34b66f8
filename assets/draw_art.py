#!/usr/bin/python3
"""Draws every picture of the Mossreach troop-lineup lookup tool.

Usage:  /usr/bin/python3 assets/draw_art.py [outdir]

Writes panel1.jpg .. panel4.jpg (the four stacked window backgrounds),
query_button.jpg (the picture button) and program.ico (the window icon).
The default outdir is the folder of this script.  Every run produces the
same bytes: all randomness comes from seeded random.Random instances.

Window layout the pictures are drawn for (client area about 532 x 534):
the panels stand at window x = -1, tops at window y 0, 88, 266 and 321.
The pictures are painted as one tall canvas ("window canvas", 540 x 535,
canvas y = window y, canvas x = picture x) so the panels join seamlessly;
each panel is then cut out and gets its own decorations.

Needs only Debian packages: python3-pil, fonts-wqy-zenhei,
fonts-arphic-ukai, fonts-dejavu-core.
"""

import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageStat

# --------------------------------------------------------------------------
# Fonts
# --------------------------------------------------------------------------
FONT_HEI = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"      # fonts-wqy-zenhei
FONT_KAI = "/usr/share/fonts/truetype/arphic/ukai.ttc"         # fonts-arphic-ukai
FONT_SERIF_BI = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf"  # fonts-dejavu-core

SS = 4                  # supersampling factor for all shapes and text
W, H = 540, 535         # window canvas (panel4 ends at 321 + 214)
CX = 266.5              # horizontal centre of the visible window area

PANEL_TOP = {"panel1": 0, "panel2": 88, "panel3": 266, "panel4": 321}
PANEL_H = {"panel1": 88, "panel2": 178, "panel3": 120, "panel4": 214}

_font_cache = {}


def font(path, size, index=0):
    key = (path, size, index)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size, index=index)
    return _font_cache[key]


# --------------------------------------------------------------------------
# Small image helpers (PIL only, no numpy)
# --------------------------------------------------------------------------
def solid(size, colour):
    return Image.new("RGB", size, colour)


def scale_mask(mask, factor):
    """Multiply a mask by a factor (0..n), clipped."""
    return mask.point(lambda v: min(255, int(v * factor + 0.5)))


def paint(base, src, mask, opacity=1.0):
    """Blend colour/image src onto base (in place) through mask."""
    if isinstance(src, tuple):
        src = solid(base.size, src)
    if opacity != 1.0:
        mask = scale_mask(mask, opacity)
    base.paste(src, (0, 0), mask)


def glow_paint(base, colour, mask, opacity=1.0):
    """Add light: screen-blend colour onto base (in place) through mask."""
    m = scale_mask(mask, opacity)
    light = Image.merge("RGB", [m.point(lambda v, c=c: v * c // 255) for c in colour])
    base.paste(ImageChops.screen(base, light))


def shift(img, dx, dy):
    """Move an image by (dx, dy), filling with black."""
    out = Image.new(img.mode, img.size, 0)
    out.paste(img, (dx, dy))
    return out


def blur(img, radius):
    return img.filter(ImageFilter.GaussianBlur(radius))


def mul(a, b):
    return ImageChops.multiply(a, b)


def sub(a, b):
    return ImageChops.subtract(a, b)


def union(a, b):
    return ImageChops.lighter(a, b)


def invert(m):
    return ImageChops.invert(m)


def lerp(c0, c1, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))


def gradient(size, stops, y0=0, y1=None, horizontal=False):
    """Linear gradient through colour stops [(pos 0..1, (r,g,b)), ...]
    running from y0 to y1 (or x0 to x1 when horizontal)."""
    w, h = size
    n = w if horizontal else h
    if y1 is None:
        y1 = n
    strip = []
    for i in range(n):
        t = (i + 0.5 - y0) / float(max(1e-6, y1 - y0))
        t = min(1.0, max(0.0, t))
        for k in range(len(stops) - 1):
            p0, c0 = stops[k]
            p1, c1 = stops[k + 1]
            if t <= p1 or k == len(stops) - 2:
                u = 0.0 if p1 == p0 else min(1.0, max(0.0, (t - p0) / (p1 - p0)))
                strip.append(lerp(c0, c1, u))
                break
    if horizontal:
        img = Image.new("RGB", (n, 1))
        img.putdata(strip)
    else:
        img = Image.new("RGB", (1, n))
        img.putdata(strip)
    return img.resize(size, Image.NEAREST)


def radial_mask(size, centre, rx, ry=None, inner=255, outer=0, power=1.0):
    """Elliptic radial falloff: `inner` at the centre, `outer` at the rim."""
    ry = rx if ry is None else ry
    base = Image.radial_gradient("L")          # 256x256, 0 centre .. 255 rim
    lut = []
    for v in range(256):
        t = min(1.0, v / 181.0) ** power     # 181 = value at the blob's rim
        lut.append(int(round(inner + (outer - inner) * t)))
    base = base.point(lut)
    ew, eh = max(1, int(round(2 * rx))), max(1, int(round(2 * ry)))
    blob = base.resize((ew, eh), Image.BILINEAR)
    out = Image.new("L", size, outer)
    out.paste(blob, (int(round(centre[0] - rx)), int(round(centre[1] - ry))))
    return out


def value_noise(size, cell, seed, octaves=1):
    """Smooth grey noise (mean ~128) built from upscaled random grids."""
    rng = random.Random(seed)
    w, h = size
    acc = None
    amp_total = 0.0
    amp = 1.0
    for o in range(octaves):
        c = max(1.0, cell / (2 ** o))
        gw, gh = int(w / c) + 3, int(h / c) + 3
        grid = Image.frombytes("L", (gw, gh), rng.randbytes(gw * gh))
        layer = grid.resize((int(gw * c), int(gh * c)), Image.BICUBIC)
        ox, oy = rng.randrange(int(c) + 1), rng.randrange(int(c) + 1)
        layer = layer.crop((ox, oy, ox + w, oy + h))
        if acc is None:
            acc = layer
            amp_total = amp
        else:
            acc = Image.blend(acc, layer, amp / (amp_total + amp))
            amp_total += amp
        amp *= 0.5
    # normalise: mean 128, standard deviation 32
    st = ImageStat.Stat(acc)
    mean, dev = st.mean[0], max(1.0, st.stddev[0])
    return acc.point(lambda v: max(0, min(255, int(round(128 + (v - mean) * 32.0 / dev)))))


def grain(size, seed):
    rng = random.Random(seed)
    return Image.frombytes("L", size, rng.randbytes(size[0] * size[1]))


def texture(base, noise, amount, mask=None):
    """Lighten/darken base by a mean-128 noise image scaled by amount (0..1)."""
    n = noise.point(lambda v: max(0, min(255, int(128 + (v - 128) * amount))))
    n = Image.merge("RGB", (n, n, n))
    out = ImageChops.add(base, n, 1.0, -128)
    if mask is None:
        return out
    res = base.copy()
    res.paste(out, (0, 0), mask)
    return res


def bevel(base, mask, radius=1.5, dist=1, gain=3.0, light=(255, 250, 230),
          dark=(0, 0, 0), hi=0.8, lo=0.8, clip=None):
    """Emboss: light on top-left edges of mask, dark on bottom-right edges."""
    d = blur(mask, radius) if radius > 0 else mask
    a = shift(d, -dist, -dist)
    b = shift(d, dist, dist)
    up = ImageChops.subtract(a, b, 1.0 / gain)
    dn = ImageChops.subtract(b, a, 1.0 / gain)
    clip = mask if clip is None else clip
    paint(base, light, mul(up, clip), hi)
    paint(base, dark, mul(dn, clip), lo)


class Pen:
    """Draws anti-aliased masks through supersampling; coordinates are in
    output pixels (floats allowed), boxes are (x0, y0, x1, y1) edges."""

    def __init__(self, size):
        self.size = size
        self.img = Image.new("L", (size[0] * SS, size[1] * SS), 0)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def _box(b):
        return [b[0] * SS, b[1] * SS, b[2] * SS - 1, b[3] * SS - 1]

    def rect(self, box, r=0, fill=255):
        if r > 0:
            self.d.rounded_rectangle(self._box(box), radius=r * SS, fill=fill)
        else:
            self.d.rectangle(self._box(box), fill=fill)
        return self

    def ellipse(self, box, fill=255):
        self.d.ellipse(self._box(box), fill=fill)
        return self

    def poly(self, pts, fill=255):
        self.d.polygon([(x * SS, y * SS) for x, y in pts], fill=fill)
        return self

    def line(self, pts, width, fill=255):
        self.d.line([(x * SS, y * SS) for x, y in pts], fill=fill,
                    width=max(1, int(round(width * SS))), joint="curve")
        r = width * SS / 2.0
        for x, y in (pts[0], pts[-1]):       # round caps
            self.d.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=fill)
        return self

    def arc(self, box, start, end, width, fill=255):
        self.d.arc(self._box(box), start, end, fill=fill,
                   width=max(1, int(round(width * SS))))
        return self

    def text(self, xy, s, path, size, index=0, stroke=0.0, anchor="la", fill=255):
        f = font(path, int(round(size * SS)), index)
        sw = int(round(stroke * SS))
        self.d.text((xy[0] * SS, xy[1] * SS), s, font=f, fill=fill, anchor=anchor,
                    stroke_width=sw, stroke_fill=fill)
        return self

    def done(self):
        return self.img.resize(self.size, Image.BOX)


def rounded_poly(pts, r, steps=6):
    """Polygon with its corners rounded by quadratic curves of size r."""
    out = []
    n = len(pts)
    for i in range(n):
        p0, p1, p2 = pts[i - 1], pts[i], pts[(i + 1) % n]
        def towards(a, b, dist):
            dx, dy = b[0] - a[0], b[1] - a[1]
            L = math.hypot(dx, dy) or 1.0
            dist = min(dist, L / 2.0)
            return (a[0] + dx * dist / L, a[1] + dy * dist / L)
        a = towards(p1, p0, r)
        b = towards(p1, p2, r)
        for k in range(steps + 1):
            t = k / float(steps)
            x = (1 - t) ** 2 * a[0] + 2 * (1 - t) * t * p1[0] + t * t * b[0]
            y = (1 - t) ** 2 * a[1] + 2 * (1 - t) * t * p1[1] + t * t * b[1]
            out.append((x, y))
    return out


# --------------------------------------------------------------------------
# Text with fill gradient, outline, shadow and glow
# --------------------------------------------------------------------------
def fancy_text(base, xy, s, path, size, fill, index=0, anchor="la", bold=0.0,
               outline=None, shadow=None, glow=None):
    """Draw text onto base.
    fill    : (r,g,b) or list of gradient stops spread over the glyph height
    outline : ((r,g,b), width) drawn around the (boldened) glyphs
    shadow  : ((r,g,b), (dx,dy), blur, opacity)
    glow    : ((r,g,b), radius, opacity)
    """
    glyph = Pen(base.size).text(xy, s, path, size, index, bold, anchor).done()
    ring = glyph
    if outline:
        ring = Pen(base.size).text(xy, s, path, size, index, bold + outline[1], anchor).done()
    if glow:
        g = blur(ring, glow[1])
        paint(base, glow[0], scale_mask(g, 2.0), glow[2])
    if shadow:
        col, (dx, dy), rad, op = shadow
        sm = shift(ring, dx, dy)
        if rad:
            sm = blur(sm, rad)
        paint(base, col, sm, op)
    if outline:
        paint(base, outline[0], ring)
    if isinstance(fill, tuple):
        paint(base, fill, glyph)
    else:
        bbox = glyph.getbbox() or (0, 0, base.size[0], base.size[1])
        paint(base, gradient(base.size, fill, bbox[1], bbox[3]), glyph)
    return glyph


# --------------------------------------------------------------------------
# Palette
# --------------------------------------------------------------------------
BOARD = (27, 58, 52)             # dark teal-green board cloth
BOARD_DEEP = (14, 34, 30)
STONE = (128, 126, 120)
STONE_DARK = (70, 68, 66)
GOLD = (214, 170, 72)
GOLD_HI = (255, 238, 160)
GOLD_LO = (110, 72, 22)
RULE = (120, 190, 130)           # thin light-green inner rule
ENTRY = (46, 43, 41)             # the selectors' background colour
CAPTION = (246, 234, 168)        # pale-yellow captions
YELLOW = (236, 210, 60)

# Board geometry (canvas coordinates; right edges are exclusive)
BOARD_TOP = 76                   # outer top edge of the stone frame
UPPER = (0, BOARD_TOP, 533, 413)     # full-width upper part of the frame
LOWER = (28, BOARD_TOP, 505, 509)    # narrower lower part (panel4)
UPPER_STONE = (23, 20, 23, 20)       # stone widths left, top, right, bottom
LOWER_STONE = (12, 20, 12, 14)
GOLD_W = 3
RULE_INSET = 7


def inset_box(box, widths, extra=0):
    l, t, r, b = widths
    return (box[0] + l + extra, box[1] + t + extra, box[2] - r - extra, box[3] - b - extra)


def board_masks():
    """Masks of the whole board: outer shape, gold trim outer edge, cloth,
    light-green rule."""
    def shape(extra_stone, extra, radius):
        p = Pen((W, H))
        if extra_stone:
            p.rect(inset_box(UPPER, UPPER_STONE, extra), radius)
            p.rect(inset_box(LOWER, LOWER_STONE, extra), radius)
        else:
            p.rect(UPPER, radius)
            p.rect(LOWER, radius)
        return p.done()
    outer = shape(False, 0, 8)
    trim = shape(True, 0, 3)
    cloth = shape(True, GOLD_W, 2)
    r0 = shape(True, GOLD_W + RULE_INSET, 3)
    r1 = shape(True, GOLD_W + RULE_INSET + 1, 3)
    return outer, trim, cloth, sub(r0, r1)


# --------------------------------------------------------------------------
# The game scene behind the board (sky at the top, grassland at the bottom)
# --------------------------------------------------------------------------
def cloud_mask(size, puffs):
    """A cumulus cloud: union of soft ellipses [(cx, cy, rx, ry), ...]."""
    p = Pen(size)
    for cx, cy, rx, ry in puffs:
        p.ellipse((cx - rx, cy - ry, cx + rx, cy + ry))
    return p.done()


def draw_sky(img, top, bottom):
    w = img.size[0]
    sky = gradient((w, bottom - top), [(0.0, (40, 96, 186)), (0.18, (78, 142, 218)),
                                       (0.26, (150, 198, 238)), (1.0, (190, 222, 244))])
    img.paste(sky, (0, top))
    # a faint haze of high clouds
    haze = value_noise(img.size, 40, seed=11, octaves=2).point(lambda v: max(0, min(255, (v - 150) * 3)))
    paint(img, (236, 244, 252), blur(haze, 3), 0.35)
    # cumulus clouds in the two upper corners
    rng = random.Random(12)
    for (cx, cy, sc) in ((26, 20, 1.0), (88, 6, 0.6), (506, 24, 1.05), (446, 4, 0.55), (3, 64, 0.5), (530, 66, 0.5)):
        puffs = [(cx, cy, 22 * sc, 10 * sc)]
        for i in range(7):
            puffs.append((cx + rng.uniform(-22, 22) * sc, cy + rng.uniform(-9, 3) * sc,
                          rng.uniform(8, 14) * sc, rng.uniform(6, 10) * sc))
        m = blur(cloud_mask(img.size, puffs), 1.6)
        paint(img, (170, 190, 220), blur(shift(m, 0, 3), 2), 0.35)          # shaded belly
        paint(img, (252, 253, 255), m, 0.92)
        belly = mul(m, shift(invert(m), 0, -4))
        paint(img, (186, 202, 226), blur(belly, 2), 0.5)


def draw_far_hills(img):
    """Distant blue hills low in the sky (seen at the banner's corners)."""
    rng = random.Random(5)
    for k, (base_y, amp, col) in enumerate([(58, 10, (118, 150, 182)), (66, 8, (84, 124, 136)),
                                            (73, 5, (60, 102, 88))]):
        pts = [(-5, H)]
        x = -5.0
        ph = rng.random() * 6.28
        while x < W + 5:
            y = base_y - amp * (0.6 + 0.4 * math.sin(x / 37.0 + ph)) * (0.7 + 0.3 * math.sin(x / 13.0 + 2 * ph))
            pts.append((x, y))
            x += 3
        pts.append((W + 5, H))
        m = blur(Pen(img.size).poly(pts).done(), 0.6 + 0.3 * (2 - k))
        paint(img, col, m)


def shaded(scene, mask, colour, light=(255, 255, 255), dark=(0, 0, 0), hi=0.35, lo=0.45, r=4):
    """Paint a form lit from the upper left."""
    paint(scene, colour, mask)
    bevel(scene, mask, radius=r, dist=2, gain=1.6, light=light, dark=dark, hi=hi, lo=lo)


def draw_ground(img, top):
    """Grassland with cut-off figures; Gaussian-blurred like a scene seen
    behind the tool's board."""
    w, h = img.size
    size = (w, h)
    scene = Image.new("RGB", size, (0, 0, 0))
    scene.paste(gradient((w, h - top), [(0, (120, 150, 96)), (0.25, (84, 126, 58)), (1, (40, 80, 30))]), (0, top))
    scene = texture(scene, value_noise(size, 9, seed=21, octaves=3), 0.5)
    rng = random.Random(31)

    # far trees along the top of the meadow
    trees = Pen(size)
    for i in range(40):
        x = rng.uniform(-10, w + 10)
        r = rng.uniform(10, 20)
        trees.ellipse((x - r, top + 8 - r, x + r, top + 8 + r * 0.8))
    shaded(scene, trees.done(), (46, 84, 44), hi=0.25, lo=0.3)

    # left: a soldier in a red cloak with a steel pauldron, spear and round shield
    shaded(scene, Pen(size).poly(rounded_poly([(-30, top + 42), (4, top + 30), (24, top + 60), (30, top + 150),
                                               (-30, top + 156)], 10)).done(), (156, 36, 30),
           light=(255, 140, 110), hi=0.45)
    folds = Pen(size)
    for fx in (-4, 8, 18):
        folds.line([(fx, top + 70), (fx + 4, top + 150)], 2.2)
    paint(scene, (96, 18, 16), blur(folds.done(), 1.5), 0.6)
    paint(scene, (70, 48, 30), Pen(size).line([(34, top + 2), (20, top + 160)], 3.2).done())       # spear shaft
    shaded(scene, Pen(size).ellipse((-22, top + 18, 22, top + 52)).done(), (150, 156, 168),
           light=(255, 255, 255), hi=0.7)                                                       # pauldron
    paint(scene, (214, 172, 74), Pen(size).arc((-22, top + 18, 22, top + 52), 200, 340, 1.6).done(), 0.9)
    shaded(scene, Pen(size).rect((14, top + 76, 30, top + 96), 4).done(), (112, 116, 124), hi=0.5)  # gauntlet
    shield = Pen(size).ellipse((-34, top + 96, 22, top + 152)).done()
    shaded(scene, shield, (120, 74, 36), hi=0.4)
    paint(scene, (214, 176, 80), sub(shield, Pen(size).ellipse((-30, top + 100, 18, top + 148)).done()))
    shaded(scene, Pen(size).ellipse((-12, top + 118, 2, top + 132)).done(), (200, 190, 160), hi=0.8)

    # right: a robed mage holding a staff with a glowing orb
    robe = Pen(size).poly(rounded_poly([(512, top + 44), (540, top + 30), (572, top + 60), (580, top + 160),
                                        (506, top + 160), (504, top + 90)], 14)).done()
    shaded(scene, robe, (46, 66, 150), light=(170, 200, 255), hi=0.45)
    folds = Pen(size)
    for fx in (516, 530):
        folds.line([(fx, top + 80), (fx - 6, top + 160)], 2.4)
    paint(scene, (22, 30, 84), blur(folds.done(), 1.5), 0.6)
    paint(scene, (214, 176, 80), Pen(size).line([(507, top + 96), (540, top + 86)], 2.2).done(), 0.9)  # sash
    hood = Pen(size).ellipse((508, top + 4, 548, top + 50)).done()
    shaded(scene, hood, (58, 80, 168), light=(170, 200, 255), hi=0.45)
    paint(scene, (20, 20, 44), Pen(size).ellipse((512, top + 18, 536, top + 46)).done(), 0.8)  # face shadow
    shaded(scene, Pen(size).line([(510, top + 160), (520, top + 20)], 3.5).done(), (120, 84, 50), hi=0.4)  # staff
    hand = Pen(size).ellipse((509, top + 70, 523, top + 84)).done()
    shaded(scene, hand, (214, 170, 130), hi=0.5)
    orb_c = (521, top + 40)
    paint(scene, (120, 230, 255), radial_mask(size, orb_c, 18, 18, inner=255, outer=0, power=0.7), 0.8)
    paint(scene, (235, 255, 255), Pen(size).ellipse((orb_c[0] - 6, orb_c[1] - 6, orb_c[0] + 6, orb_c[1] + 6)).done())

    # grass: dark tufts, then lighter ones in front
    for colour, count, y_from, op in (((34, 70, 26), 240, top + 70, 0.9), ((128, 174, 74), 300, top + 110, 0.85)):
        tufts = Pen(size)
        for i in range(count):
            x = rng.uniform(-10, w + 10)
            y = rng.uniform(y_from, h + 12)
            hgt = rng.uniform(7, 18)
            lean = rng.uniform(-5, 5)
            tufts.poly([(x - 1.8, y), (x + lean, y - hgt), (x + 1.8, y)])
        paint(scene, colour, tufts.done(), op)
    fl = Pen(size)
    for i in range(40):
        x, y = rng.uniform(0, w), rng.uniform(top + 110, h)
        fl.ellipse((x - 1.6, y - 1.6, x + 1.6, y + 1.6))
    paint(scene, (246, 226, 120), fl.done(), 0.85)

    scene = blur(scene, 2.2)
    region = Image.new("L", size, 0)
    region.paste(255, (0, top, w, h))
    img.paste(scene, (0, 0), blur(region, 3))


def draw_scene():
    img = solid((W, H), (40, 70, 40))
    draw_sky(img, 0, 300)
    draw_far_hills(img)
    draw_ground(img, 380)
    return img


# --------------------------------------------------------------------------
# The board: grey stone frame, gold trim, dark green cloth, inner rule
# --------------------------------------------------------------------------
def gold_fill(size, seed=3):
    """Brushed gold: warm base with streaks."""
    g = solid(size, GOLD)
    g = texture(g, value_noise(size, 3, seed, 2), 0.35)
    return g


def stone_fill(size, seed=7):
    st = solid(size, STONE)
    st = texture(st, value_noise(size, 16, seed, 4), 0.55)
    st = texture(st, grain(size, seed + 1), 0.10)
    return st


def stone_blocks(outer, trim):
    """Mortar joints between the stone blocks, and a per-block tint
    (mean-128 grey image) so neighbouring blocks differ slightly."""
    p = Pen((W, H))
    tint = Image.new("L", (W, H), 128)
    td = ImageDraw.Draw(tint)
    rng = random.Random(77)

    def run(horizontal, a0, a1, b0, b1, first, step):
        """Blocks along a beam (horizontal) or a pillar, a = running axis."""
        prev = a0
        pos = a0 + first
        while prev < a1:
            end = min(pos, a1)
            box = (prev, b0, end, b1) if horizontal else (b0, prev, b1, end)
            td.rectangle([round(box[0]), round(box[1]), round(box[2]), round(box[3])],
                         fill=int(128 + rng.uniform(-22, 22)))
            if pos < a1 - 4:
                if horizontal:
                    p.line([(pos, b0 + 1.5), (pos, b1 - 1.5)], 0.9)
                else:
                    p.line([(b0 + 1.5, pos), (b1 - 1.5, pos)], 0.9)
            prev = pos
            pos += rng.uniform(*step)

    top0, top1 = BOARD_TOP, BOARD_TOP + UPPER_STONE[1]
    run(True, 0, UPPER[2], top0, top1, 40, (46, 64))                       # top beam
    for x0, x1 in ((0, UPPER_STONE[0]), (UPPER[2] - UPPER_STONE[2], UPPER[2])):
        run(False, top1, UPPER[3], x0, x1, 26, (32, 46))                   # upper pillars
    for x0, x1 in ((LOWER[0], LOWER[0] + LOWER_STONE[0]), (LOWER[2] - LOWER_STONE[2], LOWER[2])):
        run(False, UPPER[3], LOWER[3] - LOWER_STONE[3], x0, x1, 34, (30, 40))  # lower pillars
    run(True, LOWER[0], LOWER[2], LOWER[3] - LOWER_STONE[3], LOWER[3], 30, (46, 64))  # bottom beam
    stone = sub(outer, trim)
    return mul(p.done(), stone), tint


def corner_ornament(pen, x, y, sx, sy, size=22):
    """A golden bracket with a curl in a corner; sx, sy = +1/-1 direction."""
    s = size
    pen.line([(x, y + sy * s), (x, y), (x + sx * s, y)], 2.2)
    pen.line([(x + sx * 4, y + sy * (s - 6)), (x + sx * 4, y + sy * 4), (x + sx * (s - 6), y + sy * 4)], 1.0)
    # curls at the two ends
    for (ex, ey) in ((x + sx * s, y), (x, y + sy * s)):
        r = 3.2
        pen.arc((ex - r, ey - r, ex + r, ey + r), 0, 360, 1.1)
        pen.ellipse((ex - 1.3, ey - 1.3, ex + 1.3, ey + 1.3))
    # diamond at the corner
    d = 4.5
    cx, cy = x + sx * 7, y + sy * 7
    pen.poly([(cx, cy - d), (cx + d, cy), (cx, cy + d), (cx - d, cy)])


def draw_board(img):
    outer, trim, cloth, rule = board_masks()

    # the board's shadow on the scene
    sh = blur(shift(outer, 2, 3), 4)
    paint(img, (10, 16, 10), sub(sh, outer), 0.8)

    # grey stone
    stone_m = sub(outer, trim)
    joints, tint = stone_blocks(outer, trim)
    paint(img, texture(stone_fill((W, H)), tint, 0.3), outer)
    paint(img, (52, 50, 48), joints, 0.9)
    paint(img, (190, 188, 180), mul(shift(joints, 1, 1), stone_m), 0.35)
    bevel(img, outer, radius=2.0, dist=1, gain=2.2, light=(240, 238, 228), hi=0.7, lo=0.6, clip=stone_m)
    # the inner edge of the stone falls into the trim: dark lip
    lip = sub(blur(trim, 1.5), trim)
    paint(img, (30, 28, 26), mul(scale_mask(lip, 3), stone_m), 0.0)

    # gold trim
    gold_m = sub(trim, cloth)
    paint(img, gold_fill((W, H)), trim)
    bevel(img, trim, radius=0.8, dist=1, gain=2.5, light=GOLD_HI, dark=GOLD_LO, hi=0.9, lo=0.9, clip=gold_m)

    # cloth: dark teal-green, lighter in the middle, darker at the rim
    cl = solid((W, H), BOARD_DEEP)
    glow = radial_mask((W, H), (CX, 300), 250, 230, inner=255, outer=0, power=1.3)
    paint(cl, (34, 70, 62), glow)
    cl = texture(cl, value_noise((W, H), 28, 41, 3), 0.12)
    cl = texture(cl, grain((W, H), 42), 0.06)
    paint(img, cl, cloth)
    # soft inner shadow from the frame
    ish = mul(sub(cloth, blur(shift(cloth, 2, 3), 4)), cloth)
    paint(img, (4, 10, 8), scale_mask(ish, 1.6), 0.8)
    rim = mul(sub(cloth, blur(cloth, 10)), cloth)
    paint(img, (6, 16, 14), scale_mask(rim, 1.2), 0.5)

    # light-green inner rule
    paint(img, RULE, rule, 0.55)

    # gold studs on the stone: the shoulders and the ends of the bottom beam
    sp = Pen((W, H))
    for x, y in ((LOWER[0] / 2.0 + 0.5, UPPER[3] - 9), (UPPER[2] - LOWER[0] / 2.0 - 0.5, UPPER[3] - 9),
                 (LOWER[0] + 6.5, LOWER[3] - 7), (LOWER[2] - 6.5, LOWER[3] - 7),
                 (11.5, BOARD_TOP + 10), (UPPER[2] - 11.5, BOARD_TOP + 10)):
        sp.ellipse((x - 3, y - 3, x + 3, y + 3))
    stm = sp.done()
    paint(img, (0, 0, 0), blur(shift(stm, 1, 1), 1.2), 0.7)
    paint(img, gold_fill((W, H), 8), stm)
    bevel(img, stm, radius=1.2, dist=1, gain=2.5, light=GOLD_HI, dark=GOLD_LO, hi=1.0, lo=0.9)

    # golden corner ornaments inside the cloth
    ip = Pen((W, H))
    g = GOLD_W + 5
    tl = inset_box(UPPER, UPPER_STONE, g)
    lb = inset_box(LOWER, LOWER_STONE, g)
    corner_ornament(ip, tl[0], tl[1], 1, 1)
    corner_ornament(ip, tl[2], tl[1], -1, 1)
    corner_ornament(ip, lb[0], lb[3], 1, -1)
    corner_ornament(ip, lb[2], lb[3], -1, -1)
    om = ip.done()
    paint(img, (0, 0, 0), blur(shift(om, 1, 1), 1), 0.7)
    paint(img, gold_fill((W, H), 9), om)
    bevel(img, om, radius=0.6, dist=1, gain=2, light=GOLD_HI, dark=GOLD_LO, hi=0.8, lo=0.6)
    return img


def window_canvas():
    img = draw_scene()
    draw_board(img)
    return img


# --------------------------------------------------------------------------
# Shared widgets: ornate golden frame, dark entry boxes, tabs
# --------------------------------------------------------------------------
def gold_frame(img, shape_outer, shape_inner, shape_line=None):
    """A golden band between two masks, with bevel and a thin inner line."""
    band = sub(shape_outer, shape_inner)
    paint(img, (0, 0, 0), blur(shift(shape_outer, 1, 2), 2.5), 0.6)
    paint(img, gold_fill(img.size, 13), band)
    bevel(img, shape_outer, radius=1.0, dist=1, gain=2.2, light=GOLD_HI, dark=GOLD_LO, hi=0.9, lo=0.8, clip=band)
    bevel(img, invert(shape_inner), radius=1.0, dist=1, gain=2.2, light=GOLD_HI, dark=GOLD_LO, hi=0.5, lo=0.8, clip=band)
    if shape_line is not None:
        paint(img, (226, 186, 92), shape_line, 0.9)


def entry_box(img, box, r=4):
    """A dark recessed field (selectors / result boxes stand on it)."""
    x0, y0, x1, y1 = box
    rim = Pen(img.size).rect((x0 - 1, y0 - 1, x1 + 1, y1 + 1), r + 1).done()
    inner = Pen(img.size).rect(box, r).done()
    paint(img, (150, 122, 62), rim, 0.85)                 # thin bronze rim
    bevel(img, rim, radius=0.6, dist=1, gain=2, light=(250, 224, 150), dark=(40, 26, 10), hi=0.6, lo=0.6, clip=sub(rim, inner))
    fill = gradient(img.size, [(0, (40, 37, 35)), (0.5, ENTRY), (1, (50, 47, 45))], y0, y1)
    paint(img, fill, inner)
    # inner shadow at the top-left
    ish = mul(sub(inner, blur(shift(inner, 1, 2), 1.5)), inner)
    paint(img, (10, 8, 6), scale_mask(ish, 2), 0.7)


def caption(img, right_x, mid_y, s, size=16):
    """Pale-yellow caption right-aligned so that it ends at right_x."""
    fancy_text(img, (right_x, mid_y), s, FONT_HEI, size, [(0, (255, 246, 200)), (1, CAPTION)],
               anchor="rm", bold=0.35, outline=((20, 14, 6), 1.2),
               shadow=((0, 0, 0), (1, 1), 1.0, 0.7))


# --------------------------------------------------------------------------
# panel1: the title banner
# --------------------------------------------------------------------------
TITLE = "Mossreach野怪布阵兵力查询器"
TITLE_SIZE = 24


def draw_tab(img, box, s, side):
    x0, y0, x1, y1 = box
    body = Pen(img.size).rect(box, 6).done()
    inner = Pen(img.size).rect((x0 + 2, y0 + 2, x1 - 2, y1 - 2), 5).done()
    paint(img, (0, 0, 0), blur(shift(body, 1, 2), 2), 0.6)
    gold_frame(img, body, inner)
    fill = gradient(img.size, [(0, (52, 40, 34)), (1, (20, 14, 12))], y0, y1)
    paint(img, fill, inner)
    bevel(img, inner, radius=1, gain=1.5, light=(120, 100, 80), hi=0.3, lo=0.0)
    fancy_text(img, ((x0 + x1) / 2.0 + 0.5 * side, (y0 + y1) / 2.0 + 0.5), s, FONT_HEI, 14,
               [(0, (255, 240, 190)), (1, (222, 190, 110))], anchor="mm", bold=0.25,
               outline=((10, 6, 2), 1.0))


def draw_panel1(canvas):
    img = canvas.crop((0, 0, W, 88))
    size = img.size
    tw = font(FONT_HEI, TITLE_SIZE).getlength(TITLE) + 1
    half = tw / 2.0 + 26
    x0, x1 = CX - half, CX + half
    y0, y1 = 9, 79
    cut = 11

    # side tabs (drawn first; the plaque overlaps their inner ends)
    draw_tab(img, (x0 - 56, 31, x0 + 8, 57), "专区", -1)
    draw_tab(img, (x1 - 8, 31, x1 + 56, 57), "收藏", +1)

    def octagon(d, c):
        return [(x0 + d + c, y0 + d), (x1 - d - c, y0 + d), (x1 - d, y0 + d + c), (x1 - d, y1 - d - c),
                (x1 - d - c, y1 - d), (x0 + d + c, y1 - d), (x0 + d, y1 - d - c), (x0 + d, y0 + d + c)]

    outer = Pen(size).poly(rounded_poly(octagon(0, cut), 2)).done()
    inner = Pen(size).poly(rounded_poly(octagon(5, cut - 2), 2)).done()
    line0 = Pen(size).poly(rounded_poly(octagon(8, cut - 3), 2)).done()
    line1 = Pen(size).poly(rounded_poly(octagon(9, cut - 3.4), 2)).done()

    paint(img, (0, 0, 0), blur(shift(outer, 1, 2), 2.2), 0.75)      # fades out before row 88
    # dark plaque body
    body = gradient(size, [(0, (44, 30, 30)), (0.5, (26, 18, 20)), (1, (14, 10, 12))], y0, y1)
    body = texture(body, value_noise(size, 6, 51, 2), 0.12)
    paint(img, body, inner)
    glow = radial_mask(size, (CX, 44), half * 0.75, 24, inner=255, outer=0, power=1.5)
    paint(img, (86, 40, 24), mul(glow, inner), 0.35)
    gold_frame(img, outer, inner, sub(line0, line1))

    # ornaments: crest on top and bottom, studs at the chamfers
    orn = Pen(size)
    for yy, dirn in ((y0, -1), (y1, 1)):
        orn.poly([(CX, yy + dirn * 7), (CX + 8, yy), (CX, yy - dirn * 5), (CX - 8, yy)])
        for sx in (-1, 1):
            orn.line([(CX + sx * 8, yy), (CX + sx * 26, yy + dirn * 0.0)], 1.4)
            orn.arc((CX + sx * 26 - 3, yy - 3, CX + sx * 26 + 3, yy + 3), 0, 360, 1.0)
    for px, py in ((x0 + cut / 2.0 + 1, y0 + cut / 2.0 + 1), (x1 - cut / 2.0 - 1, y0 + cut / 2.0 + 1),
                   (x0 + cut / 2.0 + 1, y1 - cut / 2.0 - 1), (x1 - cut / 2.0 - 1, y1 - cut / 2.0 - 1),
                   (x0 + 2.5, (y0 + y1) / 2.0), (x1 - 2.5, (y0 + y1) / 2.0)):
        orn.ellipse((px - 3.2, py - 3.2, px + 3.2, py + 3.2))
    for ex, sx in ((x0 + 15, 1), (x1 - 15, -1)):
        ey = (y0 + y1) / 2.0
        orn.poly([(ex - 4, ey), (ex, ey - 6), (ex + 4, ey), (ex, ey + 6)])
        orn.ellipse((ex - 1.3, ey - 11.3, ex + 1.3, ey - 8.7)).ellipse((ex - 1.3, ey + 8.7, ex + 1.3, ey + 11.3))
    om = orn.done()
    paint(img, (0, 0, 0), blur(shift(om, 1, 1), 1.2), 0.8)
    paint(img, gold_fill(size, 17), om)
    bevel(img, om, radius=0.8, dist=1, gain=2.5, light=GOLD_HI, dark=GOLD_LO, hi=1.0, lo=0.8)
    # red gems in the crests
    gem = Pen(size)
    for yy in (y0, y1):
        gem.ellipse((CX - 2.6, yy - 2.6, CX + 2.6, yy + 2.6))
    gm = gem.done()
    paint(img, (170, 24, 20), gm)
    paint(img, (255, 150, 120), Pen(size).ellipse((CX - 1.6, y0 - 1.8, CX, y0 - 0.2)).ellipse((CX - 1.6, y1 - 1.8, CX, y1 - 0.2)).done(), 0.9)

    # heading
    fancy_text(img, (CX, 44.5), TITLE, FONT_HEI, TITLE_SIZE,
               [(0, (255, 250, 170)), (0.45, (255, 226, 60)), (1, (232, 160, 20))],
               anchor="mm", bold=0.55, outline=((26, 10, 2), 1.6),
               shadow=((0, 0, 0), (1, 2), 1.5, 0.9), glow=((255, 170, 40), 4, 0.22))
    return img


# --------------------------------------------------------------------------
# panel2: promotional text area, level / kind selectors, query button spot
# --------------------------------------------------------------------------
def draw_panel2(canvas):
    img = canvas.crop((0, 88, W, 88 + 178))
    caption(img, 184, 109.5, "请选择野怪等级：")
    caption(img, 184, 152.5, "请选择野怪种类：")
    entry_box(img, (186, 94, 306, 123))
    entry_box(img, (186, 137, 306, 166))
    return img


# --------------------------------------------------------------------------
# panel3: result band and the framed "best lineup" row
# --------------------------------------------------------------------------
def draw_panel3(canvas):
    img = canvas.crop((0, 266, W, 266 + 120))
    size = img.size
    box = (40, 50, 493, 106)
    outer = Pen(size).rect(box, 6).done()
    inner = Pen(size).rect((box[0] + 4, box[1] + 4, box[2] - 4, box[3] - 4), 4).done()
    # stone strip with gold edges
    paint(img, (0, 0, 0), blur(shift(outer, 1, 3), 3), 0.7)
    gold_frame(img, outer, inner)
    strip = stone_fill(size, 61)
    strip = Image.blend(strip, solid(size, (40, 46, 42)), 0.72)
    paint(img, strip, inner)
    ish = mul(sub(inner, blur(shift(inner, 2, 2), 3)), inner)
    paint(img, (0, 0, 0), scale_mask(ish, 1.5), 0.6)
    fancy_text(img, (184, 78), "最佳布阵为：", FONT_HEI, 18,
               [(0, (255, 244, 140)), (1, (232, 196, 40))], anchor="rm", bold=0.45,
               outline=((20, 12, 2), 1.3), shadow=((0, 0, 0), (1, 1), 1.0, 0.8))
    entry_box(img, (188, 60, 471, 96), 5)
    return img


# --------------------------------------------------------------------------
# panel4: bottom of the board, glowing ornament, scene edges, game logo
# --------------------------------------------------------------------------
def draw_emblem(img, cx, cy, r):
    size = img.size
    disc = Pen(size).ellipse((cx - r, cy - r, cx + r, cy + r)).done()
    innr = Pen(size).ellipse((cx - r + 2.5, cy - r + 2.5, cx + r - 2.5, cy + r - 2.5)).done()
    paint(img, (0, 0, 0), blur(shift(disc, 1, 1), 2), 0.8)
    gold_frame(img, disc, innr)
    paint(img, gradient(size, [(0, (40, 110, 70)), (1, (12, 44, 30))], cy - r, cy + r), innr)
    # a stylised leaf (moss sprig) on the disc
    leaf = Pen(size)
    leaf.poly([(cx, cy - r + 4), (cx + 5, cy - 1), (cx + 1, cy + r - 5), (cx - 1, cy + r - 5), (cx - 5, cy - 1)])
    lm = leaf.done()
    paint(img, (170, 220, 110), lm)
    paint(img, (40, 90, 40), Pen(size).line([(cx, cy - r + 6), (cx, cy + r - 5)], 0.8).done(), 0.9)
    bevel(img, innr, radius=1.5, gain=1.5, light=(200, 255, 200), hi=0.4, lo=0.5)


def draw_panel4(canvas):
    img = canvas.crop((0, 321, W, 321 + 214))
    size = img.size
    # glowing ornament under the middle of the bottom frame
    oy = LOWER[3] - 321 + 1
    o = Pen(size)
    o.poly([(CX - 30, oy - 4), (CX - 12, oy - 7), (CX, oy - 11), (CX + 12, oy - 7), (CX + 30, oy - 4),
            (CX + 12, oy + 1), (CX, oy + 10), (CX - 12, oy + 1)])
    om = o.done()
    paint(img, (0, 0, 0), blur(shift(om, 1, 2), 2), 0.6)
    glow_paint(img, (255, 214, 110), radial_mask(size, (CX, oy + 1), 70, 26, power=0.55), 0.75)
    glow_paint(img, (255, 222, 120), scale_mask(blur(om, 6), 2.6), 1.0)     # aura hugging the shape
    paint(img, gold_fill(size, 23), om)
    bevel(img, om, radius=1.0, dist=1, gain=2.5, light=GOLD_HI, dark=GOLD_LO, hi=1.0, lo=0.8)
    gem = Pen(size).ellipse((CX - 5, oy - 5.5, CX + 5, oy + 4.5)).done()
    paint(img, (255, 255, 200), blur(gem, 3), 0.9)
    paint(img, gradient(size, [(0, (200, 255, 200)), (1, (40, 160, 90))], oy - 5, oy + 5), gem)
    paint(img, (255, 255, 255), Pen(size).ellipse((CX - 3, oy - 4, CX - 0.5, oy - 1.5)).done(), 0.9)
    star = Pen(size)
    star.poly([(CX - 11, oy - 0.5), (CX, oy - 1.2), (CX + 11, oy - 0.5), (CX, oy + 0.2)])
    star.poly([(CX - 0.7, oy - 10), (CX, oy - 1), (CX + 0.7, oy - 10)])
    star.poly([(CX - 0.7, oy + 9), (CX, oy), (CX + 0.7, oy + 9)])
    glow_paint(img, (255, 255, 230), star.done(), 0.9)                         # sparkle

    # game logo at the bottom-right corner: emblem + "Mossreach"
    draw_emblem(img, 410, 200, 11)
    fancy_text(img, (424, 200.5), "Mossreach", FONT_SERIF_BI, 15,
               [(0, (255, 248, 200)), (0.5, (246, 210, 100)), (1, (190, 130, 40))],
               anchor="lm", bold=0.1, outline=((30, 16, 4), 1.3),
               shadow=((0, 0, 0), (1, 1), 1.2, 0.8), glow=((255, 230, 150), 3, 0.25))
    return img


# --------------------------------------------------------------------------
# query_button.jpg: the picture button
# --------------------------------------------------------------------------
def bezier(p0, p1, p2, p3, steps=16):
    pts = []
    for i in range(steps + 1):
        t = i / float(steps)
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def flourish(pen, x, y, sx, sy):
    """Small silver corner flourish: a ring, two waving tails ending in
    curls, and a leaf pointing into the plate."""
    def P(u, v):                       # u along x, v along y, away from the corner
        return (x + sx * u, y + sy * v)
    pen.arc((x - 3.2, y - 3.2, x + 3.2, y + 3.2), 0, 360, 0.9)
    pen.ellipse((x - 1.3, y - 1.3, x + 1.3, y + 1.3))
    for swap in (False, True):
        Q = (lambda u, v: P(v, u)) if swap else P
        pen.line(bezier(Q(3.4, 0), Q(7, -2.2), Q(10, 2.2), Q(15, 0.3)), 0.9)
        cx, cy = Q(16.2, -1.2)
        pen.arc((cx - 1.7, cy - 1.7, cx + 1.7, cy + 1.7), 0, 360, 0.8)
    pen.poly([P(2.6, 2.6), P(6.5, 4.2), P(9.5, 9.5), P(4.2, 6.5)])


def draw_query_button(canvas):
    w, h = 127, 65
    # ground: the board exactly where the button stands (panel2 x 337, y 96)
    img = canvas.crop((337, 88 + 96, 337 + w, 88 + 96 + h))
    ground = solid((w, h), (27, 58, 52))
    ground = texture(ground, grain((w, h), 91), 0.05)
    img = Image.blend(img, ground, 0.5)
    size = (w, h)
    box = (4, 4, w - 4, h - 4)
    plate = Pen(size).rect(box, 11).done()
    edge_in = Pen(size).rect((5.5, 5.5, w - 5.5, h - 5.5), 9.5).done()
    paint(img, (0, 0, 0), blur(shift(plate, 1, 2), 2.5), 0.8)
    # silver edge
    silver = gradient(size, [(0, (236, 240, 244)), (0.5, (160, 166, 172)), (1, (110, 114, 120))], 4, h - 4)
    paint(img, silver, plate)
    # brown plate
    body = gradient(size, [(0, (62, 51, 42)), (0.5, (49, 40, 33)), (1, (38, 31, 26))], 5, h - 5)
    body = texture(body, value_noise(size, 5, 93, 2), 0.10)
    body = texture(body, grain(size, 94), 0.05)
    paint(img, body, edge_in)
    ish = mul(sub(edge_in, blur(shift(edge_in, 1, 2), 2)), edge_in)
    paint(img, (0, 0, 0), scale_mask(ish, 1.5), 0.6)
    top_sheen = mul(edge_in, gradient(size, [(0, (60,) * 3), (0.45, (0,) * 3)], 6, h - 6).convert("L"))
    paint(img, (255, 240, 220), top_sheen, 0.35)

    # silver flourishes in the corners
    fp = Pen(size)
    for (x, y, sx, sy) in ((11, 11, 1, 1), (w - 11, 11, -1, 1), (11, h - 11, 1, -1), (w - 11, h - 11, -1, -1)):
        flourish(fp, x, y, sx, sy)
    fm = fp.done()
    paint(img, (0, 0, 0), blur(shift(fm, 1, 1), 0.8), 0.6)
    paint(img, (206, 212, 218), fm)

    # the label
    fancy_text(img, (w / 2.0 + 0.5, h / 2.0 + 0.5), "查询", FONT_HEI, 27,
               [(0, (250, 232, 140)), (0.35, (230, 200, 80)), (1, (160, 108, 24))],
               anchor="mm", bold=0.8, outline=((0, 0, 0), 1.6),
               shadow=((0, 0, 0), (1, 2), 1.5, 0.8))
    return img


# --------------------------------------------------------------------------
# program.ico: 16x16 32-bit icon, classic DIB entry
# --------------------------------------------------------------------------
ICON_CHAR = "阵"


def draw_icon_rgba():
    """Returns 16x16 (r, g, b, a) tuples: a black Kaiti glyph with a red halo."""
    big = 256
    f = font(FONT_KAI, 206)
    glyph = Image.new("L", (big, big), 0)
    ImageDraw.Draw(glyph).text((big / 2, big / 2 + 4), ICON_CHAR, font=f, fill=255,
                               anchor="mm", stroke_width=7, stroke_fill=255)
    halo = blur(glyph.filter(ImageFilter.MaxFilter(11)), 15)
    halo = scale_mask(halo, 1.15)
    # straight colour: black glyph over red halo
    red = (224, 26, 18)
    # premultiplied channels at full size
    inv_g = invert(glyph)
    ha = mul(halo, inv_g)                       # halo visible outside the glyph
    alpha = union(glyph, ImageChops.add(glyph, ha))
    pr = [mul(ha, Image.new("L", (big, big), c)) for c in red]
    small = [ch.resize((16, 16), Image.BOX) for ch in pr + [alpha]]
    data = list(zip(*[ch.getdata() for ch in small]))
    out = []
    for r, g, b, a in data:
        if a == 0:
            out.append((0, 0, 0, 0))
        else:
            out.append((min(255, r * 255 // a), min(255, g * 255 // a), min(255, b * 255 // a), a))
    return out


def write_ico(path, pixels):
    """One 16x16 image, 32 bpp BGRA + 1-bpp AND mask, BITMAPINFOHEADER."""
    w = h = 16
    xor = bytearray()
    for y in range(h - 1, -1, -1):                       # bottom-up rows
        for x in range(w):
            r, g, b, a = pixels[y * w + x]
            xor += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4                     # AND rows padded to 32 bits
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if pixels[y * w + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(andm)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as fh:
        fh.write(icondir + entry + image)


# --------------------------------------------------------------------------
def save_jpeg(img, path):
    img.convert("RGB").save(path, "JPEG", quality=90, subsampling=0,
                            progressive=False, optimize=False)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(outdir, exist_ok=True)
    canvas = window_canvas()
    save_jpeg(draw_panel1(canvas), os.path.join(outdir, "panel1.jpg"))
    save_jpeg(draw_panel2(canvas), os.path.join(outdir, "panel2.jpg"))
    save_jpeg(draw_panel3(canvas), os.path.join(outdir, "panel3.jpg"))
    save_jpeg(draw_panel4(canvas), os.path.join(outdir, "panel4.jpg"))
    save_jpeg(draw_query_button(canvas), os.path.join(outdir, "query_button.jpg"))
    write_ico(os.path.join(outdir, "program.ico"), draw_icon_rgba())


if __name__ == "__main__":
    main()
