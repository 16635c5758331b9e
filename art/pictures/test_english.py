"""Tests of the English pictures' words and build.

usage: /usr/bin/python3 -m unittest art/pictures/test_english.py   (from the repository)"""

import ast
import glob
import os
import re
import sys
import tempfile
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_rects  # noqa: E402
import make  # noqa: E402
import paint  # noqa: E402
import street  # noqa: E402
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
        for path in sorted(glob.glob(os.path.join(HERE, "*.py"))):
            if os.path.basename(path) in ("words.py", "paint.py") or "test_" in path:
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
