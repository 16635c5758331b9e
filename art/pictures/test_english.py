"""Tests of the English pictures' words and build.

usage: /usr/bin/python3 -m unittest art/pictures/test_english.py   (from the repository)"""

import ast
import os
import re
import sys
import tempfile
import unittest
from unittest import mock

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_rects  # noqa: E402
import front  # noqa: E402
import make  # noqa: E402
import paint  # noqa: E402
import street  # noqa: E402
import town  # noqa: E402
import words  # noqa: E402
from layout import PICTURES, WORDED  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
# kana and kanji: Japanese words (signs such as 〒, ← or － are not in these ranges)
JAPANESE = re.compile("[\u3040-\u30ff\u3400-\u9fff]")


def source(name):
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        return f.read()


def strings(v):
    if isinstance(v, str):
        return [v]
    if isinstance(v, (list, tuple)):
        return [s for x in v for s in strings(x)]
    return []


def shape(v):
    """The structure of a value without its words: lists' lengths, tuples' kinds."""
    if isinstance(v, list):
        return [shape(x) for x in v]
    if isinstance(v, tuple):
        return tuple(shape(x) for x in v)
    return type(v).__name__


class Words(unittest.TestCase):
    def tearDown(self):
        make.set_language("ja")

    def test_every_word_has_an_english_counterpart_of_the_same_shape(self):
        for name, ja in words.JA.items():
            self.assertEqual(shape(words.EN[name]), shape(ja), name)

    def test_every_word_in_words_py_has_an_english_counterpart(self):
        # a name missing from EN would be drawn in Japanese in the English set
        tree = ast.parse(source("words.py"))
        names = {t.id for node in tree.body if isinstance(node, ast.Assign)
                 for t in node.targets if isinstance(t, ast.Name) and t.id.isupper()}
        self.assertEqual(sorted(names - set(words.EN) - {"EN", "JA", "LANGUAGES"}), [])

    def test_no_english_word_is_left_in_japanese(self):
        for name, value in words.EN.items():
            for s in strings(value):
                self.assertIsNone(JAPANESE.search(s), f"{name}: {s!r}")

    def test_the_drawing_code_types_no_japanese_words(self):
        # every word drawn comes from words.py; paint.py's line-breaking rules list kana
        drawing = {module for _, _, module, _ in make.PICTURES.values()} | {"town"}
        for path in sorted(os.path.join(HERE, m + ".py") for m in drawing):
            if os.path.basename(path) in ("words.py", "paint.py"):
                continue
            tree = ast.parse(source(path))
            docs = {id(n.body[0].value) for n in ast.walk(tree)
                    if isinstance(n, (ast.Module, ast.FunctionDef, ast.ClassDef))
                    and ast.get_docstring(n) is not None}
            for n in ast.walk(tree):
                if (isinstance(n, ast.Constant) and isinstance(n.value, str)
                        and id(n) not in docs):
                    with self.subTest(file=os.path.basename(path), line=n.lineno):
                        self.assertIsNone(JAPANESE.search(n.value), n.value)

    def test_the_key_names_stay_the_same(self):
        self.assertEqual([k for k, _ in words.EN["CAPTION_KEYS"]],
                         [k for k, _ in words.JA["CAPTION_KEYS"]])
        self.assertEqual([k for k, _ in words.EN["OPTION_ROWS"]],
                         [k for k, _ in words.JA["OPTION_ROWS"]])

    def test_switching_back_gives_the_japanese_words(self):
        make.set_language("en")
        self.assertEqual(words.MENU, ["Start", "Options", "Quit"])
        make.set_language("ja")
        self.assertEqual(words.MENU, words.JA["MENU"])
        self.assertEqual(words.CAPTIONS[0], words.JA["CAPTION_KEYS"])


class Faces(unittest.TestCase):
    def tearDown(self):
        paint.set_language("ja")

    def test_english_words_in_the_latin_face_digits_and_japanese_in_the_japanese(self):
        paint.set_language("en")
        latin = paint._load(paint.LATIN_FONT_FILES, "bold", 20)
        self.assertIs(paint.font("bold", 20, "Start"), latin)
        self.assertIsNot(paint.font("bold", 20, "12"), latin)
        self.assertIsNot(paint.font("bold", 20, "スタート"), latin)
        self.assertIsNot(paint.font("serif", 20, "★ LATE"), paint._load(
            paint.LATIN_FONT_FILES, "serif", 20))   # the serif face has no star

    def test_japanese_never_uses_the_latin_face(self):
        self.assertIs(paint.font("bold", 20, "Start"), paint._load(paint.FONT_FILES, "bold", 20))

    def test_fitting_english_shrinks_then_refuses(self):
        paint.set_language("en")
        px = paint.fit_words("Options", 60, 24)
        self.assertLess(px, 24)
        self.assertGreaterEqual(px, paint.READABLE_PX)
        self.assertLessEqual(paint._width("Options", px, "bold", 0), 60)
        with self.assertRaises(ValueError):
            paint.fit_words("Make the gauge longer or shorter", 60, 24)
        paint.set_language("ja")
        self.assertEqual(paint.fit_words("オプション", 10, 24), 24)

    def test_english_lines_break_between_words_within_the_width(self):
        paint.set_language("en")
        text = "The clock runs 15 times faster than real time."
        lines = paint.wrap(text, 16, 120, "bold")
        self.assertGreater(len(lines), 1)
        self.assertEqual(" ".join(lines), text)
        f = paint.font("bold", 16, text)
        for line in lines:
            self.assertLessEqual(f.getlength(line), 120)


class Signs(unittest.TestCase):
    def tearDown(self):
        paint.set_language("ja")

    def test_a_sign_too_long_for_its_plate_fails_and_a_fitting_one_shrinks(self):
        self.assertEqual(street.sign_px("駐輪場", 58, 14), 14)
        paint.set_language("en")
        with self.assertRaises(ValueError):
            street.sign_px("BICYCLE PARKING", 58, 14)
        with self.assertRaises(ValueError):   # a 7 px sign is not made any smaller
            street.sign_px("POSTAL SERVICE", 30, 7)
        px = street.sign_px("TICKET GATES", 70, 13)
        self.assertTrue(paint.READABLE_PX <= px < 13)
        self.assertLessEqual(paint._width("TICKET GATES", px, "bold", 0), 70)

    def test_the_nameplate_grows_left_for_a_longer_name(self):
        self.assertEqual(street.nameplate("田中"), (150, 176))
        paint.set_language("en")
        x0, x1 = street.nameplate("Tanaka")
        self.assertEqual(x1, 176)
        self.assertGreaterEqual(x1 - x0, paint._width("Tanaka", street.NAMEPLATE_PX, "bold", 0) + 6)
        self.assertGreater(x0, 0)


def ink(c, x, y, s, px, weight="bold", anchor="la", stroke=0, sx=1.0):
    """The box (left, top, right, bottom) the ink of a line covers, drawn as Canvas.text
    draws it."""
    f = paint.font(weight, px * c.ss, s)
    l, t, r, b = (v / c.ss for v in f.getbbox(s, anchor=anchor,
                                              stroke_width=int(round(stroke * c.ss))))
    return (x + l * sx, y + t, x + r * sx, y + b)


class Drawn:
    """What drawing pictures painted: every line of words with its ink box and the plate it
    stands on (the last filled rectangle drawn on the same canvas under its anchor that is not
    a mere stripe beside it), and every key cap."""

    def __init__(self, lang, names):
        self.lines, self.caps = [], []
        rects = {}
        rect, text, key_cap = paint.Canvas.rect, paint.Canvas.text, town.key_cap

        def on_rect(c, x0, y0, x1, y1, fill=None, outline=None, width=0, r=0):
            if fill is not None:
                rects.setdefault(c, []).append((x0, y0, x1, y1))
            rect(c, x0, y0, x1, y1, fill, outline, width, r)

        def on_text(c, x, y, s, px, fill=paint.INK, weight="bold", anchor="la", stroke=0,
                    stroke_fill=None, sx=1.0, shadow=None):
            box = ink(c, x, y, s, px, weight, anchor, stroke, sx)
            w, h = box[2] - box[0], box[3] - box[1]
            under = [r for r in rects.get(c, []) if r[0] <= x <= r[2] and r[1] <= y <= r[3]
                     and r[2] - r[0] >= 0.6 * w and r[3] - r[1] >= 0.6 * h]
            self.lines.append((name, c, s, box, under[-1] if under else None))
            text(c, x, y, s, px, fill, weight, anchor, stroke, stroke_fill, sx, shadow)

        def on_key_cap(c, x, y, label, px=13, w=None, h=22, **kw):
            right = key_cap(c, x, y, label, px=px, w=w, h=h, **kw)
            self.caps.append((name, c, label, (x, y, right, y + h + 2)))   # with its shadow
            return right

        make.set_language(lang)
        try:
            with mock.patch.object(paint.Canvas, "rect", on_rect), \
                    mock.patch.object(paint.Canvas, "text", on_text), \
                    mock.patch.object(town, "key_cap", on_key_cap):
                for name in sorted(names):
                    make.draw(name)
        finally:
            make.set_language("ja")


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def squash(s):
    return re.sub(r"\s", "", s)


class EnglishSet(unittest.TestCase):
    """The English pictures as drawn: their words stay on their plates, and every English
    word is on a picture."""

    @classmethod
    def setUpClass(cls):
        cls.drawn = Drawn("en", WORDED)

    def test_no_line_runs_into_the_edge_of_its_plate(self):
        # the ramen shop's word runs across the cloths of its curtain, as on a real one
        across = {("bill03.png", words.EN["SHOP_RAMEN_CURTAIN"])}
        for name, _, s, box, plate in self.drawn.lines:
            if plate is None or not any(ch.isalpha() for ch in s) or (name, s) in across:
                continue
            side = min(box[0] - plate[0], plate[2] - box[2])
            ends = min(box[1] - plate[1], plate[3] - box[3])
            with self.subTest(picture=name, words=s):
                # clear of the plate's outline (1.2 to 2 px) on every side
                self.assertGreaterEqual(ends, 1, f"ink {box} on the plate {plate}")
                self.assertGreaterEqual(side, 2, f"ink {box} on the plate {plate}")

    def test_every_english_word_is_drawn(self):
        # a word left out of the drawing would leave its Japanese place empty or stale
        painted = {}
        for name, _, s, _, _ in self.drawn.lines:
            painted.setdefault(name, []).append(s)
        everything = squash("".join(s for lines in painted.values() for s in lines))
        blocks = {"p", "keys", "note", "times"}   # the kinds of the help pages' blocks
        for key, value in words.EN.items():
            for s in strings(value):
                if s == words.EN["ARROW_KEYS"]:   # drawn as four arrows on one cap
                    continue
                if squash(s) and not (key == "HELP_PAGES" and s in blocks):
                    with self.subTest(name=key, words=s):
                        self.assertTrue(squash(s) in everything, "not on any picture")

    def test_a_line_that_would_need_less_than_the_readable_size_fails_the_build(self):
        # the board's last lines are made to fit their cells, never below 10 px
        with mock.patch.dict(words.EN, BOARD_LINES=words.EN["BOARD_LINES"][:6] +
                             ["No more trains to school today, sorry"]):
            with self.assertRaises(ValueError):
                Drawn("en", ["denko.png"])


class TitleKeys(unittest.TestCase):
    """The title's own keys after the hint on the line fixed at the window's foot."""

    def test_f1_is_on_a_cap_inside_the_rows_the_window_shows(self):
        # the game draws (540, 0, 875, 25) at y 460: rows 20.. lie below the window
        left, top, right, bottom = 540, 0, 875, 20
        self.assertIn((540, 0, 875, 25, "fixed line at (140, 460)"),
                      check_rects.RECTS["sc_moji.png"])
        for lang in ("ja", "en"):
            drawn = Drawn(lang, ["sc_moji.png"])
            caps = [box for _, _, label, box in drawn.caps if label == "F1"]
            with self.subTest(lang=lang):
                self.assertEqual(len(caps), 1)
                x0, y0, x1, y1 = caps[0]
                self.assertTrue(left < x0 and x1 < right and top <= y0 and y1 <= bottom,
                                caps[0])
                # nothing else on the line runs into the cap, and the line keeps inside the tab
                on_line = [(s, box) for _, _, s, box, _ in drawn.lines
                           if overlap(box, (left, top, right, bottom)) and s != "F1"]
                self.assertEqual(len(on_line), 2)   # the hint, what F1 does
                for s, box in on_line:
                    self.assertFalse(overlap(box, caps[0]), s)
                    self.assertTrue(left + 6 <= box[0] and box[2] <= right - 6, (s, box))
                # the run's caption (row 0 at the left) keeps to the run's keys
                self.assertNotIn("F1", [label for _, _, label, (x, y, _, _) in drawn.caps
                                        if x < 530])

    def test_the_hint_line_is_refused_when_it_cannot_be_read(self):
        with mock.patch.dict(words.EN, CAPTION_HINT_KEYS=[("F1", "how to play this game "
                                                           "and what every key does")]):
            make.set_language("en")
            try:
                with self.assertRaises(ValueError):
                    front.sc_moji()
            finally:
                make.set_language("ja")


class Plates(unittest.TestCase):
    def tearDown(self):
        make.set_language("ja")

    def test_the_school_name_stays_on_the_gate_post_in_both_languages(self):
        post = (190, 334, 214, 450)   # under the post's cap, above the ground
        for lang in ("ja", "en"):
            make.set_language(lang)
            kind, step, plate = street.gate_plate_layout(words.SCHOOL_NAME)
            with self.subTest(lang=lang, kind=kind):
                self.assertTrue(post[0] < plate[0] and plate[2] < post[2]
                                and post[1] < plate[1] and plate[3] < post[3], plate)
                if kind == "down":
                    # letters a step apart no smaller than their size do not touch
                    self.assertGreaterEqual(step, street.GATE_PX)
                    self.assertLessEqual(plate[1] + 6 + step * (len(words.SCHOOL_NAME) - 1)
                                         + street.GATE_PX / 2, plate[3])
                else:
                    # the line, turned, with 6 px to spare at either end
                    self.assertLessEqual(step + 12, plate[3] - plate[1])

    def test_the_dust_box_label_leaves_room_beside_its_word_within_the_box(self):
        drawn = Drawn("en", ["dustbox.png"])
        ((box, plate),) = {(b, p) for _, _, s, b, p in drawn.lines
                           if s == words.EN["DUSTBOX_LABEL"]}
        # the box's sides at the plate's rows (50..72) run from x 13.5 to 73.5
        self.assertTrue(13.5 < plate[0] and plate[2] < 73.5, plate)
        self.assertGreaterEqual(min(box[0] - plate[0], plate[2] - box[2]), 5, (box, plate))


class Build(unittest.TestCase):
    def test_bad_command_lines_are_refused_with_a_message(self):
        for argv in (["make.py"], ["make.py", "--lang"], ["make.py", "--lang", "fr", "d"],
                     ["make.py", "--lang", "en", "d", "kumo.png"],
                     ["make.py", "d", "nothing.png"]):
            with self.assertRaises(SystemExit, msg=argv):
                make.parse(argv)

    def test_english_goes_to_the_language_folder_and_only_pictures_with_words(self):
        lang, data, names = make.parse(["make.py", "--lang=en", "d"])
        self.assertEqual(make.texture_dir(data, lang), os.path.join("d", "lang", "en", "Texture"))
        self.assertEqual(set(names), WORDED)
        self.assertEqual(make.texture_dir("d", "ja"), os.path.join("d", "Texture"))

    def test_pictures_not_in_the_english_set_carry_no_words(self):
        # drawn in both languages they come out the same, so the game may show the Japanese
        for name in sorted(set(PICTURES) - WORDED - {"help.png"}):
            make.set_language("ja")
            ja = np.asarray(make.draw(name))
            make.set_language("en")
            en = np.asarray(make.draw(name))
            with self.subTest(name=name):
                self.assertTrue((ja == en).all(), f"{name} has words: add it to WORDED")
        make.set_language("ja")


class Check(unittest.TestCase):
    def test_words_spilling_out_of_a_rectangle_are_found(self):
        ja = np.zeros((128, 1024, 4), dtype=np.uint8)
        en = ja.copy()
        en[10:20, 100:520] = 255            # inside caption 0
        self.assertEqual(check_rects.words_outside(ja, en, "sc_moji.png"), [])
        en[10:20, 520:536] = 255            # past caption 0 into the gap before the hint
        spill = check_rects.words_outside(ja, en, "sc_moji.png")
        self.assertEqual(spill[0][:4], (530, 10, 536, 20))

    def test_a_picture_never_drawn_may_differ_only_within_its_content(self):
        ja = np.zeros((512, 1024, 4), dtype=np.uint8)    # Sl_bg.png: 640 x 480, no rectangle
        en = ja.copy()
        en[10:20, 10:600] = 255
        self.assertEqual(check_rects.words_outside(ja, en, "Sl_bg.png"), [])
        en[10:20, 600:700] = 255
        self.assertEqual(check_rects.words_outside(ja, en, "Sl_bg.png")[0][:4],
                         (640, 10, 700, 20))

    def test_an_extra_picture_in_the_english_folder_is_reported(self):
        with tempfile.TemporaryDirectory() as data:
            os.makedirs(os.path.join(data, "lang", "en", "Texture"))
            open(os.path.join(data, "lang", "en", "Texture", "kumo.png"), "wb").close()
            errors = []
            check_rects.check_english(data, errors.append)
            self.assertTrue(any(e.startswith("kumo.png") for e in errors))
            self.assertTrue(any("title_icn.png: missing" in e for e in errors))


if __name__ == "__main__":
    unittest.main()
