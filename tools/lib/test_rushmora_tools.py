"""The scripts' shared Python: the game's actions read from actions.def and written into the web page,
the checks of recordings, xwd dumps and sample files the system tests make, and pictures compared
pixel by pixel.
usage: python3 -m unittest tools/lib/test_rushmora_tools.py   (from the repository)"""

import contextlib
import io
import json
import os
import struct
import sys
import tempfile
import unittest
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rushmora_tools as rt  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

try:
    import PIL  # noqa: F401
    HAVE_PIL = True
except ImportError:
    HAVE_PIL = False


class Actions(unittest.TestCase):
    def test_the_games_list_reads_whole(self):
        actions = rt.read_actions(os.path.join(ROOT, "src", "actions", "actions.def"))
        by_name = {a["name"]: a for a in actions}
        self.assertEqual(by_name["jump"], {"name": "jump", "read": "'A'", "key": "A", "pad": 3,
                                           "ja": "ジャンプ", "en": "jump"})
        self.assertEqual(by_name["special"]["key"], "Space")
        # The page's touch keys need these.
        for name in ("left", "right", "up", "down", "escape", "power", "enter", "attack", "dash", "special"):
            self.assertIn(name, by_name)

    def test_comments_blank_lines_and_escaped_quotes(self):
        text = ('// a comment, RUSHMORA_ACTION(x, ...) in it\n\n'
                '  RUSHMORA_ACTION(say, VK_F1, "F1", 0, "「は」", "say \\"hi\\"")  \n')
        self.assertEqual(rt.parse_actions(text), [{"name": "say", "read": "VK_F1", "key": "F1", "pad": 0,
                                                   "ja": "「は」", "en": 'say "hi"'}])

    def test_a_line_it_cannot_read_names_its_place(self):
        good = 'RUSHMORA_ACTION(jump, \'A\', "A", 3, "ジャンプ", "jump")\n'
        for bad in ('RUSHMORA_ACTION(dash, \'S\', "S", 1, "ダッシュ")',          # a field short
                    'RUSHMORA_ACTION(dash, \'S\', S, 1, "ダッシュ", "dash")',      # the key unquoted
                    'RUSHMORA_ACTION(dash, \'S\', "S", one, "ダッシュ", "dash")',  # the button no number
                    '#define RUSHMORA_ACTION(...)',                                # not an action
                    'RUSHMORA_ACTION(dash, \'S\', "", 1, "ダッシュ", "dash")'):    # no key
            with self.assertRaisesRegex(ValueError, r"^list.def:2: ") as caught:
                rt.parse_actions(good + bad + "\n", "list.def")
            self.assertIn("dash" if "dash" in bad else "define", str(caught.exception))

    def test_a_name_or_a_key_twice_and_an_empty_list(self):
        one = 'RUSHMORA_ACTION(jump, \'A\', "A", 3, "ジャンプ", "jump")\n'
        with self.assertRaisesRegex(ValueError, r":2: the action jump is in line 1 already"):
            rt.parse_actions(one + one.replace("'A', \"A\"", "'B', \"B\""))
        with self.assertRaisesRegex(ValueError, r":2: the key A plays jump already"):
            rt.parse_actions(one + one.replace("jump,", "hop,"))
        with self.assertRaisesRegex(ValueError, "no RUSHMORA_ACTION"):
            rt.parse_actions("// nothing\n")


class Page(unittest.TestCase):
    actions = [{"name": "jump", "read": "'A'", "key": "A", "pad": 3, "ja": "ジャンプ", "en": "</script> jump"}]

    def test_both_lists_go_in_as_script_values(self):
        page = "<script>const p = @PACKAGES@;\nconst a = @ACTIONS@;</script>"
        out = rt.fill_page(page, '{"music": {"file": "music.data"}}\n', self.actions)
        packages = out[out.index("const p = ") + 10:out.index(";\n")]
        actions = out[out.index("const a = ") + 10:out.rindex(";</script>")]
        self.assertEqual(json.loads(packages), {"music": {"file": "music.data"}})
        # Nothing in a meaning can end the page's script; the virtual key stays out.
        self.assertNotIn("</script> jump", out)
        self.assertEqual(json.loads(actions), [{"name": "jump", "key": "A", "pad": 3, "ja": "ジャンプ",
                                                "en": "</script> jump"}])

    def test_a_page_without_or_with_two_placeholders(self):
        with self.assertRaisesRegex(ValueError, "0 @ACTIONS@"):
            rt.fill_page("@PACKAGES@", "{}", self.actions)
        with self.assertRaisesRegex(ValueError, "2 @PACKAGES@"):
            rt.fill_page("@PACKAGES@ @PACKAGES@ @ACTIONS@", "{}", self.actions)


class ActionsDoc(unittest.TestCase):
    actions = [{"name": "jump", "read": "'A'", "key": "A", "pad": 3, "ja": "ジャンプ", "en": "jump"},
               {"name": "left", "read": "VK_LEFT", "key": "Left", "pad": 0, "ja": "左へ歩く", "en": "walk left"}]

    def test_the_table_between_the_marks_is_made_anew_and_the_rest_kept(self):
        doc = "before\n%s\n| stale | row |\n%s\nafter\n" % (rt.ACTIONS_BEGIN, rt.ACTIONS_END)
        out = rt.with_actions_table(doc, self.actions)
        self.assertTrue(out.startswith("before\n" + rt.ACTIONS_BEGIN) and out.endswith(rt.ACTIONS_END + "\nafter\n"))
        self.assertNotIn("stale", out)
        self.assertIn("| jump (ジャンプ) | A | 3 (X) | `jump` |", out)
        self.assertIn("| walk left (左へ歩く) | Left |  | `left` |", out)
        self.assertEqual(rt.with_actions_table(out, self.actions), out)

    def test_marks_missing_twice_or_out_of_order(self):
        for doc in ("no marks", rt.ACTIONS_END + rt.ACTIONS_BEGIN, (rt.ACTIONS_BEGIN + rt.ACTIONS_END) * 2):
            with self.assertRaises(ValueError):
                rt.with_actions_table(doc, self.actions)

    def test_the_players_readme_gets_each_action_in_its_language(self):
        text = rt.filled_readme("keys:\n@KEYS_JA@\nKeys:\n@KEYS_EN@\n", self.actions)
        self.assertIn("  A           ジャンプ\n", text)
        self.assertIn("  Left        walk left\n", text)
        with self.assertRaisesRegex(ValueError, "0 @KEYS_EN@"):
            rt.filled_readme("@KEYS_JA@", self.actions)

    def test_check_fails_on_a_stale_table_and_writing_mends_it(self):
        with tempfile.TemporaryDirectory() as d:
            doc = os.path.join(d, "README.md")
            with open(doc, "w", encoding="utf-8") as f:
                f.write("%s\n| jump | A |\n%s\n" % (rt.ACTIONS_BEGIN, rt.ACTIONS_END))
            actions_def = os.path.join(ROOT, "src", "actions", "actions.def")
            self.assertEqual(quiet_main("actions-doc", actions_def, doc, "--check"), 1)
            self.assertEqual(quiet_main("actions-doc", actions_def, doc), 0)
            self.assertEqual(quiet_main("actions-doc", actions_def, doc, "--check"), 0)


def quiet_main(*args):
    """The command line's status for these arguments, what it says kept out of the test's output."""
    with contextlib.redirect_stdout(io.StringIO()), contextlib.redirect_stderr(io.StringIO()):
        return rt.main(["rushmora_tools.py"] + list(args))


def xwd_dump(path, pixel, bits=32, lsb_first=True, width=400, height=200):
    """An xwd dump of a screen of one colour with the caption's pixel in another (red, green, blue)."""
    size = bits // 8
    bpl = width * size
    header = [100, 7, 2, 24, width, height, 0, 0 if lsb_first else 1, 32, 0 if lsb_first else 1, 32, bits,
              bpl, 4, 0xFF0000, 0xFF00, 0xFF, 8, 256, 0, width, height, 0, 0, 0]

    def word(rgb):
        v = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]
        return v.to_bytes(size, "little" if lsb_first else "big")
    rows = bytearray(word((90, 90, 90)) * width * height)
    x, y = rt.CAPTION
    rows[y * bpl + x * size:y * bpl + x * size + size] = word(pixel)
    with open(path, "wb") as f:
        f.write(struct.pack(">25I", *header) + bytes(rows))


class Checks(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def test_xwd_pixels_in_either_byte_order_and_size(self):
        for bits, lsb in ((32, True), (32, False), (24, True)):
            xwd_dump(self.path("a.xwd"), (20, 40, 200), bits, lsb)
            _, at = rt.read_xwd(self.path("a.xwd"))
            self.assertEqual(at(*rt.CAPTION), (20, 40, 200), (bits, lsb))
            self.assertEqual(at(0, 0), (90, 90, 90))

    def test_xwd_screens_want_the_caption_and_a_change(self):
        xwd_dump(self.path("start-1.xwd"), (20, 40, 200))
        xwd_dump(self.path("start-2.xwd"), (20, 40, 201))
        rt.check_xwd_screens(self.dir.name, ["start"])
        xwd_dump(self.path("start-2.xwd"), (20, 40, 200))
        with self.assertRaisesRegex(rt.Failure, "did not change"):
            rt.check_xwd_screens(self.dir.name, ["start"])
        xwd_dump(self.path("start-1.xwd"), (0, 0, 0))  # black: no frame window
        with self.assertRaisesRegex(rt.Failure, "no frame window"):
            rt.check_xwd_screens(self.dir.name, ["start"])

    def write_wav(self, seconds, sounding_share, rate=22050):
        frames = int(seconds * rate)
        sounding = int(frames * sounding_share)
        with wave.open(self.path("a.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(rate)
            w.writeframes(struct.pack("<%dh" % frames, *([1000] * sounding + [0] * (frames - sounding))))

    def test_a_recording_as_long_as_its_frames_and_sounding(self):
        self.write_wav(3000 * 0.016, 0.8)
        self.assertEqual(rt.check_recording(self.path("a.wav"), 3000), "48.0 s of sound, 80% of its samples sounding")
        self.write_wav(3000 * 0.016 + 0.2, 0.8)  # a fifth of a second too long
        with self.assertRaisesRegex(rt.Failure, "frames"):
            rt.check_recording(self.path("a.wav"), 3000)
        self.write_wav(3000 * 0.016, 0.3)  # mostly silent
        with self.assertRaisesRegex(rt.Failure, "30% of its samples sounding"):
            rt.check_recording(self.path("a.wav"), 3000)

    def test_samples_heard_long_and_loud_enough(self):
        with open(self.path("before.raw"), "wb") as f:
            f.write(struct.pack("<4h", 0, -700, 300, 0) * 20000)
        with open(self.path("after.raw"), "wb") as f:
            f.write(struct.pack("<2h", 0, 200) * 40000)  # too quiet
        self.assertEqual(rt.raw_peak(self.path("before.raw")), (80000, 700))
        self.assertEqual(quiet_main("sound-heard", self.dir.name, "before"), 0)
        self.assertEqual(quiet_main("sound-heard", self.dir.name, "before", "after"), 1)

    @unittest.skipUnless(HAVE_PIL, "needs Pillow (python3-pil)")
    def test_pixels_differing_in_any_channel(self):
        from PIL import Image
        a = Image.new("RGBA", (4, 3), (10, 20, 30, 255))
        a.save(self.path("a.png"))
        a.putpixel((1, 1), (10, 20, 30, 254))  # alpha only
        a.putpixel((3, 2), (11, 20, 30, 255))
        a.save(self.path("b.png"))
        self.assertEqual(rt.differing_pixels(self.path("a.png"), self.path("b.png")), (2, 12))
        self.assertEqual(rt.differing_pixels(self.path("a.png"), self.path("a.png")), (0, 12))
        Image.new("RGB", (3, 4)).save(self.path("c.png"))
        with self.assertRaisesRegex(rt.Failure, "sizes differ: 4x3 and 3x4"):
            rt.differing_pixels(self.path("a.png"), self.path("c.png"))


class CommandLine(unittest.TestCase):
    def test_jobs_and_their_arguments(self):
        self.assertEqual(quiet_main("no-such-job"), 2)
        self.assertEqual(quiet_main("zip-names"), 2)
        self.assertEqual(quiet_main("same-pictures", "a", "b"), 2)
        self.assertEqual(quiet_main("has-modules", "json", "struct"), 0)
        self.assertEqual(quiet_main("has-modules", "json", "no_such_module_here"), 1)


if __name__ == "__main__":
    unittest.main()
