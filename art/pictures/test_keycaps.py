"""Tests of keycaps.txt, the list of the key caps a set of pictures draws, which the build writes
beside them and the game reads to draw the player's own keys over those caps.

usage: /usr/bin/python3 -m unittest art/pictures/test_keycaps.py   (from the repository)"""

import os
import re
import shutil
import sys
import tempfile
import unittest
from unittest import mock

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "lib"))
import check_rects  # noqa: E402
import make  # noqa: E402
import paint  # noqa: E402
import rushmora_tools  # noqa: E402
import town  # noqa: E402
from layout import PICTURES, WORDED  # noqa: E402

# The pictures that draw key caps: the captions, the option screen, the character select, the help book.
CAPPED = ["Option.png", "charaselect.png", "help.png", "sc_moji.png"]

LINE = re.compile(r'^"([^"]+)" (\d+) (\d+) (\d+) (\d+) #([0-9a-f]{6}) #([0-9a-f]{6}) '
                  r'(\d+(?:\.\d+)?) "([^"]+)"$')

# Labels the game leaves as drawn: keys the player cannot move, the stick, several buttons at once.
KEPT = {"F1", "F2", "F5", "スティック", "Stick", "ボタン5〜10", "Button 5-10"}
PAD_BUTTON = re.compile(r"^(ボタン|Button )([1-9]|10)$")
ARROWS = re.compile(r"^[←→↑↓]+$")


def caps_in(path):
    """[(picture, (x, y, w, h), face, text, px, label)] of a keycaps.txt, failing on a line that is
    not a comment or a cap."""
    caps = []
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n")[:-1]:
            if line.startswith("#"):
                continue
            m = LINE.match(line)
            if not m:
                raise AssertionError(f"{path}: not a cap: {line!r}")
            rect = tuple(int(v) for v in m.group(2, 3, 4, 5))
            caps.append((m.group(1), rect, m.group(6), m.group(7), float(m.group(8)), m.group(9)))
    return caps


def build(folder, lang, names):
    with mock.patch("sys.stdout"):
        make.main(["make.py", "--lang", lang, folder] + names)
    make.set_language("ja")
    return make.texture_dir(folder, lang)


class Lists(unittest.TestCase):
    """The lists the build writes for the pictures with caps, in both languages."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.tdir = {lang: build(cls.folder, lang, CAPPED) for lang in ("ja", "en")}
        cls.caps = {lang: caps_in(os.path.join(d, make.KEYCAPS)) for lang, d in cls.tdir.items()}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def test_every_picture_with_caps_is_listed_and_drawn_again_in_english(self):
        for lang in ("ja", "en"):
            self.assertEqual(sorted({c[0] for c in self.caps[lang]}), CAPPED, lang)
        # the English set carries its own list, of its own pictures
        self.assertLessEqual(set(CAPPED), WORDED)

    def test_every_cap_lies_inside_its_picture_and_on_a_rectangle_the_game_draws(self):
        for lang in ("ja", "en"):
            for name, (x, y, w, h), *_, label in self.caps[lang]:
                with self.subTest(lang=lang, picture=name, label=label):
                    cw, ch = PICTURES[name][:2]
                    self.assertTrue(0 <= x and 0 <= y and x + w <= cw and y + h <= ch)
                    drawn = [r for r in check_rects.RECTS[name]
                             if r[0] <= x and r[1] <= y and x + w <= r[2] and y + h <= r[3]]
                    self.assertTrue(drawn, f"({x}, {y}, {w}, {h}) on no rectangle of the game")

    def test_each_cap_is_where_the_picture_draws_it(self):
        # the outline within the rectangle's first two texels on every side, and the face as listed
        # inside it (at the corners of the face the game draws anew, which no label reaches)
        for lang in ("ja", "en"):
            pictures = {}
            for name, (x, y, w, h), face, _, _, label in self.caps[lang]:
                if name not in pictures:
                    pictures[name] = np.asarray(Image.open(os.path.join(self.tdir[lang], name)))
                a = pictures[name].astype(int)
                with self.subTest(lang=lang, picture=name, label=label):
                    ink = lambda px: px[3] > 200 and px[:3].mean() < 110  # noqa: E731
                    mx, my = x + w // 2, y + h // 2
                    for side in (a[my, x:x + 2], a[my, x + w - 2:x + w], a[y:y + 2, mx],
                                 a[y + h - 2:y + h, mx]):
                        self.assertTrue(any(ink(px) for px in side))
                    colour = [int(face[i:i + 2], 16) for i in (0, 2, 4)] + [255]
                    for px, py in ((x + 3, y + 3), (x + w - 4, y + 3), (x + 3, y + h - 4),
                                   (x + w - 4, y + h - 4)):
                        self.assertEqual(list(a[py, px]), colour, (px, py))

    def test_labels_name_the_games_keys_or_stay_as_drawn(self):
        # a label the game cannot read as one of its keys would keep the key it was drawn with
        actions = rushmora_tools.read_actions(os.path.join(HERE, "..", "..", "src", "actions",
                                                           "actions.def"))
        keys = {a["key"] for a in actions} | {"Enter", "Esc"}  # as the pictures write Return, Escape
        for lang in ("ja", "en"):
            for name, *_, label in self.caps[lang]:
                with self.subTest(lang=lang, picture=name, label=label):
                    self.assertTrue(label in keys or label in KEPT or PAD_BUTTON.match(label)
                                    or ARROWS.match(label))
            # the title's caption holds the four arrows as a cross on one cap
            self.assertIn(("sc_moji.png", "←→↑↓"), [(c[0], c[5]) for c in self.caps[lang]])

    def test_both_languages_have_the_same_keys_on_each_picture(self):
        def keys(lang, name):
            return [c[5] for c in self.caps[lang]
                    if c[0] == name and not PAD_BUTTON.match(c[5]) and c[5] not in KEPT]
        for name in CAPPED:
            self.assertEqual(keys("ja", name), keys("en", name), name)
            self.assertEqual(len([c for c in self.caps["ja"] if c[0] == name]),
                             len([c for c in self.caps["en"] if c[0] == name]), name)

    def test_the_same_sources_give_the_same_bytes(self):
        again = tempfile.mkdtemp()
        try:
            tdir = build(again, "ja", ["sc_moji.png"])
            with open(os.path.join(tdir, make.KEYCAPS), "rb") as f:
                mine = [line for line in f.read().split(b"\n") if line.startswith(b'"sc_moji.png"')]
            with open(os.path.join(self.tdir["ja"], make.KEYCAPS), "rb") as f:
                first = [line for line in f.read().split(b"\n") if line.startswith(b'"sc_moji.png"')]
            self.assertEqual(mine, first)
        finally:
            shutil.rmtree(again)


# Pictures of the test's own, drawn as the game's are.
def _pasted_page():
    page = paint.Canvas(60, 40, ss=2)
    town.key_cap(page, 10, 8, "A", px=12, w=20, h=20)
    c = paint.Canvas(200, 100, ss=2)
    c.paste(paint.blank(10, 10), 0, 0)
    book = paint.blank(200, 100)
    book.paste(page.image(), (100, 50))
    c.paste(book, 0, 0)
    return c.image()


def _lost_cap():
    c = paint.Canvas(100, 50, ss=2)
    layer = c.layer()
    town.key_cap(layer, 10, 10, "A", px=12, w=20, h=20)
    c.composite(layer)
    return c.image()


class Following(unittest.TestCase):
    """The caps go with their canvas wherever the drawing pastes it, and a cap that reaches its
    picture by a way the build does not follow stops the build."""

    def setUp(self):
        town.DRAWN.clear()

    def test_a_cap_on_a_page_pasted_into_a_book_is_listed_where_the_page_went(self):
        with mock.patch.dict(make.PICTURES, {"book.png": (200, 100, "test_keycaps", "_pasted_page")}), \
                mock.patch("make.canvas_size", lambda name: (256, 128)):
            picture = make.draw("book.png")
            self.assertEqual(make.caps_of("book.png", picture),
                             ['"book.png" 110 58 20 20 #ffffff #2d3047 12 "A"'])

    def test_a_cap_that_cannot_be_followed_stops_the_build(self):
        with mock.patch.dict(make.PICTURES, {"lost.png": (100, 50, "test_keycaps", "_lost_cap")}), \
                mock.patch("make.canvas_size", lambda name: (128, 64)):
            with self.assertRaises(SystemExit):
                make.draw("lost.png")

    def test_drawing_some_pictures_again_keeps_the_others_lines(self):
        folder = tempfile.mkdtemp()
        try:
            a = '"a b.png" 1 2 30 20 #ffffff #2d3047 12 "A"'
            b = '"b.png" 1 2 30 20 #ffffff #2d3047 12 "S"'
            make.write_keycaps(folder, {"b.png": [b]})
            make.write_keycaps(folder, {"a b.png": [a]})
            self.assertEqual([c[0] for c in caps_in(os.path.join(folder, make.KEYCAPS))],
                             ["a b.png", "b.png"])
            make.write_keycaps(folder, {"b.png": []})  # drawn again without caps
            self.assertEqual([c[0] for c in caps_in(os.path.join(folder, make.KEYCAPS))],
                             ["a b.png"])
        finally:
            shutil.rmtree(folder)


if __name__ == "__main__":
    unittest.main()
