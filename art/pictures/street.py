"""The street of the run: sky, sidewalk, street furniture, shops, buildings and the
two goals (station, school) plus the departure station of leg 2.

The sidewalk's top edge is at y 380 of the game window; buildings end at their
picture's bottom on that line (380..385), street furniture stands a little in
front (400..413)."""

import math
import random

import words as W
from paint import (Canvas, INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, TEAL, BLUE, PINK,
                   GREY, DARK_GREY, rgba, mix, shade, fit_px, fit_words, star_points,
                   READABLE_PX, font, language)
import town

OUT = 2.0
GLASS = (150, 205, 240)


def glass_window(c, x0, y0, x1, y1, frame=WHITE, glass=GLASS, w=1.5):
    c.rect(x0, y0, x1, y1, fill=frame, outline=INK, width=w)
    c.rect(x0 + 2.5, y0 + 2.5, x1 - 2.5, y1 - 2.5, fill=("v", shade(glass, 1.25), glass))
    c.poly([(x0 + 4, y1 - 4), (x0 + (x1 - x0) * 0.35, y0 + 4), (x0 + (x1 - x0) * 0.5, y0 + 4),
            (x0 + (x1 - x0) * 0.15, y1 - 4)], fill=(255, 255, 255, 90))


def awning(c, x0, x1, y0, y1, col1, col2=WHITE, stripe=24):
    x = x0
    k = 0
    while x < x1:
        xe = min(x1, x + stripe)
        c.rect(x, y0, xe, y1, fill=col1 if k % 2 == 0 else col2)
        x = xe
        k += 1
    c.rect(x0, y0, x1, y1, outline=INK, width=OUT)
    # scalloped edge
    n = max(1, int((x1 - x0) // stripe))
    for i in range(n):
        cx = x0 + (i + 0.5) * (x1 - x0) / n
        c.ellipse(cx - (x1 - x0) / n / 2, y1 - 6, cx + (x1 - x0) / n / 2, y1 + 6,
                  fill=col1 if i % 2 == 0 else col2, outline=INK, width=1.5)
    c.rect(x0 + 1, y1 - 7, x1 - 1, y1 - 1, fill=col1)
    c.line([(x0, y1 - 1), (x1, y1 - 1)], INK, 1)


def sign_px(s, max_w, px, stroke=0):
    """The size of a small sign's words: the Japanese size; English words that are wider
    than their plate are made smaller, down to the Japanese size of the smallest signs or
    to the readable size of the others, and fail the build below that."""
    return fit_words(s, max_w, px, stroke=stroke, min_px=min(px, READABLE_PX))


def sign_words(c, x, y, s, px, max_w, col=INK, stroke=0, stroke_fill=None):
    """A small sign's words centred on (x, y), no wider than max_w."""
    c.text(x, y, s, sign_px(s, max_w, px, stroke), col, "bold", "mm", stroke=stroke,
           stroke_fill=stroke_fill)


def vertical_words(c, x, y, s, px, col, step, span):
    """Words read top to bottom from (x, y), one character a step: a longer word is set
    closer so that it stays within `span` from the first character's middle to the last's."""
    step = min(step, span / max(1, len(s) - 1))
    for i, ch in enumerate(s):
        c.text(x, y + i * step, ch, px, col, "bold", "mm")


def ink_box(s, px, anchor="mm", stroke=0, ss=4):
    """The box the words' ink covers around their anchor, in pixels (left, top, right,
    bottom)."""
    b = font("bold", px * ss, s).getbbox(s, anchor=anchor, stroke_width=int(round(stroke * ss)))
    return tuple(v / ss for v in b)


def sideways_words(c, x, y, s, px, col=INK):
    """Words turned a quarter clockwise, read top to bottom, their ink centred on (x, y)."""
    ss = c.ss
    l, t, r, b = ink_box(s, px, ss=ss)
    w, h = int(math.ceil(r - l)) + 6, int(math.ceil(b - t)) + 6
    line = Canvas(w, h, ss=ss)
    line.text(w / 2 - (l + r) / 2, h / 2 - (t + b) / 2, s, px, col, "bold", "mm")
    turned = line.im.rotate(-90, expand=True)   # w x h becomes h x w, centre to centre
    c.paste_ss(turned, int(round((x - h / 2) * ss)), int(round((y - w / 2) * ss)))


def sign_plate(c, x0, y0, x1, y1, text, fill=WHITE, col=INK, px=None, outline=INK, r=6,
               stroke=0, stroke_fill=None):
    c.rect(x0, y0, x1, y1, fill=fill, outline=outline, width=OUT, r=r)
    if px:
        px = sign_px(text, (x1 - x0) - 16, px, stroke)
    else:
        px = fit_px(text, (x1 - x0) - 16, (y1 - y0) * 0.7)
    c.text((x0 + x1) / 2, (y0 + y1) / 2, text, px, col, "bold", "mm", stroke=stroke,
           stroke_fill=stroke_fill)


def window_grid(c, x0, y0, x1, y1, cols, rows, ww, wh, frame=WHITE, glass=GLASS, lit=None,
                rng=None):
    gx = (x1 - x0) / cols
    gy = (y1 - y0) / rows
    for j in range(rows):
        for i in range(cols):
            cx = x0 + gx * (i + 0.5)
            cy = y0 + gy * (j + 0.5)
            g = glass
            if lit and rng and rng.random() < lit:
                g = (255, 236, 170)
            glass_window(c, cx - ww / 2, cy - wh / 2, cx + ww / 2, cy + wh / 2, frame, g, 1.2)


def shelves(c, x0, y0, x1, y1, rng):
    """Goods on shelves seen through a shop window."""
    rows = 4
    h = (y1 - y0) / rows
    for j in range(rows):
        yb = y0 + h * (j + 1) - 3
        c.rect(x0, yb, x1, yb + 3, fill=(200, 200, 210))
        x = x0 + 3
        while x < x1 - 10:
            w = rng.randint(6, 14)
            hh = rng.uniform(h * 0.4, h * 0.8)
            c.rect(x, yb - hh, x + w, yb, fill=rng.choice(
                [(255, 120, 120), (120, 200, 255), (255, 220, 100), (140, 220, 140),
                 (255, 170, 220), (250, 250, 250)]))
            x += w + 2


# ---------------------------------------------------------------------------
# sky and sidewalk (both tile horizontally)
# ---------------------------------------------------------------------------

def periodic_hills(c, base, amp, col, waves, phase, width=640, step=4):
    pts = [(0, 480)]
    for x in range(0, width + step, step):
        t = x / width * 2 * math.pi
        y = base - amp * (0.55 + 0.3 * math.sin(waves[0] * t + phase)
                          + 0.15 * math.sin(waves[1] * t + phase * 2))
        pts.append((x, y))
    pts.append((width, 480))
    c.poly(pts, fill=col)


def sora():
    """Sky of the run and the help book: tiles seamlessly every 640 pixels."""
    c = Canvas(640, 480, ss=2)
    c.rect(0, 0, 640, 480, fill=("v", (84, 168, 238), (170, 218, 250), (222, 244, 255)))
    periodic_hills(c, 330, 70, (190, 222, 236), (2, 5), 0.7)
    periodic_hills(c, 360, 50, (170, 212, 206), (3, 7), 2.1)
    periodic_hills(c, 392, 34, (150, 200, 178), (4, 9), 4.0)
    return c.image()


def hodou():
    """Sidewalk tile, 391 x 101, repeated every 390 pixels from y 380."""
    c = Canvas(391, 101, ss=4)
    c.rect(0, 0, 391, 4, fill=(150, 140, 130))
    c.rect(0, 4, 391, 72, fill=(226, 206, 176))
    brick = 65.0
    rows = 4
    h = 68 / rows
    colours = [(238, 214, 182), (226, 196, 170), (242, 222, 196), (220, 200, 176),
               (236, 206, 186), (230, 214, 186)]
    for j in range(rows):
        y0 = 4 + j * h
        off = brick / 2 if j % 2 else 0
        for i in range(-2, 8):
            x0 = i * brick + off
            col = colours[(i * 2 + j * 3) % 6]
            c.rect(x0 + 1, y0 + 1, x0 + brick - 1, y0 + h - 1, fill=col)
            c.line([(x0 + 3, y0 + 2.5), (x0 + brick - 4, y0 + 2.5)], (255, 255, 255, 80), 1.2)
    # tactile paving line for the blind, as on Japanese sidewalks
    for i in range(-1, 13):
        x0 = i * 32.5
        c.rect(x0 + 2, 26, x0 + 30.5, 37, fill=(246, 200, 60))
        for k in range(4):
            c.circle(x0 + 6 + k * 7, 31.5, 1.6, fill=(220, 170, 40))
    # curb and road
    c.rect(0, 72, 391, 81, fill=(210, 210, 206))
    for i in range(0, 7):
        c.line([(i * brick, 72), (i * brick, 81)], (160, 160, 160), 1.2)
    c.rect(0, 81, 391, 83, fill=(120, 120, 120))
    c.rect(0, 83, 391, 101, fill=(104, 108, 118))
    c.rect(0, 87, 391, 90, fill=(240, 240, 235))
    im = c.image()
    # the last column repeats the first: the tile is drawn every 390 pixels
    im.paste(im.crop((0, 0, 1, 101)), (390, 0))
    return im


# ---------------------------------------------------------------------------
# street furniture
# ---------------------------------------------------------------------------

def ji():
    """Vending machine, 124 x 174, bottom on y 404."""
    c = Canvas(124, 174, ss=4)
    rng = random.Random(13)
    body = (226, 50, 60)
    c.rect(6, 170, 122, 174, fill=(0, 0, 0, 60), r=2)
    c.rect(4, 4, 118, 170, fill=("h", shade(body, 1.15), body, shade(body, 0.85)),
           outline=INK, width=2.5, r=6)
    c.rect(12, 10, 110, 24, fill=(40, 120, 220), outline=INK, width=1.5, r=3)
    sign_words(c, 61, 17, W.VENDING_COLD, 10, 90, WHITE)
    c.rect(12, 28, 110, 96, fill=(235, 245, 255), outline=INK, width=1.5, r=3)
    for j in range(3):
        for i in range(6):
            x = 17 + i * 15.5
            y = 33 + j * 21
            col = rng.choice([(255, 100, 100), (90, 180, 255), (255, 210, 80), (120, 210, 120),
                              (250, 250, 250), (180, 120, 220)])
            c.rect(x, y, x + 10, y + 15, fill=col, outline=INK, width=1, r=2)
            c.rect(x + 1.5, y + 5, x + 8.5, y + 9, fill=(255, 255, 255, 170))
            c.circle(x + 5, y + 18.5, 1.6, fill=(60, 220, 90))
    c.rect(18, 104, 104, 112, fill=(40, 40, 50), r=2)
    c.rect(84, 118, 106, 140, fill=(200, 200, 210), outline=INK, width=1.2, r=2)
    c.rect(93, 122, 97, 132, fill=INK)
    c.rect(16, 146, 106, 162, fill=(30, 30, 40), outline=INK, width=1.5, r=3)
    c.rect(20, 118, 76, 138, fill=WHITE, outline=INK, width=1.2, r=3)
    sign_words(c, 48, 128, W.VENDING_PRICE, 11, 50)
    return c.image()


def denshi():
    """Utility pole, 125 x 441, bottom on y 411."""
    c = Canvas(125, 441, ss=3)
    cx = 62
    c.poly([(cx - 8, 0), (cx + 8, 0), (cx + 11, 441), (cx - 11, 441)],
           fill=("h", (205, 205, 198), (175, 175, 170), (150, 150, 148)), outline=INK,
           width=OUT)
    # cross arms with insulators
    for y, half in ((22, 56), (64, 44)):
        c.rect(cx - half, y, cx + half, y + 7, fill=(110, 110, 115), outline=INK, width=1.5)
        for dx in (-half + 8, -half / 2, half / 2, half - 8):
            c.rect(cx + dx - 3, y - 9, cx + dx + 3, y, fill=WHITE, outline=INK, width=1.2)
            c.line([(cx + dx - 4, y - 6), (cx + dx + 4, y - 6)], INK, 1)
    # transformer
    c.rect(cx + 10, 96, cx + 40, 150, fill=(170, 176, 180), outline=INK, width=OUT, r=5)
    c.rect(cx + 8, 108, cx + 12, 114, fill=INK)
    c.rect(cx + 8, 134, cx + 12, 140, fill=INK)
    c.line([(cx + 18, 96), (cx + 18, 86)], INK, 1.5)
    c.line([(cx + 32, 96), (cx + 32, 86)], INK, 1.5)
    # street lamp
    c.line([(cx - 8, 180), (cx - 40, 170), (cx - 50, 174)], INK, 4)
    c.line([(cx - 8, 180), (cx - 40, 170), (cx - 50, 174)], (140, 140, 145), 2)
    c.ellipse(cx - 60, 172, cx - 38, 182, fill=(255, 250, 220), outline=INK, width=1.5)
    # address plate
    c.rect(cx - 14, 236, cx + 14, 338, fill=(40, 90, 170), outline=INK, width=1.5, r=3)
    vertical_words(c, cx, 246, W.POLE_ADDRESS, 11, WHITE, 13.5, 81)
    # step bolts
    for k in range(6):
        y = 200 + k * 26
        side = -1 if k % 2 else 1
        c.line([(cx + side * 8, y), (cx + side * 16, y)], INK, 2.5)
    # yellow and black guard at the foot
    c.rect(cx - 12, 372, cx + 12, 436, fill=YELLOW, outline=INK, width=1.5)
    for k in range(6):
        y = 372 + k * 12
        c.poly([(cx - 11, y + 10), (cx - 11, y + 4), (cx + 11, y - 2), (cx + 11, y + 4)],
               fill=INK)
    c.rect(cx - 12, 372, cx + 12, 436, outline=INK, width=1.5)
    return c.image()


def post():
    """Red post box, 72 x 128, bottom on y 413."""
    c = Canvas(72, 128, ss=4)
    red = (225, 40, 45)
    c.rect(24, 104, 48, 126, fill=(60, 60, 66), outline=INK, width=1.5)
    c.rect(16, 122, 56, 128, fill=(80, 80, 86), outline=INK, width=1.2, r=2)
    c.rect(8, 22, 64, 108, fill=("h", shade(red, 1.2), red, shade(red, 0.8)), outline=INK,
           width=2.2, r=4)
    c.ellipse(6, 6, 66, 36, fill=shade(red, 1.1), outline=INK, width=2.2)
    c.rect(8.5, 21, 63.5, 30, fill=red)
    c.line([(8, 28), (64, 28)], INK, 1.5)
    c.rect(16, 38, 56, 46, fill=(50, 20, 20), outline=INK, width=1.2, r=2)
    c.rect(20, 56, 52, 86, fill=WHITE, outline=INK, width=1.2, r=2)
    c.text(36, 66, "〒", 14, red, "bold", "mm")
    sign_words(c, 36, 80, W.POST_MAIL, 7, 30)
    c.rect(12, 30, 16, 100, fill=(255, 255, 255, 70))
    return c.image()


DUSTBOX_PLATE_HALF = 23.5   # the label's plate: x 20..67 around the box's middle, 43.5
DUSTBOX_LABEL_W = 45        # the widest word on it (the box's sides: x 13.5..73.5 at its foot)


def ink_width(s, px, stroke=0):
    l, _, r, _ = ink_box(s, px, stroke=stroke)
    return r - l


def dustbox():
    """Dust box, 87 x 110, bottom on y 400 at rest; it can be kicked.  When it flies
    over the desktop the game cuts 128 x 137 out of the picture, so the picture
    is that big, with the box at its top-left."""
    c = Canvas(128, 137, ss=4)
    body = (60, 150, 120)
    c.poly([(10, 22), (77, 22), (71, 108), (16, 108)],
           fill=("h", shade(body, 1.2), body, shade(body, 0.8)), outline=INK, width=2.2)
    for x in (26, 43.5, 61):
        c.line([(x, 30), (x - (x - 43.5) * 0.1, 100)], shade(body, 0.75), 2)
    # the label's plate: in English as wide as the word and 6 px clear either side of it
    # (within the box's sides), at least as wide as the Japanese one
    px = sign_px(W.DUSTBOX_LABEL, DUSTBOX_LABEL_W, 8)
    half = DUSTBOX_PLATE_HALF
    if language() == "en":
        half = max(half, ink_width(W.DUSTBOX_LABEL, px) / 2 + 6)
    c.rect(43.5 - half, 50, 43.5 + half, 72, fill=WHITE, outline=INK, width=1.2, r=3)
    sign_words(c, 43.5, 61, W.DUSTBOX_LABEL, px, DUSTBOX_LABEL_W)
    c.rect(4, 12, 83, 26, fill=shade(body, 1.1), outline=INK, width=2.2, r=5)
    c.rect(30, 4, 57, 14, fill=shade(body, 0.9), outline=INK, width=2, r=4)
    c.rect(8, 15, 79, 18, fill=(255, 255, 255, 80), r=2)
    return c.image()


# ---------------------------------------------------------------------------
# shops and buildings
# ---------------------------------------------------------------------------

def konbini():
    """Convenience store with a small bicycle park, 920 x 360, bottom on y 385."""
    c = Canvas(920, 360, ss=2)
    rng = random.Random(18)
    top, base = 24, 356
    x0, x1 = 10, 700
    wall = (250, 250, 246)
    c.rect(x0, top, x1, base, fill=wall, outline=INK, width=OUT)
    c.rect(x0 - 6, top - 6, x1 + 6, top + 6, fill=(200, 200, 205), outline=INK, width=OUT)
    # sign band with stripes
    c.rect(x0, top + 6, x1, top + 84, fill=WHITE, outline=INK, width=OUT)
    c.rect(x0, top + 62, x1, top + 70, fill=GREEN)
    c.rect(x0, top + 70, x1, top + 76, fill=ORANGE)
    c.rect(x0, top + 76, x1, top + 84, fill=BLUE)
    c.text(330, top + 34, W.SHOP_KONBINI, 40, (40, 140, 80), "bold", "mm", stroke=3,
           stroke_fill=WHITE)
    c.rect(560, top + 16, 680, top + 54, fill=ORANGE, outline=INK, width=1.5, r=8)
    sign_words(c, 620, top + 35, W.KONBINI_HOURS, 20, 110, WHITE, stroke=1.5, stroke_fill=INK)
    # shop windows with goods, and the automatic door
    wy0, wy1 = top + 104, base - 14
    door0, door1 = 250, 350
    for (a, b) in ((x0 + 14, door0 - 10), (door1 + 10, x1 - 14)):
        c.rect(a, wy0, b, wy1, fill=(215, 236, 250), outline=INK, width=OUT)
        shelves(c, a + 6, wy0 + 40, b - 6, wy1 - 4, rng)
        c.rect(a, wy0, b, wy0 + 36, fill=(235, 246, 255))
        for x in range(int(a), int(b), 90):
            c.line([(x, wy0), (x, wy1)], INK, 1.5)
        c.poly([(a + 10, wy1 - 4), (a + 70, wy0 + 4), (a + 100, wy0 + 4), (a + 40, wy1 - 4)],
               fill=(255, 255, 255, 70))
    # posters on the glass
    for px, col, txt in zip((60, 420, 560), (RED, YELLOW, PINK), W.KONBINI_POSTERS):
        c.rect(px, wy0 + 4, px + 70, wy0 + 32, fill=col, outline=INK, width=1.2, r=4)
        sign_words(c, px + 35, wy0 + 18, txt, 13, 64, INK if col != RED else WHITE)
    c.rect(door0, wy0 - 6, door1, base, fill=(200, 226, 244), outline=INK, width=OUT)
    c.line([(300, wy0 - 6), (300, base)], INK, 1.5)
    c.rect(door0 - 6, wy0 - 16, door1 + 6, wy0 - 6, fill=(190, 190, 196), outline=INK, width=1.5)
    sign_words(c, 300, wy0 + 20, W.KONBINI_DOOR, 11, 96)
    c.rect(x0, base - 14, x1, base, fill=(190, 190, 196), outline=INK, width=1.5)
    # bicycle park: a roof, two bicycles and a sign
    c.rect(720, 200, 900, 212, fill=(120, 140, 170), outline=INK, width=OUT)
    for x in (730, 890):
        c.rect(x - 3, 212, x + 3, base, fill=(150, 150, 160), outline=INK, width=1.2)
    for k, bx in enumerate((760, 830)):
        col = (RED, BLUE)[k]
        c.circle(bx, 330, 16, outline=INK, width=3)
        c.circle(bx + 44, 330, 16, outline=INK, width=3)
        c.line([(bx, 330), (bx + 16, 306), (bx + 36, 306), (bx + 44, 330)], col, 4)
        c.line([(bx + 16, 306), (bx + 22, 330), (bx + 36, 306)], col, 4)
        c.line([(bx + 36, 306), (bx + 38, 296), (bx + 46, 296)], INK, 3)
        c.line([(bx + 12, 300), (bx + 22, 300)], INK, 4)
    c.rect(840, 226, 904, 250, fill=BLUE, outline=INK, width=1.5, r=5)
    sign_words(c, 872, 238, W.BIKE_PARK, 14, 58, WHITE)
    return c.image()


def bill02a():
    """Tall office building, 450 x 640, drawn from y -260: only its lower part shows."""
    c = Canvas(450, 640, ss=2)
    rng = random.Random(19)
    x0, x1 = 20, 430
    c.rect(x0, 10, x1, 640, fill=("h", (196, 214, 232), (170, 190, 214)), outline=INK,
           width=OUT)
    c.rect(x0 - 8, 0, x1 + 8, 14, fill=(140, 156, 180), outline=INK, width=OUT)
    # floors of windows
    for j in range(13):
        y = 30 + j * 40
        c.rect(x0 + 2, y - 8, x1 - 2, y - 5, fill=(150, 170, 196))
        for i in range(6):
            x = x0 + 16 + i * 66
            g = (255, 236, 170) if rng.random() < 0.15 else GLASS
            glass_window(c, x, y, x + 50, y + 26, (230, 236, 244), g, 1.2)
    # vertical name board
    c.rect(x1 - 50, 300, x1 - 14, 500, fill=WHITE, outline=INK, width=1.5, r=4)
    vertical_words(c, x1 - 32, 320, W.OFFICE_NAME, 26, (40, 90, 170), 38, 152)
    # entrance with canopy
    c.rect(x0 + 2, 548, x1 - 2, 640, fill=(120, 130, 150))
    c.rect(130, 560, 320, 640, fill=(200, 226, 244), outline=INK, width=OUT)
    c.line([(225, 560), (225, 640)], INK, 1.5)
    c.rect(110, 540, 340, 556, fill=(80, 90, 110), outline=INK, width=OUT)
    for x in (60, 380):
        c.rect(x - 20, 580, x + 20, 640, fill=(150, 160, 176), outline=INK, width=1.5)
        town.tree(c, x, 600, 60, rng=rng)
    return c.image()


def shop_front(c, x0, x1, base, kind, rng):
    """Ground floor shop of the long block: kind chooses the trade."""
    if kind == "ramen":
        c.rect(x0, base - 150, x1, base, fill=(120, 60, 40), outline=INK, width=OUT)
        sign_plate(c, x0 + 20, base - 146, x1 - 20, base - 110, W.SHOP_RAMEN, fill=(250, 240, 220),
                   col=RED)
        c.rect(x0 + 40, base - 100, x1 - 40, base, fill=(240, 210, 160), outline=INK, width=OUT)
        n = 5
        for i in range(n):
            a = x0 + 40 + (x1 - x0 - 80) * i / n
            b = x0 + 40 + (x1 - x0 - 80) * (i + 1) / n
            c.rect(a + 1, base - 100, b - 1, base - 60, fill=RED, outline=INK, width=1.2)
        sign_words(c, (x0 + x1) / 2, base - 80, W.SHOP_RAMEN_CURTAIN, 18, x1 - x0 - 90, WHITE)
        c.rect(x1 - 70, base - 60, x1 - 46, base - 20, fill=(255, 240, 200), outline=INK,
               width=1.2, r=10)
    elif kind == "books":
        c.rect(x0, base - 150, x1, base, fill=(240, 236, 222), outline=INK, width=OUT)
        sign_plate(c, x0 + 20, base - 146, x1 - 20, base - 110, W.SHOP_BOOKS, fill=(60, 110, 170),
                   col=WHITE)
        glass_window(c, x0 + 20, base - 100, x1 - 110, base - 4, WHITE)
        shelves(c, x0 + 26, base - 92, x1 - 116, base - 10, rng)
        c.rect(x1 - 96, base - 100, x1 - 24, base, fill=(200, 226, 244), outline=INK, width=OUT)
    elif kind == "flowers":
        awning(c, x0 + 6, x1 - 6, base - 150, base - 120, GREEN, WHITE)
        c.rect(x0, base - 120, x1, base, fill=(250, 246, 236), outline=INK, width=OUT)
        sign_plate(c, x0 + 60, base - 116, x1 - 60, base - 90, W.SHOP_FLOWERS,
                   fill=PINK)
        glass_window(c, x0 + 20, base - 84, x1 - 20, base - 40, WHITE)
        for i in range(8):
            bx = x0 + 30 + i * (x1 - x0 - 60) / 8
            c.rect(bx, base - 30, bx + 30, base, fill=(190, 120, 80), outline=INK, width=1.2)
            for k in range(3):
                c.circle(bx + 7 + k * 8, base - 36 + (k % 2) * 4, 6,
                         fill=rng.choice([RED, YELLOW, PINK, (255, 140, 200), WHITE]),
                         outline=INK, width=1)
    else:  # cleaners
        c.rect(x0, base - 150, x1, base, fill=(220, 236, 250), outline=INK, width=OUT)
        sign_plate(c, x0 + 20, base - 146, x1 - 20, base - 110, W.SHOP_CLEANERS, fill=WHITE,
                   col=BLUE)
        glass_window(c, x0 + 20, base - 100, x1 - 20, base - 4, WHITE)
        for i in range(7):
            hx = x0 + 50 + i * (x1 - x0 - 100) / 6
            c.line([(hx, base - 90), (hx, base - 80)], INK, 1.5)
            c.poly([(hx - 14, base - 80), (hx + 14, base - 80), (hx + 18, base - 40),
                    (hx - 18, base - 40)], fill=rng.choice([WHITE, (200, 220, 255),
                                                           (255, 220, 220)]),
                   outline=INK, width=1.2)


def bill03():
    """A long block of flats over four shops, 1580 x 455, drawn from y -70."""
    c = Canvas(1580, 455, ss=2)
    rng = random.Random(20)
    base = 452
    parts = [(0, 395, 40, (236, 222, 200), "ramen"), (395, 790, 110, (214, 230, 240), "books"),
             (790, 1185, 70, (250, 226, 214), "flowers"), (1185, 1580, 20, (226, 240, 220),
                                                              "cleaners")]
    for a, b, top, wall, kind in parts:
        a2, b2 = a + 6, b - 6
        c.rect(a2, top, b2, base, fill=wall, outline=INK, width=OUT)
        c.rect(a2 - 4, top - 8, b2 + 4, top + 4, fill=shade(wall, 0.8), outline=INK, width=OUT)
        floors = int((base - 160 - top) // 70)
        for f in range(floors):
            y = base - 190 - f * 70
            # balcony row
            for i in range(3):
                bx = a2 + 20 + i * (b2 - a2 - 40) / 3
                bw = (b2 - a2 - 40) / 3 - 20
                glass_window(c, bx, y - 46, bx + bw * 0.55, y - 4, WHITE)
                c.rect(bx + bw * 0.6, y - 42, bx + bw, y - 4, fill=shade(wall, 0.9),
                       outline=INK, width=1.2)
                c.rect(bx - 6, y - 16, bx + bw + 6, y + 8, fill=(255, 255, 255, 200),
                       outline=INK, width=1.5)
                for k in range(6):
                    c.line([(bx + k * (bw + 12) / 6 - 6, y - 16),
                            (bx + k * (bw + 12) / 6 - 6, y + 8)], (160, 170, 180), 1)
                if rng.random() < 0.4:
                    # laundry on the balcony
                    c.line([(bx, y - 30), (bx + bw * 0.5, y - 30)], INK, 1)
                    for k in range(3):
                        lx = bx + 6 + k * 14
                        c.rect(lx, y - 30, lx + 10, y - 18, fill=rng.choice(
                            [WHITE, PINK, (170, 210, 255), YELLOW]), outline=INK, width=1)
        shop_front(c, a2, b2, base, kind, rng)
    c.rect(0, base - 4, 1580, base + 3, fill=(150, 140, 130))
    return c.image()


NAMEPLATE_PX = 9


def nameplate(name):
    """Left and right of the nameplate on the block wall, its right edge by the gate: 26
    wide, or wider to the left for a longer name (3 px clear either side of it)."""
    w = Canvas(1, 1, ss=3).text_size(name, NAMEPLATE_PX)[0]
    return 176 - max(26, w + 6), 176


def ie01():
    """A two-storey house behind a block wall, 360 x 320, bottom on y 380."""
    c = Canvas(360, 320, ss=3)
    rng = random.Random(21)
    base = 320
    wall = (255, 242, 220)
    roof = (70, 90, 130)
    # upper floor
    c.rect(60, 110, 300, 300, fill=wall, outline=INK, width=OUT)
    c.poly([(40, 116), (110, 50), (250, 50), (320, 116)], fill=roof, outline=INK, width=OUT)
    for k in range(6):
        y = 60 + k * 10
        t = (y - 50) / 66
        c.line([(110 - 70 * t, y), (250 + 70 * t, y)], shade(roof, 0.8), 1.5)
    c.rect(246, 40, 270, 72, fill=(180, 120, 100), outline=INK, width=1.5)
    glass_window(c, 90, 130, 150, 180)
    glass_window(c, 200, 130, 270, 180)
    # lower eave
    c.poly([(44, 206), (60, 190), (300, 190), (316, 206)], fill=roof, outline=INK, width=OUT)
    glass_window(c, 80, 220, 160, 280)
    c.rect(200, 220, 250, 300, fill=(170, 120, 80), outline=INK, width=OUT)
    c.circle(242, 262, 3, fill=YELLOW)
    # garden tree and the block wall with a gate
    town.tree(c, 30, 290, 150, GREEN, rng=rng)
    c.rect(0, 262, 180, 320, fill=(210, 206, 196), outline=INK, width=OUT)
    c.rect(230, 262, 360, 320, fill=(210, 206, 196), outline=INK, width=OUT)
    for x in range(0, 360, 30):
        if x < 180 or x >= 230:
            c.line([(x, 262), (x, 320)], (180, 176, 166), 1.2)
    c.line([(0, 291), (180, 291)], (180, 176, 166), 1.2)
    c.line([(230, 291), (360, 291)], (180, 176, 166), 1.2)
    x0, x1 = nameplate(W.NAMEPLATE)
    c.rect(x0, 268, x1, 290, fill=WHITE, outline=INK, width=1.2)
    c.text((x0 + x1) / 2, 279, W.NAMEPLATE, NAMEPLATE_PX, INK, "bold", "mm")
    c.rect(326, 272, 350, 288, fill=RED, outline=INK, width=1.2, r=3)
    return c.image()


def depato():
    """Department store, 680 x 414, drawn from y -30."""
    c = Canvas(680, 414, ss=2)
    rng = random.Random(22)
    wall = (240, 226, 200)
    base = 414
    c.rect(10, 10, 670, base, fill=("v", shade(wall, 1.05), wall), outline=INK, width=OUT)
    c.rect(0, 0, 680, 22, fill=shade(wall, 0.85), outline=INK, width=OUT)
    # name on the facade, flags on the roof line
    sign_plate(c, 140, 40, 540, 100, W.SHOP_DEPATO, fill=(160, 40, 60), col=WHITE, px=40,
               r=10)
    for x in (60, 620):
        c.circle(x, 70, 26, fill=YELLOW, outline=INK, width=OUT)
        sign_words(c, x, 70, W.DEPATO_MARK, 26, 40, (160, 40, 60))
    # upper windows
    for j in range(2):
        for i in range(8):
            x = 40 + i * 78
            glass_window(c, x, 124 + j * 70, x + 56, 174 + j * 70, WHITE)
    # awning and show windows
    awning(c, 20, 660, 268, 300, RED, WHITE, 32)
    for i, (a, b) in enumerate(((30, 230), (450, 650))):
        c.rect(a, 310, b, base - 10, fill=(250, 244, 230), outline=INK, width=OUT)
        for k in range(3):
            mx = a + 40 + k * 60
            col = rng.choice([PINK, (170, 210, 255), YELLOW, (200, 170, 240)])
            c.circle(mx, 330, 9, fill=(255, 230, 210), outline=INK, width=1.2)
            c.poly([(mx - 14, 342), (mx + 14, 342), (mx + 20, 384), (mx - 20, 384)], fill=col,
                   outline=INK, width=1.2)
            c.line([(mx, 384), (mx, base - 12)], INK, 2)
        c.poly([(a + 10, base - 14), (a + 80, 314), (a + 110, 314), (a + 40, base - 14)],
               fill=(255, 255, 255, 80))
    c.rect(260, 310, 420, base, fill=(200, 226, 244), outline=INK, width=OUT)
    c.line([(340, 310), (340, base)], INK, 1.5)
    sign_plate(c, 270, 316, 410, 340, W.DEPATO_WELCOME, fill=WHITE, px=13)
    return c.image()


# ---------------------------------------------------------------------------
# goal buildings, 962 x 562 at y -65: ground at row 450 (y 385); the way in at x 200..330
# ---------------------------------------------------------------------------

GROUND = 450


NAME_BOARD = (90, 150, 550, 210)
NAME_CLEAR = (24, 10)   # what an English name keeps clear of the board's ends, top and bottom


def station_name_px(name):
    """The station's name on its board: the Japanese at 42 px; an English one as large as
    fits with NAME_CLEAR to spare."""
    x0, y0, x1, y1 = NAME_BOARD
    cx, cy = NAME_CLEAR
    px = fit_words(name, x1 - x0 - 2 * cx, 42, stroke=3)
    if language() == "en":
        while px > READABLE_PX:
            _, t, _, b = ink_box(name, px, stroke=3)
            if (y0 + y1) / 2 + t >= y0 + cy and (y0 + y1) / 2 + b <= y1 - cy:
                break
            px -= 0.5
    return px


def station(name, roof, accent, seed):
    c = Canvas(962, 562, ss=2)
    rng = random.Random(seed)
    base = GROUND
    wall = (248, 244, 234)
    # platform and train on the right
    c.rect(600, 300, 962, base, fill=(200, 196, 186), outline=INK, width=OUT)
    c.rect(600, 220, 962, 236, fill=roof, outline=INK, width=OUT)
    for x in (640, 760, 880):
        c.rect(x - 5, 236, x + 5, 300, fill=(150, 150, 160), outline=INK, width=1.5)
    for k in range(2):
        tx = 650 + k * 200
        c.rect(tx, 248, tx + 190, 300, fill=(250, 248, 240), outline=INK, width=OUT, r=6)
        c.rect(tx, 282, tx + 190, 290, fill=(40, 160, 110))
        for i in range(4):
            glass_window(c, tx + 14 + i * 44, 256, tx + 44 + i * 44, 278, WHITE)
    c.rect(600, 300, 962, 312, fill=(250, 220, 80))
    c.rect(600, 300, 962, 312, outline=INK, width=1.5)
    # the station building
    c.rect(20, 120, 620, base, fill=wall, outline=INK, width=OUT)
    c.poly([(0, 128), (80, 60), (560, 60), (640, 128)], fill=roof, outline=INK, width=OUT)
    c.rect(0, 122, 640, 136, fill=shade(roof, 0.8), outline=INK, width=OUT)
    # clock tower on the roof
    c.rect(270, 0, 370, 80, fill=wall, outline=INK, width=OUT)
    c.poly([(260, 8), (320, -30), (380, 8)], fill=roof, outline=INK, width=OUT)
    c.circle(320, 44, 30, fill=WHITE, outline=INK, width=3)
    for i in range(12):
        a = math.radians(i * 30)
        c.line([(320 + 24 * math.sin(a), 44 - 24 * math.cos(a)),
                (320 + 28 * math.sin(a), 44 - 28 * math.cos(a))], INK, 2)
    c.line([(320, 44), (320, 22)], INK, 3)
    c.line([(320, 44), (336, 52)], INK, 3)
    # name board
    c.rect(*NAME_BOARD, fill=accent, outline=INK, width=OUT, r=10)
    c.text(320, 180, name, station_name_px(name), WHITE, "bold", "mm", stroke=3, stroke_fill=INK)
    # upper windows
    for i in range(6):
        x = 50 + i * 96
        glass_window(c, x, 230, x + 60, 280, WHITE)
    # entrance: wide opening with ticket gates inside, at x 200..330
    c.rect(180, 300, 350, base, fill=(90, 100, 120), outline=INK, width=OUT)
    c.rect(180, 300, 350, 320, fill=accent, outline=INK, width=1.5)
    sign_words(c, 265, 310, W.STATION_GATES, 13, 160, WHITE)
    for k in range(4):
        gx = 196 + k * 40
        c.rect(gx, 380, gx + 14, base, fill=(200, 204, 214), outline=INK, width=1.2)
        c.rect(gx + 2, 384, gx + 12, 392, fill=(80, 200, 120))
    c.rect(182, 330, 348, 372, fill=(120, 130, 150))
    sign_words(c, 265, 351, W.STATION_PLATFORMS, 16, 156, WHITE)
    # other openings
    glass_window(c, 50, 320, 150, 420, WHITE)
    glass_window(c, 380, 320, 480, 420, WHITE)
    c.rect(500, 320, 590, base, fill=(200, 226, 244), outline=INK, width=OUT)
    sign_words(c, 545, 336, W.STATION_TICKETS, 13, 84)
    c.rect(510, 350, 580, 420, fill=(230, 236, 244), outline=INK, width=1.2)
    for k in range(3):
        c.rect(518 + k * 20, 360, 532 + k * 20, 410, fill=(120, 190, 250), outline=INK, width=1)
    # steps and the foot of the building
    c.rect(10, base - 10, 630, base + 4, fill=(200, 196, 190), outline=INK, width=1.5)
    # flower beds
    for x in (40, 600):
        c.rect(x - 30, base - 30, x + 30, base - 10, fill=(160, 120, 90), outline=INK, width=1.5)
        for k in range(5):
            c.circle(x - 22 + k * 11, base - 34, 6, fill=rng.choice([RED, YELLOW, PINK, WHITE]),
                     outline=INK, width=1)
    return c.image()


def eki():
    return station(W.STATION_NAME, (200, 80, 70), (40, 110, 190), 26)


def eki2():
    return station(W.STATION2_NAME, (70, 140, 90), (220, 100, 140), 73)


GATE_PLATE = (197, 350, 207, 440)   # on the gate's left post, its middle at (202, 395)
GATE_PX = 9


def gate_plate_layout(name):
    """How the school's name goes on the gate's plate: ("down", step) a character under the
    other, a longer name set closer; or, for a name too long for that (letters closer than
    their size would touch), ("sideways", length) in one line turned to read top to bottom,
    the plate made longer and wider to hold it with 6 px to spare at either end and 3 at
    its sides.  Returns the kind, the step or the line's length, and the plate (x0, y0, x1,
    y1)."""
    x0, y0, x1, y1 = GATE_PLATE
    step = min(11.5, 80 / max(1, len(name) - 1))
    if step >= GATE_PX:
        return "down", step, GATE_PLATE
    l, t, r, b = ink_box(name, GATE_PX)
    half_long = max((y1 - y0) / 2, (r - l) / 2 + 6)
    half_wide = max((x1 - x0) / 2, (b - t) / 2 + 3)
    mx, my = (x0 + x1) / 2, (y0 + y1) / 2
    return "sideways", r - l, (mx - half_wide, my - half_long, mx + half_wide, my + half_long)


def gate_plate(c, name):
    kind, step, (x0, y0, x1, y1) = gate_plate_layout(name)
    c.rect(x0, y0, x1, y1, fill=WHITE, outline=INK, width=1.2)
    if kind == "down":
        for i, ch in enumerate(name):
            c.text((x0 + x1) / 2, y0 + 6 + i * step, ch, GATE_PX, INK, "bold", "mm")
    else:
        sideways_words(c, (x0 + x1) / 2, (y0 + y1) / 2, name, GATE_PX)


def gakkou():
    """The school behind its wall, gate at x 200..330."""
    c = Canvas(962, 562, ss=2)
    rng = random.Random(27)
    base = GROUND
    wall = (250, 250, 246)
    # main building: three floors
    c.rect(60, 90, 920, 380, fill=wall, outline=INK, width=OUT)
    c.rect(50, 80, 930, 96, fill=(210, 214, 222), outline=INK, width=OUT)
    for f in range(3):
        y = 120 + f * 86
        for i in range(10):
            x = 80 + i * 84
            glass_window(c, x, y, x + 60, y + 50, WHITE)
        c.rect(62, y + 62, 918, y + 66, fill=(220, 224, 232))
    # clock and emblem in the middle
    c.rect(430, 20, 550, 96, fill=wall, outline=INK, width=OUT)
    c.circle(490, 56, 30, fill=WHITE, outline=INK, width=3)
    c.line([(490, 56), (490, 34)], INK, 3)
    c.line([(490, 56), (476, 64)], INK, 3)
    c.poly(star_points(490, 8, 14, 6), fill=YELLOW, outline=INK, width=1.5)
    # wall with the gate
    c.rect(0, 370, 200, base, fill=(226, 222, 212), outline=INK, width=OUT)
    c.rect(330, 370, 962, base, fill=(226, 222, 212), outline=INK, width=OUT)
    for x in list(range(0, 200, 40)) + list(range(330, 962, 40)):
        c.line([(x, 370), (x, base)], (196, 192, 182), 1.2)
    c.line([(0, 410), (200, 410)], (196, 192, 182), 1.2)
    c.line([(330, 410), (962, 410)], (196, 192, 182), 1.2)
    # the schoolyard seen through the gate
    c.rect(200, 380, 330, base, fill=(220, 196, 150))
    for x in (190, 330):
        c.rect(x, 330, x + 24, base, fill=(200, 196, 186), outline=INK, width=OUT)
        c.rect(x - 4, 322, x + 28, 334, fill=(180, 176, 166), outline=INK, width=1.5)
    gate_plate(c, W.SCHOOL_NAME)
    # cherry trees along the wall
    for x in (40, 120, 420, 620, 820, 920):
        town.tree(c, x + rng.randint(-6, 6), 372, 190, blossom=True, rng=rng)
    # petals
    for _ in range(40):
        x, y = rng.uniform(0, 962), rng.uniform(200, 440)
        c.ellipse(x - 3, y - 2, x + 3, y + 2, fill=PINK)
    return c.image()
