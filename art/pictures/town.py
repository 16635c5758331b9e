"""Reusable pieces of the town: houses, trees, clouds, poles, sky."""

import math
import random

import numpy as np
from PIL import ImageDraw

from paint import (INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, BLUE, PINK, GREY,
                   SKY_TOP, SKY_LOW, rgba, mix, shade)

OUT = 2.0  # outline width of scenery, final pixels

WALLS = [(255, 236, 204), (235, 245, 255), (255, 222, 214), (232, 247, 222),
         (248, 236, 255), (255, 250, 235), (225, 235, 245)]
ROOFS = [(214, 82, 82), (70, 110, 170), (96, 150, 96), (150, 96, 70), (80, 90, 120),
         (230, 140, 60)]


def sky(c, x0, y0, x1, y1, top=SKY_TOP, low=SKY_LOW):
    c.rect(x0, y0, x1, y1, fill=("v", top, low))


def cloud(c, cx, cy, s=1.0, col=WHITE, outline=None, width=0):
    """A puffy cloud centred on (cx, cy); s = 1 is about 110 x 60 pixels."""
    blobs = [(-34, 6, 22), (-12, -8, 28), (16, -12, 26), (36, 4, 20), (4, 10, 24),
             (-22, 14, 18), (24, 14, 18)]
    if outline is not None:
        for bx, by, r in blobs:
            c.circle(cx + bx * s, cy + by * s, r * s + width, fill=outline)
    for bx, by, r in blobs:
        c.circle(cx + bx * s, cy + by * s, r * s, fill=col)
    # a soft blue underside
    shadow = mix(col, (170, 205, 240), 0.35)
    c.ellipse(cx - 44 * s, cy + 14 * s, cx + 44 * s, cy + 30 * s, fill=shadow)
    for bx, by, r in blobs[:5]:
        c.circle(cx + bx * s, cy + by * s - 3 * s, r * s * 0.92, fill=col)


def hills(c, x0, x1, base, amp, col, period, phase=0.0, step=4):
    pts = [(x0, base + 200)]
    x = x0
    while x <= x1:
        y = base - amp * (0.6 + 0.4 * math.sin((x / period + phase) * 2 * math.pi)) \
            - amp * 0.25 * math.sin((x / period * 2.3 + phase * 1.7) * 2 * math.pi)
        pts.append((x, y))
        x += step
    pts.append((x1, base + 200))
    c.poly(pts, fill=col)


def window(c, x0, y0, x1, y1, frame=WHITE, glass=(150, 205, 240), lit=False):
    c.rect(x0, y0, x1, y1, fill=frame, outline=INK, width=1.2)
    g = (255, 236, 160) if lit else glass
    c.rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, fill=("v", shade(g, 1.25), g))
    # a bright glint
    c.line([(x0 + 4, y1 - 5), (x0 + (x1 - x0) * 0.45, y0 + 4)], (255, 255, 255, 170), 1.5)


def house(c, x, base, w, h, wall, roof, rng, roof_h=None, door=True, kind="gable"):
    """A small Japanese house standing on `base` (its bottom edge)."""
    roof_h = roof_h or h * 0.45
    top = base - h
    c.rect(x, top, x + w, base, fill=wall, outline=INK, width=OUT)
    # roof
    over = 8
    if kind == "gable":
        c.poly([(x - over, top + 4), (x + w / 2, top - roof_h), (x + w + over, top + 4)],
               fill=roof, outline=INK, width=OUT)
    else:
        c.poly([(x - over, top + 4), (x + w * 0.2, top - roof_h), (x + w * 0.8, top - roof_h),
                (x + w + over, top + 4)], fill=roof, outline=INK, width=OUT)
    c.line([(x - over + 3, top + 1), (x + w + over - 3, top + 1)], shade(roof, 0.7), 2)
    # windows
    n = max(1, int(w // 40))
    ww = min(22, w / (n + 1) * 0.8)
    for i in range(n):
        wx = x + (i + 1) * w / (n + 1) - ww / 2
        c.rect(wx, top + h * 0.2, wx + ww, top + h * 0.2 + ww * 0.9,
               fill=(150, 205, 240), outline=INK, width=1.2)
        c.line([(wx + ww / 2, top + h * 0.2), (wx + ww / 2, top + h * 0.2 + ww * 0.9)], INK, 1)
    if door and w > 50:
        dx = x + w * 0.65
        c.rect(dx, base - h * 0.42, dx + w * 0.18, base, fill=shade(wall, 0.75),
               outline=INK, width=1.5)


def tree(c, x, base, h, col=GREEN, blossom=False, rng=None):
    """Round cartoon tree: trunk from base up, crown of a few balls."""
    c.rect(x - 4, base - h * 0.45, x + 4, base, fill=(140, 96, 64), outline=INK, width=1.5)
    r = h * 0.32
    cy = base - h * 0.62
    crown = PINK if blossom else col
    dark = shade(crown, 0.85)
    balls = [(-r * 0.7, r * 0.15, r * 0.75), (r * 0.7, r * 0.15, r * 0.75), (0, -r * 0.35, r * 0.85),
             (0, r * 0.25, r * 0.8)]
    for bx, by, br in balls:
        c.circle(x + bx, cy + by, br + OUT, fill=INK)
    for bx, by, br in balls:
        c.circle(x + bx, cy + by, br, fill=crown)
    c.circle(x + r * 0.25, cy + r * 0.35, r * 0.45, fill=dark)
    c.circle(x - r * 0.3, cy - r * 0.45, r * 0.3, fill=shade(crown, 1.2))
    if blossom and rng is not None:
        for _ in range(10):
            px = x + rng.uniform(-r * 1.2, r * 1.2)
            py = cy + rng.uniform(-r, r * 0.8)
            c.circle(px, py, 2.2, fill=WHITE)


def pole(c, x, top, base, wires_to=None):
    """Concrete utility pole with a cross arm."""
    c.rect(x - 5, top, x + 5, base, fill=("h", (190, 190, 185), (150, 150, 150)),
           outline=INK, width=1.5)
    c.rect(x - 26, top + 14, x + 26, top + 20, fill=(120, 120, 120), outline=INK, width=1.2)
    for dx in (-20, -8, 8, 20):
        c.rect(x + dx - 2, top + 8, x + dx + 2, top + 14, fill=WHITE, outline=INK, width=1)


def sag_wire(c, x0, y0, x1, y1, sag, col=(60, 60, 70, 255), width=1.2, steps=24):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        pts.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t + sag * 4 * t * (1 - t)))
    c.line(pts, col, width)


def town_row(c, x0, x1, base, rng, h_min=50, h_max=80, far=False):
    """A row of houses along base, from x0 to x1."""
    x = x0
    while x < x1:
        w = rng.randint(60, 110)
        h = rng.randint(h_min, h_max)
        wall = rng.choice(WALLS)
        roof = rng.choice(ROOFS)
        if far:
            wall = mix(wall, (200, 225, 245), 0.45)
            roof = mix(roof, (200, 225, 245), 0.45)
        house(c, x, base, w, h, wall, roof, rng, kind=rng.choice(["gable", "hip"]),
              door=not far)
        x += w + rng.randint(14, 30)


def speed_lines(c, x0, y0, x1, y1, rng, n, col=(255, 255, 255, 200), width=2):
    for _ in range(n):
        y = rng.uniform(y0, y1)
        L = rng.uniform((x1 - x0) * 0.2, (x1 - x0) * 0.6)
        x = rng.uniform(x0, x1 - L)
        c.line([(x, y), (x + L, y)], col, width)


# The key caps a picture draws are noted where they are drawn, on their canvas (`keycaps`), so
# that the build can say where each picture's caps are (make.py writes Texture/keycaps.txt): the
# game's platform draws the player's own keys and pad buttons over them.
KEY_CAP_OUTLINE = 1.5  # outline width of a key cap, final pixels


class KeyCap:
    """A key cap on a canvas: its face (x, y, w, h: the rounded rectangle with its outline, not
    its shadow) in final pixels, the label it shows, its face and text colours and the label's
    size (px of the face; for arrows, an arrow's size)."""

    def __init__(self, x, y, w, h, label, face, text, px, origin=None):
        self.x, self.y, self.w, self.h = x, y, w, h
        self.label, self.face, self.text, self.px = label, rgba(face), rgba(text), px
        self.origin = origin or self  # the cap as it was drawn, before its canvas was pasted

    def moved(self, dx, dy):
        return KeyCap(self.x + dx, self.y + dy, self.w, self.h, self.label, self.face, self.text,
                      self.px, self.origin)


# every cap drawn since the list was last emptied (make.py checks that each reaches its picture)
DRAWN = []


def note_cap(c, cap):
    if cap.origin is cap:
        DRAWN.append(cap)
    if not hasattr(c, "keycaps"):
        c.keycaps = []
    c.keycaps.append(cap)


def key_cap(c, x, y, label, px=13, w=None, h=22, fill=WHITE, text=INK):
    """A keyboard key drawn as a rounded cap; returns its right edge."""
    tw, _ = c.text_size(label, px, "bold")
    w = w or max(h, tw + 12)
    c.rect(x, y + 2, x + w, y + h + 2, fill=shade(GREY, 0.8), r=5)
    c.rect(x, y, x + w, y + h, fill=fill, outline=INK, width=KEY_CAP_OUTLINE, r=5)
    c.text(x + w / 2, y + h / 2, label, px, text, "bold", "mm")
    note_cap(c, KeyCap(x, y, w, h, label, fill, text, px))
    return x + w


# The arrows' order on a cap that holds all four as a cross (front.py's caption of keys), and the
# label such a cap has in keycaps.txt.
ARROWS = {"left": "←", "right": "→", "up": "↑", "down": "↓"}
CROSS = ("left", "right", "up", "down")


def arrow_glyph(c, cx, cy, direction, size, col=INK):
    s = size / 2
    pts = {"up": [(cx, cy - s), (cx + s, cy + s * 0.6), (cx - s, cy + s * 0.6)],
           "down": [(cx, cy + s), (cx + s, cy - s * 0.6), (cx - s, cy - s * 0.6)],
           "left": [(cx - s, cy), (cx + s * 0.6, cy - s), (cx + s * 0.6, cy + s)],
           "right": [(cx + s, cy), (cx - s * 0.6, cy - s), (cx - s * 0.6, cy + s)]}[direction]
    c.poly(pts, fill=col)
    # Four arrows drawn one after the other around one point, as a cross, are a key cap of their
    # own: the cap is the face they stand on.
    drawn = getattr(c, "arrows", [])
    c.arrows = (drawn + [(direction, cx, cy, size, col)])[-4:]
    if tuple(a[0] for a in c.arrows) == CROSS:
        cross_cap(c, c.arrows)
        c.arrows = []


def cross_cap(c, arrows):
    """Notes the cap under a cross of four arrows: the face of one colour that holds the cross's
    middle, as far as its outline (found on the canvas's own pixels, filled from the middle)."""
    (_, lx, _, size, col), (_, rx, _, _, _), (_, _, uy, _, _), (_, _, dy, _, _) = arrows
    ss = c.ss
    mx, my = int((lx + rx) / 2 * ss), int((uy + dy) / 2 * ss)
    marked = c.im.copy()
    face = marked.getpixel((mx, my))
    mark = (face[0] ^ 255, face[1] ^ 255, face[2] ^ 255, 0)
    ImageDraw.floodfill(marked, (mx, my), mark)
    ys, xs = np.nonzero(np.all(np.asarray(marked) == mark, axis=2))
    x0, x1, y0, y1 = xs.min(), xs.max() + 1, ys.min(), ys.max() + 1
    if x1 - x0 > 64 * ss or y1 - y0 > 64 * ss:
        raise ValueError(f"the cross of arrows at ({mx / ss}, {my / ss}) stands on no key cap")
    o = KEY_CAP_OUTLINE
    note_cap(c, KeyCap(x0 / ss - o, y0 / ss - o, (x1 - x0) / ss + 2 * o, (y1 - y0) / ss + 2 * o,
                       "".join(ARROWS[d] for d in CROSS), face, col, size))
