"""On-screen displays of the run: digits, gauge, item window, clock frame,
station board, minimap and the count-in."""

import math

import words as W
from paint import (Canvas, INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, TEAL, BLUE,
                   GREY, rgba, mix, shade, fit_px, fit_words, fit_readable, font, star_points)
import town


# ---------------------------------------------------------------------------
# digit strips: digit d in the cell x 15d+2 .. 15d+17, rows 0..32; colon at 155..170
# ---------------------------------------------------------------------------

def _digit_strip(fill, stroke_fill, stroke=2.2, colon=True, cell=15, first=2, height=32,
                 glyph_h=27.0, ss=6):
    width = 170 if colon else first + 10 * cell
    c = Canvas(width, height, ss=ss)
    # one size for all digits: the tallest glyph fills glyph_h, the widest cell - 2
    probe = 100
    hs = [c.text_size(str(d), probe, "bold", stroke * probe / glyph_h) for d in range(10)]
    max_w = max(h[0] for h in hs)
    max_h = max(h[1] for h in hs)
    px = probe * glyph_h / max_h
    st = stroke
    sx = min(1.0, (cell - 1.5) / (max_w * px / probe))
    for d in range(10):
        cx = first + cell * d + cell / 2
        c.text(cx, height / 2, str(d), px, fill, "bold", "mm", stroke=st,
               stroke_fill=stroke_fill, sx=sx)
    if colon:
        cx = 162.5
        for cy in (height * 0.35, height * 0.7):
            r = 2.6 * height / 32
            if stroke_fill:
                c.circle(cx, cy, r + st, fill=stroke_fill)
            c.circle(cx, cy, r, fill=fill)
    return c.image()


def suuji2():
    """Clock digits before the deadline."""
    return _digit_strip(INK, WHITE)


def suuji():
    """Clock digits after the deadline: red."""
    return _digit_strip(RED, WHITE)


def suuji3():
    """Result screen digits (on pale panels)."""
    return _digit_strip(INK, (255, 236, 170))


def suuzi():
    """A spare bright digit strip."""
    return _digit_strip(YELLOW, INK)


def suuji_s():
    """Small digits, 10 x 16 cells."""
    c = Canvas(110, 16, ss=6)
    for d in range(10):
        c.text(10 * d + 5, 8, str(d), 14, WHITE, "bold", "mm", stroke=1.5, stroke_fill=INK,
               sx=0.8)
    c.text(105, 8, ":", 13, WHITE, "bold", "mm", stroke=1.5, stroke_fill=INK)
    return c.image()


# ---------------------------------------------------------------------------
# count-in: "よーい" in (0, 0, 200, 50), "ドン！" in (0, 50, 120, 100)
# ---------------------------------------------------------------------------

def _word(w, h, cx, s, px, col):
    c = Canvas(w, h, ss=4)
    px = fit_px(s, w - 14, px)
    # centred on cx: the English words must fit on both sides of it
    px = fit_words(s, 2 * min(cx, w - cx) - 6, px, stroke=5)
    c.text(cx + 2.5, h / 2 + 2.5, s, px, INK, "bold", "mm", stroke=5, stroke_fill=INK)
    c.text(cx, h / 2, s, px, col, "bold", "mm", stroke=5, stroke_fill=INK)
    c.text(cx, h / 2, s, px, col, "bold", "mm", stroke=2, stroke_fill=WHITE)
    return c.image()


def ready():
    from paint import blank
    out = blank(200, 100)
    # drawn at x 250 and 270: the words sit on the screen's middle (x 320)
    out.paste(_word(200, 50, 70, W.READY, 38, YELLOW), (0, 0))
    out.paste(_word(120, 50, 58, W.GO, 38, RED), (0, 50))
    return out


# ---------------------------------------------------------------------------
# power gauge
#   frame (0,0,202,56) at (2,2); back plate (0,56,191,86) at (8,22), faint;
#   bar (0,86,w,116); full bar (0,116,w,146) / (0,146,w,176) flashing;
#   used plate (0,176,202,236) at (5,18)
# ---------------------------------------------------------------------------

def _bar(c, top, colours, gloss=True):
    c.rect(0, top + 1, 192, top + 29, fill=("h",) + tuple(colours), r=3)
    if gloss:
        c.rect(2, top + 4, 190, top + 11, fill=(255, 255, 255, 120), r=3)
    c.rect(0, top + 24, 192, top + 29, fill=(0, 0, 0, 40))
    for k in range(1, 8):
        x = k * 24
        c.line([(x, top + 2), (x, top + 28)], (255, 255, 255, 90), 1.2)


def st_meta():
    c = Canvas(202, 236, ss=4)
    # frame: the bar shows through its dark slot at (6..198, 20..50)
    c.rect(1, 1, 201, 55, fill=(45, 48, 71, 215), outline=WHITE, width=2.5, r=10)
    c.rect(0, 0, 202, 56, outline=INK, width=1.5, r=11)
    c.rect(5, 19, 198, 51, fill=(20, 22, 36), r=4)
    # the label ends before the stars at x 55
    c.text(10, 10.5, W.GAUGE_LABEL, fit_words(W.GAUGE_LABEL, 43, 13), YELLOW, "bold", "lm")
    for k in range(5):
        c.poly(star_points(60 + k * 12, 10.5, 4.5, 2), fill=(255, 210, 63, 120 + 27 * k))
    # back plate (drawn faint)
    c.rect(0, 57, 191, 85, fill=WHITE, r=3)
    # the growing bar: green to orange as it fills
    _bar(c, 86, [(120, 220, 110), YELLOW, ORANGE])
    # full bar, two looks that alternate every 25 frames
    _bar(c, 116, [(255, 250, 180), YELLOW, (255, 240, 120)])
    c.text(96, 131, W.GAUGE_FULL, fit_words(W.GAUGE_FULL, 184, 16, stroke=2), RED, "bold", "mm", stroke=2, stroke_fill=WHITE)
    _bar(c, 146, [ORANGE, RED, ORANGE])
    c.text(96, 161, W.GAUGE_FULL, fit_words(W.GAUGE_FULL, 184, 16, stroke=2), WHITE, "bold", "mm", stroke=2, stroke_fill=INK)
    # used plate, covers the frame after the special move
    c.rect(1, 178, 201, 234, fill=(200, 204, 214), outline=INK, width=2, r=10)
    c.rect(6, 183, 196, 229, outline=WHITE, width=1.5, r=7)
    c.text(101, 206, W.GAUGE_USED, fit_px(W.GAUGE_USED, 180, 17), (110, 116, 130), "bold",
           "mm", stroke=1.5, stroke_fill=WHITE)
    return c.image()


# ---------------------------------------------------------------------------
# item window: frame (0,0,105,110) and back plate (107,-3,216,110); the plate's
# three rows above the picture are read from the bottom rows (125..128)
# ---------------------------------------------------------------------------

def item_win():
    c = Canvas(216, 128, ss=4)
    c.rect(2, 2, 103, 108, outline=INK, width=7, r=12)
    c.rect(3.5, 3.5, 101.5, 106.5, outline=WHITE, width=4, r=11)
    c.rect(8, 8, 97, 102, outline=INK, width=1.2, r=8)
    # label on the bottom edge: the items reach up to the top of the window
    c.rect(22, 92, 84, 109, fill=TEAL, outline=INK, width=1.5, r=7)
    c.text(53, 100.5, W.ITEM_LABEL, fit_words(W.ITEM_LABEL, 58, 11, stroke=1.2), WHITE, "bold", "mm", stroke=1.2, stroke_fill=INK)
    # plain white back plate (drawn faint); also the rows the top edge wraps to
    c.rect(107, 0, 216, 110, fill=WHITE)
    c.rect(107, 125, 216, 128, fill=WHITE)
    return c.image()


# ---------------------------------------------------------------------------
# clock: frame (0,0,128,64) at (495,0) over a faint plate (0,0,110,48) at (500,5);
# digits at x 525..585 (frame x 30..90), y 20..52
# ---------------------------------------------------------------------------

def waku():
    c = Canvas(128, 64, ss=4)
    c.rect(2, 2, 126, 62, outline=INK, width=6, r=12)
    c.rect(3.5, 3.5, 124.5, 60.5, outline=(255, 236, 170), width=3, r=11)
    c.rect(7, 7, 121, 57, outline=INK, width=1.2, r=8)
    c.rect(8, 1, 48, 17, fill=RED, outline=INK, width=1.5, r=7)
    c.text(28, 9, W.CLOCK_LABEL, fit_words(W.CLOCK_LABEL, 36, 11, stroke=1.2), WHITE, "bold", "mm", stroke=1.2, stroke_fill=INK)
    # a small alarm clock before the digits
    cx, cy = 18, 37
    c.circle(cx - 6, cy - 9, 4, fill=YELLOW, outline=INK, width=1.2)
    c.circle(cx + 6, cy - 9, 4, fill=YELLOW, outline=INK, width=1.2)
    c.circle(cx, cy, 9, fill=WHITE, outline=INK, width=1.8)
    c.line([(cx, cy), (cx, cy - 6)], INK, 1.5)
    c.line([(cx, cy), (cx + 4, cy + 2)], INK, 1.5)
    return c.image()


def siro():
    c = Canvas(110, 48, ss=4)
    c.rect(0, 0, 110, 48, fill=WHITE, r=10)
    return c.image()


# ---------------------------------------------------------------------------
# station board: board (0,0,160,100) at (477,55); lines of 130 x 17 at
# x 162..292, rows 20n+1 .. 20n+18 (n = 0..6); x 292..304 stays empty
# ---------------------------------------------------------------------------

BOARD_TEXT_W = 132   # the station's name and "departures": 6 px clear of the band's ends
LINE_TEXT_W = 126    # a line of 130 from x 164: clear of the cell's end, never below 10 px


def denko():
    c = Canvas(304, 139, ss=4)
    # hangers over the clock frame, then the board
    for x in (30, 130):
        c.rect(x - 2, 0, x + 2, 10, fill=(150, 150, 160), outline=INK, width=1)
    c.rect(1, 8, 159, 99, fill=(40, 42, 52), outline=INK, width=2, r=7)
    c.rect(3, 10, 157, 97, outline=(110, 114, 130), width=1.2, r=6)
    # the two line windows: (10..140, 11..28) and (10..152, 46..63)
    c.rect(8, 10, 144, 30, fill=(14, 14, 20), r=3)
    c.rect(8, 44, 155, 65, fill=(14, 14, 20), r=3)
    c.text(12, 37, W.BOARD_NEXT, fit_words(W.BOARD_NEXT, 24, 9, min_px=8), (170, 176, 190), "bold", "lm")
    c.line([(34, 37), (150, 37)], (90, 94, 110), 1)
    c.rect(8, 72, 152, 94, fill=(30, 90, 170), r=4)
    board = W.STATION_NAME + W.BOARD_SEP + W.BOARD_TITLE
    c.text(80, 83, board, fit_words(board, BOARD_TEXT_W, 12), WHITE, "bold", "mm")
    for n, s in enumerate(W.BOARD_LINES):
        top = 20 * n + 1
        px = fit_readable(s, LINE_TEXT_W, 14)
        col = (255, 176, 40) if n < 5 else (255, 90, 80)
        c.text(164, top + 8.5, s, px, col, "bold", "lm")
    return c.image()


# ---------------------------------------------------------------------------
# minimap (0,0,640,64) at (O.x, O.y-85); marker (0,0,640,64) at
# (O.x + distance*560/32300 + 25, O.y - 75): its icon sits at x 0..30
# ---------------------------------------------------------------------------

MAP_ROAD_Y = 46


def minimap():
    c = Canvas(640, 64, ss=4)
    c.rect(1, 3, 639, 61, fill=("v", (220, 242, 255), (255, 250, 232)), outline=INK, width=2.5,
           r=14)
    # road from the start (x 40) to the goal (x 600)
    c.rect(34, MAP_ROAD_Y - 4, 606, MAP_ROAD_Y + 4, fill=(130, 134, 146), outline=INK,
           width=1.2, r=4)
    for x in range(48, 600, 24):
        c.line([(x, MAP_ROAD_Y), (x + 10, MAP_ROAD_Y)], WHITE, 1.5)
    for k in range(1, 4):
        x = 40 + 560 * k / 4
        c.rect(x - 1.5, MAP_ROAD_Y - 12, x + 1.5, MAP_ROAD_Y - 4, fill=INK)
    # start: a house; goal: a flag
    c.poly([(12, 34), (26, 22), (40, 34)], fill=RED, outline=INK, width=1.5)
    c.rect(15, 34, 37, 50, fill=CREAM, outline=INK, width=1.5)
    c.text(40, 14, W.MAP_START, fit_words(W.MAP_START, 60, 11), INK, "bold", "mm")
    c.line([(612, 50), (612, 16)], INK, 2)
    c.poly([(613, 16), (634, 22), (613, 29)], fill=YELLOW, outline=INK, width=1.5)
    c.text(590, 14, W.MAP_GOAL, fit_words(W.MAP_GOAL, 40, 11), INK, "bold", "mm")
    return c.image()


def minicha():
    c = Canvas(640, 64, ss=4)
    cx = 15
    # pin with the runner's face, its tip on the map's road
    c.poly([(cx - 7, 24), (cx + 7, 24), (cx, 36)], fill=RED, outline=INK, width=1.5)
    c.circle(cx, 16, 13, fill=RED, outline=INK, width=1.8)
    c.circle(cx, 16, 9.5, fill=(255, 220, 190))
    c.poly([(cx - 10, 14), (cx - 8, 6), (cx, 3), (cx + 8, 5), (cx + 10, 12), (cx + 3, 9),
            (cx - 4, 11)], fill=(50, 40, 40))
    c.circle(cx - 3, 17, 1.4, fill=INK)
    c.circle(cx + 3.5, 17, 1.4, fill=INK)
    c.line([(cx - 2, 21), (cx + 2, 21)], INK, 1)
    # everything right of the pin stays transparent
    return c.image()
