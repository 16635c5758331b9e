"""The page's data parts (tools/web/pack-data): each language's parts hold every file once, in the
version that language sees, the opening's part what the opening needs; the instruments' patches
come back byte for byte from their pieces (FLAC streams decoded by flac itself here, by the
browser's decoder in the page, which the browser test checks).
usage: python3 -m unittest tools/web/test_pack_data.py   (from the repository; needs flac)"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
PACK = os.path.join(HERE, "pack-data")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def patch(samples):
    """A GUS patch of (modes, sample bytes)."""
    header = bytearray(239)
    header[:22] = b"GF1PATCH110\0ID#000002\0"
    header[198] = len(samples)
    body = b""
    for modes, wave in samples:
        sample = bytearray(96)
        sample[8:12] = len(wave).to_bytes(4, "little")
        sample[55] = modes
        body += bytes(sample) + wave
    return bytes(header) + body


def fnv1a(data):
    h = 0x811C9DC5
    for byte in data:
        h = ((h ^ byte) * 0x01000193) & 0xFFFFFFFF
    return h


@unittest.skipUnless(shutil.which("flac"), "flac is not installed (tools/web/setup installs it)")
class Parts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        d = os.path.join(cls.folder, "data")
        opening = ["title_msk", "ti-mu", "ti_bg", "d", "PUSH KEY", "hari"]
        for name in opening + ["street", "help"]:
            write(f"{d}/Texture/{name}.png", f"ja {name}".encode())
        for name in ["ti_bg", "street", "help"]:
            write(f"{d}/lang/en/Texture/{name}.png", f"en {name}".encode())
        write(f"{d}/Texture/keycaps.txt", b"ja caps")
        write(f"{d}/lang/en/Texture/keycaps.txt", b"en caps")
        write(f"{d}/lang/en/texts.txt", b"en texts")
        write(f"{d}/SE/kick.wav", b"RIFF kick")
        write(f"{d}/KeyConfig1.exe", b"MZ")
        t = os.path.join(cls.folder, "timidity")
        tone = bytes(range(256)) * 40  # 16-bit samples
        cls.patches = {
            "Tone_000/000.pat": patch([(0x65, tone), (0x67, tone[::-1]), (0x64, b"8-bit" * 9)]),
            "Drum_000/036.pat": patch([(0x41, bytes(2000))]),
        }
        for name, data in cls.patches.items():
            write(f"{t}/{name}", data)
        write(f"{t}/timidity.cfg", b"bank 0\n0 Tone_000/000.pat\n")
        write(f"{t}/copyright", b"freepats")
        write(f"{cls.folder}/font.ttf", b"font")
        cls.out = os.path.join(cls.folder, "out")
        env = dict(os.environ, RUSHMORA_CACHE=os.path.join(cls.folder, "cache"))
        subprocess.run([sys.executable, PACK, cls.out, d, t, f"{cls.folder}/font.ttf"], check=True, env=env,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(cls.out, "packages.json")) as f:
            cls.packages = json.load(f)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def contents(self, part):
        with open(os.path.join(self.out, part["file"]), "rb") as f:
            data = f.read()
        self.assertEqual(len(data), part["size"])
        return {name: data[start:end] for name, start, end, *_ in part["files"]}

    def test_each_language_sees_every_file_once_in_its_own_version(self):
        for lang, street, texts in [("ja", b"ja street", None), ("en", b"en street", b"en texts")]:
            opening, game = (self.contents(p) for p in self.packages[lang])
            self.assertFalse(set(opening) & set(game), lang)
            both = {**opening, **game}
            self.assertEqual(both["/fonts/ipagp.ttf"], b"font")
            self.assertEqual(both["/data/SE/kick.wav"], b"RIFF kick")
            self.assertEqual(both.get(f"/data/lang/{lang}/Texture/street.png", both.get("/data/Texture/street.png")),
                             street)
            self.assertEqual(both.get("/data/lang/en/texts.txt"), texts)
            # Never in a browser: the key configuration program and the help book's picture.
            self.assertFalse([n for n in both if n.endswith(("KeyConfig1.exe", "help.png"))], lang)
            # A picture the language has its own version of is not fetched in Japanese too.
            if lang == "en":
                self.assertNotIn("/data/Texture/street.png", both)
                self.assertEqual(opening["/data/lang/en/Texture/ti_bg.png"], b"en ti_bg")
            self.assertIn("/data/Texture/PUSH KEY.png", opening)
            # The key caps' list is read with the first picture: the opening's, in the language's version.
            caps = f"/data/lang/{lang}/Texture/keycaps.txt" if lang == "en" else "/data/Texture/keycaps.txt"
            self.assertEqual(opening[caps], f"{lang} caps".encode())
            self.assertNotIn("/data/Texture/street.png", opening)

    def test_the_instruments_come_back_byte_for_byte(self):
        music = self.packages["music"]
        self.assertTrue(music["files"][-1][0].endswith("/timidity.cfg"))  # last: Timidity starts on it
        with open(os.path.join(self.out, music["file"]), "rb") as f:
            data = f.read()
        flac_pieces = 0
        for name, start, end, size, pieces in music["files"]:
            rebuilt = b""
            for s, e, kind, digest in pieces:
                piece = data[s:e]
                if kind:
                    flac_pieces += 1
                    sign = "--sign=signed" if kind == 1 else "--sign=unsigned"
                    piece = subprocess.run(["flac", "-d", "--silent", "-c", sign, "--force-raw-format",
                                            "--endian=little", "-"], input=piece, capture_output=True,
                                           check=True).stdout
                self.assertEqual(fnv1a(piece), digest, name)
                rebuilt += piece
            self.assertEqual(len(rebuilt), size, name)
            if name.endswith(".pat"):
                self.assertEqual(rebuilt, self.patches[name[len("/timidity/"):]], name)
        self.assertEqual(flac_pieces, 3)  # the 8-bit sample stays as it is
        self.assertNotIn("/timidity/copyright", [f[0] for f in music["files"]])


if __name__ == "__main__":
    unittest.main()
