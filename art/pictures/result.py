"""Result screens: after leg 1 (with the train caught), after leg 2, and the end picture.

The digits are separate sprites (suuji3.png, 15 x 32 each) drawn by the game at
fixed places; these pictures carry the labels, the units and pale boxes under
the digits."""

import random

import words as W
from paint import (Canvas, INK, WHITE, CREAM, RED, ORANGE, YELLOW, GREEN, TEAL, BLUE, PINK,
                   GREY, rgba, mix, shade, fit_px, fit_words, language, star_points)
import town

BOX = (255, 236, 170)


def _digit_box(c, x0, x1, y):
    c.rect(x0 - 4, y - 1, x1 + 4, y + 33, fill=BOX, outline=shade(BOX, 0.8), width=1.5, r=6)


def _row(c, y, label, accent, big=False):
    c.rect(28, y - 9, 612, y + 41, fill=WHITE, outline=INK, width=2.5, r=12)
    c.rect(28, y - 9, 44, y + 41, fill=accent, r=12)
    c.rect(36, y - 9, 44, y + 41, fill=accent)
    c.line([(44, y - 8), (44, y + 40)], INK, 2)
    # the label ends before the first digit box (x 261)
    c.text(60, y + 16, label, fit_words(label, 196, 26 if big else 22), INK, "bold", "lm")


def _unit(c, x, y, s, px=22, after=None):
    """A unit centred on x; the English units, longer, start at `after` (the right edge of
    the digit box before them) instead.  An empty unit (the English train's time, whose
    label ends in "the") draws nothing."""
    if not s:
        return
    if language() == "en" and after is not None:
        c.text(after + 10, y + 17, s, fit_words(s, 80, px * 0.8), INK, "bold", "lm")
        return
    c.text(x, y + 17, s, px, INK, "bold", "mm")


def _page(title, accent, seed):
    c = Canvas(640, 480, ss=2)
    rng = random.Random(seed)
    c.rect(0, 0, 640, 480, fill=("v", (255, 251, 240), (255, 238, 210)))
    for i in range(-10, 30):
        x = i * 48
        c.poly([(x, 48), (x + 20, 48), (x + 20 - 430, 480), (x - 430, 480)],
               fill=(255, 255, 255, 90))
    for _ in range(18):
        x, y = rng.uniform(10, 630), rng.uniform(60, 460)
        c.poly([(x, y - 4), (x + 4, y), (x, y + 4), (x - 4, y)], fill=(255, 200, 120, 110))
    c.rect(0, 0, 640, 38, fill=accent)
    c.rect(0, 38, 640, 41, fill=INK)
    c.text(320, 19, title, fit_words(title, 560, 24, stroke=3), WHITE, "bold", "mm", stroke=3,
           stroke_fill=INK)
    return c


def _common_rows(c, accent, score_label):
    # time used: minutes at 265..295, seconds at 355..385, y 130
    _row(c, 130, W.RESULT_TIME, accent)
    _digit_box(c, 265, 295, 130)
    _unit(c, 325, 130, W.UNIT_MIN, after=299)
    _digit_box(c, 355, 385, 130)
    _unit(c, 410, 130, W.UNIT_SEC, after=389)
    # passers-by knocked away: 4 digits at 320..380, y 208
    _row(c, 208, W.RESULT_COUNT, accent)
    _digit_box(c, 320, 380, 208)
    _unit(c, 405, 208, W.UNIT_PEOPLE, after=384)
    c.text(320, 283, W.RESULT_FORMULA, fit_words(W.RESULT_FORMULA, 580, 14), shade(INK, 1.3), "bold", "mm")
    # score: 6 digits at 310..400, y 325
    c.rect(24, 312, 616, 370, fill=YELLOW, outline=INK, width=3, r=14)
    c.text(60, 341, score_label, fit_words(score_label, 190, 28, stroke=2), INK, "bold", "lm", stroke=2, stroke_fill=WHITE)
    c.rect(302, 320, 408, 362, fill=WHITE, outline=INK, width=2, r=8)
    _unit(c, 428, 325, W.UNIT_POINTS, 26, after=408)
    for x in (258, 520, 560):
        c.poly([(x, 330), (x + 4, 338), (x + 12, 341), (x + 4, 344), (x, 352), (x - 4, 344),
                (x - 12, 341), (x - 4, 338)], fill=WHITE, outline=INK, width=1.2)


def jikoku_g():
    """Leg 1 arrived: train caught, time used, knocked away, score; a train runs below."""
    c = _page(W.RESULT_LEG1, RED, 1)
    # train caught: hours digit at 265, minutes at 355..385, y 60
    _row(c, 60, W.RESULT_TRAIN, RED)
    _digit_box(c, 265, 280, 60)
    _unit(c, 317, 60, W.UNIT_HOUR)
    _digit_box(c, 355, 385, 60)
    _unit(c, 425, 60, W.UNIT_DEPARTS, after=389)
    _common_rows(c, RED, W.RESULT_SCORE)
    c.text(40, 398, W.RESULT_NEXT_LEG1, fit_words(W.RESULT_NEXT_LEG1, 560, 20, stroke=2), RED, "bold", "lm", stroke=2, stroke_fill=WHITE)
    # rails under the passing train
    c.rect(0, 468, 640, 480, fill=(170, 160, 150))
    c.rect(0, 470, 640, 473, fill=(110, 110, 120))
    c.rect(0, 476, 640, 479, fill=(110, 110, 120))
    return c.image()


def bb():
    """Leg 2 arrived: the leg-1 score, time used, knocked away, total score."""
    c = _page(W.RESULT_LEG2, BLUE, 2)
    # previous total: 6 digits at 285..375, y 60
    _row(c, 60, W.RESULT_PREVIOUS, BLUE)
    _digit_box(c, 285, 375, 60)
    _unit(c, 400, 60, W.UNIT_POINTS, after=379)
    _common_rows(c, BLUE, W.RESULT_TOTAL)
    c.text(40, 398, W.RESULT_NEXT_LEG2, fit_words(W.RESULT_NEXT_LEG2, 560, 20, stroke=2), BLUE, "bold", "lm", stroke=2, stroke_fill=WHITE)
    # cherry blossoms along the bottom
    rng = random.Random(22)
    for x in range(-20, 680, 64):
        town.tree(c, x + rng.randint(-8, 8), 500, 72, blossom=True, rng=rng)
    return c.image()


def the_end():
    """The end of every run, reached school or late.  Drawn at (115, 200) on a white
    screen: the words are centred on the screen's middle, x 205 of the picture."""
    c = Canvas(512, 128, ss=4)
    cx = 205
    px = fit_px(W.THE_END, 300, 56)
    # in the title's lettering: orange, outlined, with a dark drop shadow
    c.text(cx + 3, 47, W.THE_END, px, INK, "bold", "mm", stroke=6, stroke_fill=INK)
    c.text(cx, 44, W.THE_END, px, ORANGE, "bold", "mm", stroke=6, stroke_fill=INK)
    c.text(cx, 44, W.THE_END, px, ORANGE, "bold", "mm", stroke=2.5, stroke_fill=WHITE)
    half = c.text_size(W.THE_END, px, stroke=6)[0] / 2
    for sx in (-1, 1):
        c.poly(star_points(cx + sx * (half + 24), 44, 12, 5.5), fill=YELLOW, outline=INK,
               width=2)
    c.rect(cx - 170, 88, cx + 170, 90, fill=(255, 214, 150))
    c.text(cx, 108, W.THE_END_SUB, fit_words(W.THE_END_SUB, 400, 18), INK, "bold", "mm")
    return c.image()
