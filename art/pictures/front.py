"""Pictures of the screens around the run: logo, title, option, select, help."""

import math
import random

import words as W
from paint import (Canvas, INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, TEAL, BLUE,
                   PINK, GREY, SKY_TOP, SKY_LOW, rgba, mix, shade, fit_px, fit_words, wrap, font,
                   star_points, READABLE_PX, language)
from street import ink_box
import town


# ---------------------------------------------------------------------------
# shared: the town at morning, used behind the logo and the title menu
# ---------------------------------------------------------------------------

def morning_town(c, seed, road=True):
    rng = random.Random(seed)
    w, h = c.w, c.h
    town.sky(c, 0, 0, w, h, (96, 180, 244), (222, 243, 255))
    # sun glow, upper left
    for r, a in ((140, 40), (100, 60), (64, 110)):
        c.circle(70, 70, r, fill=(255, 244, 190, a))
    c.circle(70, 70, 40, fill=(255, 236, 150))
    c.circle(70, 70, 34, fill=(255, 246, 200))
    for cx, cy, s in ((250, 60, 0.8), (520, 110, 1.0), (400, 30, 0.55), (130, 190, 0.6)):
        town.cloud(c, cx, cy, s)
    town.hills(c, 0, w, 300, 50, (176, 214, 200), 420, 0.1)
    town.hills(c, 0, w, 322, 36, (150, 200, 170), 300, 0.55)
    town.town_row(c, -20, w + 40, 345, rng, 34, 52, far=True)
    for x in (40, 190, 330, 470, 600):
        town.tree(c, x + rng.randint(-10, 10), 362, rng.randint(46, 62), blossom=rng.random() < 0.6,
                  rng=rng)
    town.town_row(c, -30, w + 40, 380, rng, 46, 70)
    if road:
        c.rect(0, 378, w, 410, fill=(236, 222, 196), outline=INK, width=1.5)
        for x in range(0, w, 40):
            c.line([(x, 380), (x - 10, 408)], (214, 198, 170), 1.5)
        c.rect(0, 408, w, 414, fill=(200, 200, 196))
        c.rect(0, 414, w, h, fill=("v", (120, 124, 132), (96, 100, 110)))
        for x in range(0, w, 80):
            c.rect(x + 10, 446, x + 50, 451, fill=(245, 245, 240))
    # a utility pole with wires in front, left
    town.pole(c, 24, 150, 412)
    town.sag_wire(c, 0, 168, 700, 180, 30)
    town.sag_wire(c, 0, 164, 700, 150, 24)


# The title draws its menu panel, white at about half strength, over x 440..640 of the
# background.  The panel is cut from the white sheet of the fades, so it cannot fade in at its
# edge; instead a near utility pole stands with its right edge on x 440, and the panel's
# edge runs along the pole's outline.
PANEL_LEFT = 440


def near_pole(c, right):
    """A utility pole close by: from above the top to below the bottom of the screen, its
    right outline ending at `right`."""
    x0 = right - 18
    c.rect(x0, -10, right, 490, fill=("h", (214, 214, 208), (150, 150, 146)), outline=INK,
           width=2)
    c.rect(x0 + 4, -10, x0 + 7, 490, fill=(255, 255, 255, 90))
    # step bolts on the near side
    for y in (24, 64, 104):
        c.rect(x0 - 7, y, x0 + 1, y + 4, fill=(120, 120, 120), outline=INK, width=1)
    # the block's address plate, white on blue, read top to bottom
    c.rect(x0 + 3, 250, right - 3, 306, fill=BLUE, outline=INK, width=1.5, r=2)
    # (a longer name is set closer, within the same height; wider letters are made a little
    # smaller, so that they stay 2 px clear of the plate's sides)
    step = min(13, 39 / max(1, len(W.POLE_PLATE) - 1))
    px = min(fit_words(ch, (right - 3) - (x0 + 3) - 4, 11) for ch in W.POLE_PLATE)
    for k, ch in enumerate(W.POLE_PLATE):
        c.text(x0 + 9, 258 + step * k, ch, px, WHITE, "bold", "mm")
    # the yellow and black guard at its foot
    c.rect(x0 + 1, 416, right - 1, 490, fill=YELLOW)
    for k in range(6):
        y = 420 + 14 * k
        c.poly([(x0 + 1, y), (right - 1, y - 8), (right - 1, y - 1), (x0 + 1, y + 7)], fill=INK)
    c.rect(x0, 414, right, 490, outline=INK, width=2)


def ti_bg():
    c = Canvas(640, 480, ss=2)
    morning_town(c, 11)
    near_pole(c, PANEL_LEFT)
    return c.image()


def title_msk():
    c = Canvas(640, 480, ss=1, bg=WHITE)
    return c.image()


def sl_bg():
    """Backdrop of the character select: sunny stripes."""
    c = Canvas(640, 480, ss=2)
    c.rect(0, 0, 640, 480, fill=("v", (255, 236, 190), (255, 214, 160)))
    for i in range(-12, 24):
        x = i * 60
        c.poly([(x, 0), (x + 30, 0), (x + 30 - 300, 480), (x - 300, 480)], fill=(255, 255, 255, 70))
    for i in range(14):
        x = 22 + i * 46
        c.circle(x, 470, 26, fill=(255, 190, 130))
    return c.image()


# ---------------------------------------------------------------------------
# logo scene
# ---------------------------------------------------------------------------

def ti_mu():
    """The maker's mark shown on the white sheet, 512 x 128 at (85, 160): its
    middle (x 235) sits on the middle of the screen."""
    c = Canvas(512, 128, ss=4)
    # emblem: the sun rising over a road, inside a round badge
    cx, cy, R = 48, 64, 44
    c.circle(cx, cy, R, fill=(255, 236, 200), outline=INK, width=3)
    badge = c.layer()
    for i in range(12):
        a = math.radians(i * 30 + 15)
        badge.line([(cx + 19 * math.cos(a), cy - 4 + 19 * math.sin(a)),
                    (cx + 30 * math.cos(a), cy - 4 + 30 * math.sin(a))], ORANGE, 3.5)
    badge.circle(cx, cy - 4, 14, fill=ORANGE)
    badge.rect(cx - 60, cy + 11, cx + 60, cy + 60, fill=(110, 120, 140))
    badge.poly([(cx - 5, cy + 11), (cx + 5, cy + 11), (cx + 16, cy + 60), (cx - 16, cy + 60)],
               fill=(250, 250, 240))
    badge.clip_ellipse(cx - R + 2, cy - R + 2, cx + R - 2, cy + R - 2)
    c.composite(badge)
    c.circle(cx, cy, R, outline=INK, width=3)
    # name
    c.text(108, 58, W.STUDIO, fit_words(W.STUDIO, 360, 54), INK, "bold", "lm")
    c.rect(110, 88, 468, 91, fill=ORANGE)
    c.text(289, 107, W.STUDIO_SUB, fit_words(W.STUDIO_SUB, 358, 15), shade(INK, 1.3), "bold",
           "mm")
    return c.image()


def clock_title():
    """The title picture: an alarm clock between the words, 640 x 256.

    The clock hands are separate sprites pinned at (301, 110) of this picture,
    so the face carries no hands.  The bottom right stays clear for the menu."""
    c = Canvas(640, 256, ss=4)
    rng = random.Random(5)
    cx, cy, R = 301, 110, 92
    # speed streaks behind the words
    for y in (60, 78, 150, 168):
        c.line([(8, y), (70, y)], (255, 255, 255, 200), 3)
        c.line([(596, y + 8), (636, y + 8)], (255, 255, 255, 200), 3)
    # bells and hammer
    for sx in (-1, 1):
        bx, by = cx + sx * 64, cy - 77
        c.line([(cx + sx * 40, cy - 60), (bx, by + 8)], INK, 6)
        c.poly([(bx - 26, by + 14), (bx - 22, by - 6), (bx - 8, by - 18), (bx + 8, by - 18),
                (bx + 22, by - 6), (bx + 26, by + 14)], fill=YELLOW, outline=INK, width=3)
        c.circle(bx, by - 20, 5, fill=INK)
    c.line([(cx, cy - R - 2), (cx, cy - R - 9)], INK, 5)
    c.rect(cx - 14, cy - R - 16, cx + 14, cy - R - 8, fill=RED, outline=INK, width=2, r=3)
    # legs
    for sx in (-1, 1):
        c.poly([(cx + sx * 48, cy + 70), (cx + sx * 70, cy + 104), (cx + sx * 58, cy + 108),
                (cx + sx * 36, cy + 78)], fill=RED, outline=INK, width=3)
    # body
    c.circle(cx, cy, R + 6, fill=INK)
    c.circle(cx, cy, R + 2, fill=RED)
    c.circle(cx, cy, R - 8, fill=INK)
    c.circle(cx, cy, R - 10, fill=("v", (255, 255, 252), (252, 240, 214)))
    # ticks and numbers
    for i in range(60):
        a = math.radians(i * 6)
        r0 = R - 14 if i % 5 else R - 20
        c.line([(cx + r0 * math.sin(a), cy - r0 * math.cos(a)),
                (cx + (R - 12) * math.sin(a), cy - (R - 12) * math.cos(a))],
               INK, 1.2 if i % 5 else 3)
    for n in range(1, 13):
        a = math.radians(n * 30)
        r = R - 34
        c.text(cx + r * math.sin(a), cy - r * math.cos(a), str(n), 17, INK, "bold", "mm")
    c.circle(cx, cy, 6, fill=INK)
    # glass shine
    c.poly([(cx - 60, cy - 40), (cx - 30, cy - 70), (cx - 18, cy - 64), (cx - 50, cy - 30)],
           fill=(255, 255, 255, 110))
    # the words
    def word(x, y, s, col):
        # between the picture's edge and the clock's bells
        px = fit_words(s, 2 * min(x, 600 - x) - 6, 96, stroke=7)
        c.text(x + 5, y + 6, s, px, INK, "bold", "mm", stroke=7, stroke_fill=INK)
        c.text(x, y, s, px, col, "bold", "mm", stroke=7, stroke_fill=INK)
        c.text(x, y, s, px, col, "bold", "mm", stroke=3, stroke_fill=WHITE)
    word(104, 112, W.TITLE_LEFT, ORANGE)
    word(500, 112, W.TITLE_RIGHT, ORANGE)
    # band with the game's name under the clock
    c.rect(178, 212, 424, 244, fill=BLUE, outline=INK, width=3, r=12)
    c.text(301, 228, W.TITLE_BAND, fit_words(W.TITLE_BAND, 226, 22, stroke=2), WHITE, "bold", "mm", stroke=2, stroke_fill=INK)
    for x, y in ((166, 222), (436, 222)):
        c.poly(star_points(x, y, 11, 5), fill=YELLOW, outline=INK, width=2)
    return c.image()


def push_key():
    c = Canvas(280, 80, ss=4)
    c.rect(6, 16, 274, 66, fill=(45, 48, 71, 110), r=25)
    c.rect(4, 12, 272, 62, fill=WHITE, outline=INK, width=3, r=25)
    c.text(138, 37, W.PUSH_KEY, fit_words(W.PUSH_KEY, 240, 24, stroke=1.5), RED, "bold", "mm", stroke=1.5, stroke_fill=INK)
    return c.image()


def hari():
    """A clock hand, 3 x 80, pointing down from its pivot texel (1, 1)."""
    c = Canvas(3, 80, ss=8)
    c.rect(0, 0, 3, 74, fill=INK, r=1.2)
    c.poly([(0, 72), (3, 72), (1.5, 80)], fill=INK)
    return c.image()


# ---------------------------------------------------------------------------
# title scene
# ---------------------------------------------------------------------------

MENU_ROWS = [(0, 41), (41, 90), (90, 136)]


# The highlighted entries are drawn from x 445 stretched 1.5 times, so texel 127 + k lands on
# 445 + 1.5 k: the window's right edge (640) is texel 257.  The second entry's rectangle runs to
# 265, but its painting stops with the others.
SELECTED_RIGHT = 256


def title_icn():
    """Menu rows: plain at x 0..127, highlighted from 127 (drawn stretched 1.5 times)."""
    c = Canvas(265, 136, ss=4)
    for i, (t, b) in enumerate(MENU_ROWS):
        mid = (t + b) / 2
        label = W.MENU[i]
        px = fit_px(label, 112, 24)
        c.text(63.5, mid, label, px, INK, "bold", "mm", stroke=2.5, stroke_fill=WHITE)
        # the highlighted entry is drawn 1.5 times wider, so draw it squeezed
        x0, x1 = 129, SELECTED_RIGHT - 2
        c.rect(x0 + 1, t + 5, x1 + 1, b - 2, fill=(45, 48, 71, 120), r=9)
        c.rect(x0, t + 3, x1, b - 4, fill=("v", (255, 196, 90), ORANGE), outline=INK,
               width=2, r=9)
        c.rect(x0 + 4, t + 6, x1 - 4, t + 6 + (b - t) * 0.28, fill=(255, 255, 255, 90), r=6)
        c.poly([(x0 + 6, mid - 7), (x0 + 14, mid), (x0 + 6, mid + 7)], fill=WHITE,
               outline=INK, width=1.2)
        hpx = fit_px(label, (x1 - x0 - 22) * 1.5, 27)
        hy = mid - 0.5
        if language() == "en":
            # Latin capitals stand high on the line: their ink is centred on the plate, and
            # made smaller if it would come within 2 px of the plate's outline
            top, bottom = t + 3 + 4, b - 4 - 4
            while True:
                _, it, _, ib = ink_box(label, hpx, stroke=2.5)
                if ib - it <= bottom - top or hpx <= READABLE_PX:
                    break
                hpx -= 0.5
            hy = (top + bottom) / 2 - (it + ib) / 2
        c.text((x0 + 18 + x1) / 2, hy, label, hpx, WHITE, "bold", "mm", stroke=2.5,
               stroke_fill=INK, sx=1 / 1.5)
    return c.image()


CAPTION_LENGTHS = [530, 323, 270]
HINT_LEFT, HINT_RIGHT, HINT_BOTTOM = 540, 875, 20


def _arrow_cap(c, x, y, h):
    """A key cap holding the four arrows as a cross; returns its right edge."""
    w = h + 8
    c.rect(x, y + 2, x + w, y + h + 2, fill=shade(GREY, 0.8), r=5)
    c.rect(x, y, x + w, y + h, fill=CREAM, outline=INK, width=1.5, r=5)
    cx, cy, d, s = x + w / 2, y + h / 2, h * 0.27, h * 0.28
    for direction, dx, dy in (("left", -1.35, 0), ("right", 1.35, 0), ("up", 0, -1),
                              ("down", 0, 1)):
        town.arrow_glyph(c, cx + dx * d, cy + dy * d, direction, s)
    return x + w


def _key_row(c, x, mid, pairs, key_px, label_px, sx, gap, draw=True, cap_h=20, stroke=2,
             cap_pad=8):
    """A caption of keys centred on row `mid`: each key on a small cap (cap_pad wider than
    its name), what it does after it in white (outlined when `stroke`).  Returns the right
    edge."""
    y = mid - cap_h / 2 - 1
    for i, (key, what) in enumerate(pairs):
        if i:
            x += gap
        if key == W.ARROW_KEYS:
            w = cap_h + 8
            if draw:
                _arrow_cap(c, x, y, cap_h)
        else:
            kw, _ = c.text_size(key, key_px)
            w = max(cap_h - 4, kw + cap_pad)
            if draw:
                town.key_cap(c, x, y, key, px=key_px, w=w, h=cap_h, fill=CREAM)
        x += w + 3
        lw = c.text_size(what, label_px)[0] * sx
        if draw:
            c.text(x, mid, what, label_px, WHITE, "bold", "lm", stroke=stroke,
                   stroke_fill=INK if stroke else None, sx=sx)
        x += lw
    return x


def sc_moji():
    """Captions (rows 0..32, 32..64, 64..96), the band (rows 94..128, drawn from 96)
    and the fixed hint line (x 540..875, rows 0..25, drawn at y 460: only its rows
    0..20 are inside the window, so the hint is painted there)."""
    c = Canvas(875, 128, ss=4)
    for i, s in enumerate(W.CAPTIONS):
        top = 32 * i
        L = CAPTION_LENGTHS[i]
        if isinstance(s, list):
            # the largest words that fit, squeezed a little before they get smaller
            for label_px in range(17, 10, -1):
                for sx in (1.0, 0.92, 0.85):
                    if _key_row(c, 6, top + 16, s, 12, label_px, sx, 8, False) <= L - 6:
                        break
                else:
                    continue
                break
            _key_row(c, 6, top + 16, s, 12, label_px, sx, 8)
            continue
        px = fit_px(s, L - 14, 22)
        c.text(6, top + 16, s, px, WHITE, "bold", "lm", stroke=2, stroke_fill=INK)
    # the band behind the captions: opaque, so that the menu panel under it does not show
    c.rect(0, 96, 640, 128, fill=mix(INK, (110, 114, 122), 0.25))
    c.rect(0, 96, 640, 98, fill=ORANGE)
    c.rect(0, 126, 640, 128, fill=mix(INK, WHITE, 0.45))
    # fixed hint line: a tab standing on the window's bottom edge
    c.rect(HINT_LEFT, 0, HINT_RIGHT, HINT_BOTTOM + 8, fill=(45, 48, 71, 170), r=8)
    c.im.paste((0, 0, 0, 0), (HINT_LEFT * c.ss, HINT_BOTTOM * c.ss, HINT_RIGHT * c.ss, 32 * c.ss))
    _hint_line(c)
    return c.image()


# the title's own keys after the hint, on caps that fit the line's visible rows 0..20
HINT_CAP_H, HINT_KEY_PX, HINT_CAP_PAD = 16, 9, 10


def _hint_row(c, x, px, draw=True):
    """The hint, then a space and the title's other keys on caps; returns the right edge."""
    mid = HINT_BOTTOM / 2 + 0.5
    if draw:
        c.text(x, mid, W.CAPTION_HINT, px, WHITE, "bold", "lm")
    x += c.text_size(W.CAPTION_HINT, px)[0] + px
    return _key_row(c, x, mid, W.CAPTION_HINT_KEYS, HINT_KEY_PX, px, 1.0, px, draw,
                    cap_h=HINT_CAP_H, stroke=0, cap_pad=HINT_CAP_PAD)


def _hint_line(c):
    """The fixed hint line, centred in the tab and as large as fits (English never below
    the readable size)."""
    room = HINT_RIGHT - HINT_LEFT - 16
    px = 14
    while _hint_row(c, 0, px, False) > room:
        px -= 0.5
        if px < READABLE_PX:
            raise ValueError(f"{W.CAPTION_HINT!r} and its keys do not fit {room} px: "
                             f"shorten them")
    _hint_row(c, (HINT_LEFT + HINT_RIGHT - _hint_row(c, 0, px, False)) / 2, px)


def nowload():
    c = Canvas(256, 64, ss=4)
    # the dots and the shoe after the words end by x 250
    px = fit_words(W.NOW_LOADING, 128, 30)
    c.text(12, 32, W.NOW_LOADING, px, INK, "bold", "lm")
    x = 12 + c.text_size(W.NOW_LOADING, px)[0] + 10
    for i in range(3):
        c.circle(x + i * 16, 40, 4.5, fill=[ORANGE, YELLOW, GREEN][i], outline=INK, width=1.5)
    # a small running shoe at the end
    sx = x + 56
    c.poly([(sx, 44), (sx + 4, 26), (sx + 16, 26), (sx + 22, 36), (sx + 38, 38), (sx + 40, 46),
            (sx, 46)], fill=RED, outline=INK, width=2)
    c.rect(sx - 1, 45, sx + 41, 50, fill=WHITE, outline=INK, width=1.5)
    for k in range(3):
        c.line([(sx - 8 - k * 2, 30 + k * 6), (sx - 18 - k * 4, 30 + k * 6)], INK, 1.5)
    return c.image()


# ---------------------------------------------------------------------------
# option scene: screen at the left, gauge strip at x 682..1024, rows 0..24
# ---------------------------------------------------------------------------

def option():
    c = Canvas(1024, 480, ss=2)
    c.rect(0, 0, 640, 480, fill=("v", (214, 238, 255), (255, 246, 226)))
    for i in range(0, 640, 32):
        c.rect(i, 0, i + 16, 480, fill=(255, 255, 255, 50))
    c.rect(0, 0, 640, 64, fill=BLUE)
    c.rect(0, 64, 640, 68, fill=INK)
    c.text(320, 34, W.OPTION_TITLE, fit_words(W.OPTION_TITLE, 560, 34, stroke=3), WHITE, "bold", "mm", stroke=3, stroke_fill=INK)
    # panel with the gauge row
    c.rect(28, 92, 612, 180, fill=WHITE, outline=INK, width=3, r=14)
    c.text(86, 136, W.OPTION_GAUGE, fit_words(W.OPTION_GAUGE, 100, 24), INK, "bold", "mm")
    c.rect(146, 118, 500, 154, fill=INK, r=8)
    c.rect(150, 122, 496, 150, fill=(80, 84, 110), r=5)
    for k in range(1, 6):
        x = 152 + k * 342 / 6
        c.line([(x, 156), (x, 164)], INK, 2)
    c.text(152, 172, "－", 12, INK, "bold", "mm")
    c.text(494, 172, "＋", 12, INK, "bold", "mm")
    c.rect(512, 120, 598, 152, fill=CREAM, outline=INK, width=2, r=8)
    c.text(555, 136, "←  →", 18, INK, "bold", "mm")
    # key rows
    c.rect(28, 200, 612, 400, fill=WHITE, outline=INK, width=3, r=14)
    for i, (key, what) in enumerate(W.OPTION_ROWS):
        y = 222 + i * 44
        town.key_cap(c, 56, y, key, px=15, w=70, h=28)
        c.text(150, y + 14, what, fit_words(what, 440, 20), INK, "bold", "lm")
        if i < 3:
            c.line([(56, y + 38), (584, y + 38)], (220, 226, 236), 1.5)
    c.text(320, 440, W.OPTION_NOTE, fit_words(W.OPTION_NOTE, 580, 15), shade(INK, 1.4), "bold", "mm")
    # the gauge strip itself: 342 x 24 at (682, 0)
    gx0, gx1 = 682, 1024
    c.rect(gx0, 0, gx1, 24, fill=("h", (120, 220, 120), YELLOW, ORANGE, RED))
    c.rect(gx0, 2, gx1, 8, fill=(255, 255, 255, 110))
    for k in range(1, 19):
        x = gx0 + k * 19
        c.line([(x, 0), (x, 24)], (255, 255, 255, 140), 1.5)
    c.rect(gx0, 21, gx1, 24, fill=(0, 0, 0, 50))
    return c.image()


# ---------------------------------------------------------------------------
# character select (complete, though no menu leads there)
# ---------------------------------------------------------------------------

def schoolboy(c, x, y, s=1.0, run=True):
    """A simple cartoon of the runner for portraits: (x, y) is the top of the head."""
    def P(px, py):
        return (x + px * s, y + py * s)

    def poly(points, fill, w=3):
        c.poly([P(a, b) for a, b in points], fill=fill, outline=INK, width=w * s)

    uni = (40, 52, 92)
    skin = (255, 220, 190)
    # back arm and leg
    poly([(6, 92), (-30, 118), (-24, 130), (14, 108)], shade(uni, 0.8))
    poly([(12, 150), (-24, 196), (-12, 204), (28, 160)], shade(uni, 0.8))
    c.ellipse(*P(-44, 196), *P(-6, 212), fill=RED, outline=INK, width=3 * s)
    # body
    poly([(-8, 76), (38, 76), (46, 154), (-10, 154)], uni)
    for k in range(4):
        c.circle(*P(16, 90 + k * 16), 2.5 * s, fill=YELLOW)
    poly([(6, 74), (24, 74), (15, 86)], WHITE, 2)
    # front leg
    poly([(20, 150), (60, 184), (52, 196), (8, 162)], uni)
    c.ellipse(*P(46, 184), *P(84, 202), fill=RED, outline=INK, width=3 * s)
    # front arm with bag
    poly([(30, 90), (66, 70), (72, 82), (36, 104)], uni)
    c.circle(*P(72, 74), 8 * s, fill=skin, outline=INK, width=2.5 * s)
    # head
    c.circle(*P(16, 40), 36 * s, fill=skin, outline=INK, width=3 * s)
    poly([(-22, 38), (-18, 8), (6, -6), (40, -2), (54, 20), (52, 34), (36, 18), (10, 22),
          (-6, 40)], (50, 40, 40))
    c.ellipse(*P(26, 36), *P(34, 48), fill=INK)
    c.ellipse(*P(42, 36), *P(50, 48), fill=INK)
    c.line([P(30, 58), P(36, 62), P(44, 58)], INK, 2.5 * s)
    c.circle(*P(24, 56), 5 * s, fill=(255, 170, 170, 160))
    # sweat drop of a late boy: pointed at the top, round below
    drop = []
    r = 8
    for k in range(48):
        t = 2 * math.pi * k / 48
        # a teardrop with its tip up at t = 0: the sides curve in toward the tip
        drop.append(P(-28 + r * math.sin(t) * math.sin(t / 2) ** 2, 9 + r * (1 - math.cos(t))))
    c.poly(drop, fill=(150, 210, 255), outline=INK, width=2 * s)
    c.ellipse(*P(-32.5, 16), *P(-29, 22), fill=(255, 255, 255, 210))


def charaselect():
    c = Canvas(640, 480, ss=2)
    c.paste(sl_bg(), 0, 0)
    c.rect(0, 0, 640, 58, fill=RED)
    c.rect(0, 58, 640, 62, fill=INK)
    c.text(320, 30, W.SELECT_TITLE, fit_words(W.SELECT_TITLE, 560, 30, stroke=3), WHITE, "bold", "mm", stroke=3, stroke_fill=INK)
    # portrait card
    c.rect(44, 90, 300, 400, fill=WHITE, outline=INK, width=3, r=16)
    c.rect(56, 102, 288, 330, fill=("v", (140, 200, 250), (220, 242, 255)), r=10)
    town.cloud(c, 120, 140, 0.45)
    schoolboy(c, 136, 118, 0.95)
    c.rect(56, 340, 288, 390, fill=YELLOW, outline=INK, width=2.5, r=10)
    c.text(172, 365, W.SELECT_NAME, fit_words(W.SELECT_NAME, 216, 24), INK, "bold", "mm")
    # description
    c.rect(330, 90, 610, 320, fill=WHITE, outline=INK, width=3, r=16)
    # 20 px or more clear of the box's sides
    c.text(470, 122, W.SELECT_ROLE, fit_words(W.SELECT_ROLE, 234, 17), RED, "bold", "mm")
    c.line([(350, 144), (590, 144)], ORANGE, 2)
    for i, s in enumerate(W.SELECT_LINES):
        c.text(352, 172 + i * 36, s, fit_words(s, 244, 19), INK, "bold", "lm")
    for i, (k, what) in enumerate(W.SELECT_KEYS):
        y = 346 + i * 42
        town.key_cap(c, 340, y, k, px=15, w=74, h=28)
        c.text(428, y + 14, what, fit_words(what, 176, 19, stroke=2), INK, "bold", "lm",
               stroke=2, stroke_fill=WHITE)
    return c.image()


# ---------------------------------------------------------------------------
# help: seven pages of 361 x 477 on a stride of 370
# ---------------------------------------------------------------------------

PAGE_W, PAGE_H, PAGE_STRIDE = 361, 477, 370


def help_page(k):
    title, blocks = W.HELP_PAGES[k]
    c = Canvas(PAGE_W, PAGE_H, ss=3)
    accent = [ORANGE, BLUE, TEAL, RED, GREEN, (156, 100, 220), (240, 120, 160)][k]
    c.rect(3, 4, PAGE_W - 1, PAGE_H - 1, fill=(45, 48, 71, 90), r=16)
    c.rect(1, 1, PAGE_W - 3, PAGE_H - 3, fill=CREAM, outline=INK, width=2.5, r=16)
    # ruled lines of a note book
    for y in range(84, PAGE_H - 44, 24):
        c.line([(16, y), (PAGE_W - 18, y)], (232, 220, 196), 1)
    # header
    c.rect(1, 1, PAGE_W - 3, 58, fill=accent, outline=INK, width=2.5, r=16)
    c.rect(3, 40, PAGE_W - 5, 57, fill=accent)
    c.line([(2, 58), (PAGE_W - 3, 58)], INK, 2.5)
    c.text(18, 30, title, fit_px(title, 250, 26), WHITE, "bold", "lm", stroke=2.5,
           stroke_fill=INK)
    c.rect(PAGE_W - 72, 16, PAGE_W - 16, 44, fill=WHITE, outline=INK, width=2, r=12)
    c.text(PAGE_W - 44, 30, f"{k + 1} / 7", 15, INK, "bold", "mm")
    y = 76
    body_w = PAGE_W - 44
    for kind, data in blocks:
        if kind == "p":
            for line in wrap(data, 16, body_w, "bold"):
                c.text(22, y, line, 16, INK, "bold", "lt")
                y += 24
            y += 8
        elif kind == "keys":
            for key, what in data:
                kpx = 14 if len(key) < 6 else 12
                wide = any(ord(ch) > 127 for ch in key) and len(key) > 3
                kw = 96 if wide or c.text_size(key, kpx)[0] > 58 else 70
                town.key_cap(c, 22, y, key, px=kpx, w=kw, h=24)
                # ends with the ruled lines, 18 px inside the page's edge
                c.text(22 + kw + 12, y + 12, what, fit_words(what, PAGE_W - 52 - kw, 16), INK,
                       "bold", "lm")
                y += 32
            y += 4
        elif kind == "times":
            for left, right in data:
                c.rect(22, y, 112, y + 28, fill=accent, outline=INK, width=2, r=8)
                c.text(67, y + 14, left, fit_words(left, 84, 16, stroke=1.5), WHITE, "bold",
                       "mm", stroke=1.5, stroke_fill=INK)
                c.text(124, y + 14, right, fit_words(right, PAGE_W - 146, 16), INK, "bold", "lm")
                y += 36
            y += 6
        elif kind == "note":
            lines = wrap(data, 15, body_w - 40, "bold")
            hgt = 16 + 22 * len(lines)
            c.rect(18, y, PAGE_W - 20, y + hgt, fill=WHITE, outline=accent, width=2.5, r=10)
            c.circle(36, y + 19, 10, fill=YELLOW, outline=INK, width=1.5)
            c.text(36, y + 19, "!", 14, INK, "bold", "mm")
            for i, line in enumerate(lines):
                c.text(54, y + 9 + 22 * i, line, 15, INK, "bold", "lt")
            y += hgt + 10
    assert y < PAGE_H - 48, (k, y)
    # the last page's start button stands at PAGE_H - 84 (y is 10 past the last block)
    assert k < 6 or y - 10 <= PAGE_H - 84, (k, y)
    # footer with the keys of the book
    c.line([(14, PAGE_H - 40), (PAGE_W - 16, PAGE_H - 40)], accent, 2)
    c.text(PAGE_W / 2, PAGE_H - 22, W.HELP_FOOTER, fit_px(W.HELP_FOOTER, PAGE_W - 24, 12),
           shade(INK, 1.2), "bold", "mm")
    if k == 6:
        c.rect(PAGE_W - 150, PAGE_H - 84, PAGE_W - 18, PAGE_H - 50, fill=RED, outline=INK,
               width=2, r=12)
        c.text(PAGE_W - 84, PAGE_H - 67, W.HELP_START, fit_words(W.HELP_START, 124, 14,
                                                                 stroke=1.5), WHITE, "bold", "mm",
               stroke=1.5, stroke_fill=INK)
    return c.image()


def help_book():
    from paint import blank
    out = blank(PAGE_STRIDE * 6 + PAGE_W, PAGE_H)
    for k in range(7):
        out.paste(help_page(k), (PAGE_STRIDE * k, 0))
    return out
