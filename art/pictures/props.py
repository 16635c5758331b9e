"""Things of the run: train, held items, cloud, shadow, aura, arrow, the late
stamp, the hands of the special move, and a few spare pictures."""

import math
import random

import numpy as np
from PIL import Image

import words as W
from paint import (fit_words, Canvas, INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, TEAL, BLUE, PINK,
                   GREY, rgba, mix, shade, star_points)
import town


def densya():
    """A four-car commuter train facing right, 1024 x 64 (body rows 4..54)."""
    c = Canvas(1024, 64, ss=3)
    body = (250, 248, 240)
    stripe = (40, 160, 110)
    stripe2 = (255, 160, 40)
    cars = 4
    for i in range(cars):
        x0 = 6 + i * 254
        x1 = x0 + 246
        front = i == cars - 1
        rear = i == 0
        # wheels and bogies
        for bx in (x0 + 34, x1 - 34):
            c.rect(bx - 22, 50, bx + 22, 56, fill=(70, 72, 84))
            for wx in (bx - 12, bx + 12):
                c.circle(wx, 56, 6, fill=(50, 50, 60), outline=INK, width=1.2)
        # body
        pts = [(x0 + (10 if rear else 0), 4), (x1 - (22 if front else 0), 4)]
        if front:
            pts += [(x1 - 6, 12), (x1, 30), (x1, 52)]
        else:
            pts += [(x1, 4), (x1, 52)]
        pts += [(x0, 52)]
        if rear:
            pts += [(x0, 14)]
        c.poly(pts, fill=("v", (255, 255, 255), body, (225, 225, 220)), outline=INK, width=2)
        c.rect(x0 + 1, 36, x1 - (1 if not front else 1), 42, fill=stripe)
        c.rect(x0 + 1, 42, x1 - 1, 45, fill=stripe2)
        # windows and doors
        for k in range(3):
            dx = x0 + 30 + k * 78
            c.rect(dx, 10, dx + 22, 50, fill=(235, 235, 228), outline=INK, width=1.5)
            c.rect(dx + 3, 13, dx + 19, 30, fill=(130, 190, 235), outline=INK, width=1)
            if k < 2:
                for wx in range(dx + 30, dx + 72, 22):
                    c.rect(wx, 12, wx + 18, 30, fill=(150, 205, 240), outline=INK, width=1.2)
                    c.line([(wx + 3, 27), (wx + 9, 15)], (255, 255, 255, 160), 1.2)
        if front:
            c.poly([(x1 - 20, 8), (x1 - 8, 14), (x1 - 4, 30), (x1 - 22, 30)],
                   fill=(110, 170, 225), outline=INK, width=1.5)
            c.circle(x1 - 5, 40, 3, fill=YELLOW, outline=INK, width=1)
        if rear:
            c.circle(x0 + 4, 40, 2.5, fill=RED, outline=INK, width=1)
        # pantograph on the second car
        if i == 1:
            c.line([(x0 + 110, 4), (x0 + 124, 0), (x0 + 138, 4)], INK, 1.5)
        if i < cars - 1:
            c.rect(x1, 24, x1 + 8, 46, fill=(90, 90, 100), outline=INK, width=1)
    return c.image()


def kumo():
    c = Canvas(128, 128, ss=4)
    town.cloud(c, 64, 60, 1.05)
    return c.image()


def jikage():
    """Shadow under a figure, drawn whole and faint; its top edge is the ground line."""
    c = Canvas(128, 32, ss=4)
    for k, a in ((0, 90), (3, 150), (6, 230)):
        c.ellipse(8 + k, 0 + k * 0.5, 104 - k, 18 - k * 0.5, fill=(30, 30, 50, a))
    return c.image()


def aura():
    """Flame aura of power mode around the figure (drawn faint over it)."""
    c = Canvas(128, 256, ss=4)
    cx = 52
    rng = random.Random(69)

    def flame(scale, col):
        pts = []
        n = 28
        for i in range(n + 1):
            a = math.pi * 2 * i / n
            rx = 44 * scale
            ry = 100 * scale
            x = cx + rx * math.sin(a)
            y = 118 + ry * -math.cos(a) * (1.0 if math.cos(a) > 0 else 0.85)
            if math.cos(a) > -0.2:
                # tongues on the upper half
                k = 1 + 0.25 * abs(math.sin(a * 5 + scale * 3))
                y = 118 - (118 - y) * k
            pts.append((x, y))
        c.poly(pts, fill=col)

    flame(1.12, (255, 90, 40, 255))
    flame(0.98, (255, 150, 40, 255))
    flame(0.82, (255, 214, 70, 255))
    flame(0.62, (255, 246, 190, 255))
    for _ in range(9):
        x = cx + rng.uniform(-36, 36)
        y = rng.uniform(20, 190)
        c.poly(star_points(x, y, 6, 2.5, 4), fill=(255, 255, 220, 255))
    im = c.image()
    # fade out toward the feet and below
    a = np.asarray(im).copy()
    v = np.arange(256, dtype=np.float32)[:, None]
    f = np.clip((236 - v) / 60.0, 0, 1)
    a[..., 3] = (a[..., 3] * f).astype(np.uint8)
    return Image.fromarray(a, "RGBA")


def yazirusi():
    """The marker above the player's head: an arrow pointing down."""
    c = Canvas(32, 32, ss=6)
    pts = [(10, 2), (22, 2), (22, 14), (29, 14), (16, 30), (3, 14), (10, 14)]
    c.poly(pts, fill=INK)
    c.poly([(11.5, 3.5), (20.5, 3.5), (20.5, 15.5), (25.5, 15.5), (16, 27.5), (6.5, 15.5),
            (11.5, 15.5)], fill=("v", (255, 120, 120), RED))
    c.rect(13, 5, 15.5, 14, fill=(255, 255, 255, 170))
    return c.image()


def arrow_sign():
    """A spare 'go this way' arrow."""
    c = Canvas(64, 64, ss=4)
    pts = [(4, 22), (34, 22), (34, 8), (60, 32), (34, 56), (34, 42), (4, 42)]
    c.poly(pts, fill=("v", (255, 200, 90), ORANGE), outline=INK, width=3)
    c.rect(8, 25, 30, 29, fill=(255, 255, 255, 140))
    return c.image()


def bag():
    """The schoolboy's bag, the size of a school bag in a boy's hand: about a third of his
    torso.  The handle's top is where the near hand grips (about (36, 7..14)); the bag
    hangs below it, and the rest of the canvas stays clear."""
    c = Canvas(128, 128, ss=4)
    leather = (112, 70, 44)
    # handle
    handle = [(29, 19), (30, 11), (36, 7), (42, 11), (43, 19)]
    c.line(handle, INK, 4.5)
    c.line(handle, (150, 100, 64), 2)
    # body, with the flap over its top half
    c.rect(16, 17, 56, 45, fill=("v", (146, 96, 60), leather), outline=INK, width=2, r=4)
    c.rect(16, 17, 56, 31, fill=(158, 106, 68), outline=INK, width=1.5, r=4)
    c.rect(19, 19, 53, 22, fill=(255, 255, 255, 50), r=2)
    # clasp and straps
    c.rect(32, 27, 40, 35, fill=YELLOW, outline=INK, width=1.2, r=1.5)
    c.circle(36, 31, 1.3, fill=INK)
    for x in (22, 50):
        c.rect(x - 2, 31, x + 2, 43, fill=(84, 52, 34))
    # a school charm on a string
    c.line([(53, 21), (56, 33)], INK, 1)
    c.circle(56, 36, 3.2, fill=RED, outline=INK, width=1)
    return c.image()


def kaban():
    """A spare school sports bag, as small in the hand as the school bag: its handle's top
    is at about (36, 7)."""
    c = Canvas(128, 128, ss=4)
    c.line([(25, 23), (31, 8), (41, 8), (47, 23)], INK, 5)
    c.line([(25, 23), (31, 8), (41, 8), (47, 23)], BLUE, 2.5)
    c.rect(12, 20, 60, 50, fill=("v", (90, 160, 255), BLUE), outline=INK, width=2, r=10)
    c.rect(17, 24, 55, 29, fill=(255, 255, 255, 80), r=3)
    c.rect(12, 33, 60, 38, fill=WHITE, outline=INK, width=1.2)
    mark = W.SPORTS_BAG_MARK
    c.text(36, 44, mark, fit_words(mark, 44, 9, stroke=1.2, min_px=9), WHITE, "bold", "mm",
           stroke=1.2, stroke_fill=INK)
    return c.image()


def kasa():
    """A closed umbrella, grip at about (36, 12), shaft toward the lower right; the item
    window turns it by 45 degrees so that it stands upright there."""
    c = Canvas(128, 128, ss=4)
    ox, oy = 36, 12
    d = (math.sqrt(0.5), math.sqrt(0.5))      # along the umbrella, grip to tip
    n = (math.sqrt(0.5), -math.sqrt(0.5))     # across it

    def P(a, b):
        return (ox + a * d[0] + b * n[0], oy + a * d[1] + b * n[1])

    canopy = (60, 150, 230)
    # crook handle curling back
    hook = [P(4, 0), P(-2, 0), P(-8, -3), P(-10, -9), P(-7, -14), P(-2, -15)]
    c.line(hook, INK, 6)
    c.line(hook, (170, 110, 60), 3.5)
    # shaft
    c.line([P(2, 0), P(20, 0)], INK, 4)
    c.line([P(2, 0), P(20, 0)], (200, 200, 210), 2)
    # folded canopy
    body = [P(16, -3), P(24, -8), P(40, -8.5), P(58, -5), P(66, -1.5), P(66, 1.5), P(58, 5),
            P(40, 8.5), P(24, 8), P(16, 3)]
    c.poly(body, fill=canopy, outline=INK, width=2)
    c.line([P(22, 0), P(62, 0)], shade(canopy, 0.75), 1.5)
    c.line([P(26, -5), P(56, -3)], (255, 255, 255, 120), 1.5)
    # strap and tip
    c.line([P(36, -9), P(38, 9)], INK, 3)
    c.line([P(36, -9), P(38, 9)], YELLOW, 1.5)
    c.line([P(66, 0), P(74, 0)], INK, 3)
    return c.image()


def tikoku():
    """The late stamp: a big red seal with 遅刻."""
    size = 512
    c = Canvas(size, size, ss=2)
    red = (214, 36, 52)
    cx = cy = 256
    c.circle(cx, cy, 238, outline=red, width=16)
    c.circle(cx, cy, 206, outline=red, width=5)
    # inside the inner ring (radius 206)
    c.text(cx, cy - 6, W.LATE, fit_words(W.LATE, 370, 168, "serif"), red, "serif", "mm")
    c.text(cx, cy - 150, W.LATE_TOP, fit_words(W.LATE_TOP, 250, 30, "serif"), red, "serif",
           "mm")
    c.text(cx, cy + 146, W.LATE_BOTTOM, fit_words(W.LATE_BOTTOM, 250, 30, "serif"), red, "serif",
           "mm")
    im = c.image()
    # rough ink: knock small holes out of the stamp, and tilt it a little
    rng = np.random.default_rng(67)
    a = np.asarray(im).copy()
    noise = rng.random((size, size))
    blotch = np.asarray(Image.fromarray((noise * 255).astype(np.uint8)).resize(
        (size // 8, size // 8)).resize((size, size), Image.BILINEAR)).astype(np.float32) / 255
    keep = np.where((noise > 0.93) | (blotch > 0.78), 0.35, 1.0)
    a[..., 3] = (a[..., 3] * keep * 0.94).astype(np.uint8)
    im = Image.fromarray(a, "RGBA").rotate(-8, resample=Image.BICUBIC, center=(256, 256))
    return im


def te():
    """A giant open hand reaching to the right from the left edge (the game mirrors it
    for the right side).  The hand stays left of x 430 so it is out of sight when
    drawn pulled back."""
    c = Canvas(512, 512, ss=2)
    skin = (255, 214, 182)
    pad = (255, 196, 176)
    crease = (226, 160, 136)
    cy = 200
    # sleeve and cuff
    c.poly([(0, cy - 66), (150, cy - 50), (150, cy + 50), (0, cy + 70)],
           fill=("v", (80, 96, 170), (50, 62, 130)), outline=INK, width=4)
    c.rect(138, cy - 60, 172, cy + 60, fill=WHITE, outline=INK, width=4, r=10)
    # fingers fan out to the right from the palm; thumb points up and out
    fingers = [(-52, -13, 112), (-18, -4, 128), (16, 5, 122), (48, 15, 100)]
    bones = []
    for off, ang, length in fingers:
        a = math.radians(ang)
        x0, y0 = 280, cy + off * 0.9
        bones.append(((x0, y0), (x0 + length * math.cos(a), y0 + length * math.sin(a)), 17))
    bones.append(((226, cy - 36), (300, cy - 118), 20))
    palm = (160, cy - 74, 320, cy + 80)
    # outlines first, then fills, so that hand and fingers make one shape
    for p0, p1, r in bones:
        c.line([p0, p1], INK, 2 * r + 8)
    c.ellipse(palm[0] - 4, palm[1] - 4, palm[2] + 4, palm[3] + 4, fill=INK)
    for p0, p1, r in bones:
        c.line([p0, p1], skin, 2 * r)
    c.ellipse(*palm, fill=skin)
    # finger pads and joint creases
    for p0, p1, r in bones:
        dx, dy = p1[0] - p0[0], p1[1] - p0[1]
        L = math.hypot(dx, dy)
        ux, uy = dx / L, dy / L
        tip = (p1[0] - ux * 9, p1[1] - uy * 9)
        c.circle(tip[0], tip[1], r * 0.62, fill=pad)
        for t in (0.45, 0.75):
            mx, my = p0[0] + dx * t + ux * (L * 0.0), p0[1] + dy * t
            if p0[0] < 250:  # thumb: one crease
                if t == 0.75:
                    continue
            c.line([(mx - uy * r * 0.55, my + ux * r * 0.55), (mx + uy * r * 0.55,
                                                              my - ux * r * 0.55)], crease, 3)
    # palm lines
    c.line([(206, cy - 10), (248, cy - 26), (296, cy - 34)], crease, 4)
    c.line([(196, cy + 26), (244, cy + 12), (300, cy + 8)], crease, 4)
    c.line([(230, cy + 64), (238, cy + 20), (262, cy - 20)], crease, 3)
    # speed streaks behind
    for k, y in enumerate((cy - 110, cy - 90, cy + 96, cy + 120)):
        c.line([(10 + 20 * k, y), (120 + 10 * k, y)], (255, 255, 255, 200), 6)
    return c.image()


def char1():
    """A spare portrait of the runner."""
    from front import schoolboy
    c = Canvas(256, 256, ss=3)
    c.circle(128, 128, 124, fill=("v", (140, 200, 250), (230, 246, 255)), outline=INK, width=4)
    schoolboy(c, 104, 34, 0.95)
    return c.image()


def effe():
    """Spare hit sparks, four cells of 128 x 128."""
    c = Canvas(512, 128, ss=3)
    for k in range(4):
        cx = 64 + 128 * k
        r = 16 + 10 * k
        c.poly(star_points(cx, 64, r + 14, r * 0.45, 8), fill=YELLOW, outline=INK, width=3)
        c.poly(star_points(cx, 64, r * 0.7, r * 0.3, 8, -67.5), fill=WHITE)
    return c.image()
