"""The music's instruments cut down to the samples the pieces play: the notes each program plays are
read right (program changes in other tracks, at the same moment), and a cut patch gives Timidity
the very same sample bytes for each of those notes.
usage: python3 -m unittest tools/windows/test_make_timidity.py   (from the repository)"""

import os
import tempfile
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "make-timidity")
mt = types.ModuleType("make_timidity")
mt.__file__ = SCRIPT
with open(SCRIPT) as f:
    exec(compile(f.read(), SCRIPT, "exec"), mt.__dict__)


def varlen(n):
    out = [n & 0x7F]
    while n > 0x7F:
        n >>= 7
        out.insert(0, (n & 0x7F) | 0x80)
    return bytes(out)


def midi(*tracks):
    """A format-1 file of tracks given as [(delta, event bytes)]."""
    data = b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + len(tracks).to_bytes(2, "big") + b"\x00\x60"
    for track in tracks:
        body = b"".join(varlen(delta) + event for delta, event in track) + b"\x00\xff\x2f\x00"
        data += b"MTrk" + len(body).to_bytes(4, "big") + body
    return data


def patch(samples):
    """A GUS patch of (low, high, root frequency, data) samples."""
    header = bytearray(mt.PATCH_HEADER)
    header[:22] = b"GF1PATCH110\0ID#000002\0"
    header[82] = 1
    header[151] = 1
    header[198] = len(samples)
    body = b""
    for low, high, root, wave in samples:
        sample = bytearray(mt.SAMPLE_HEADER)
        sample[8:12] = len(wave).to_bytes(4, "little")
        for at, value in ((22, low), (26, high), (30, root)):
            sample[at : at + 4] = value.to_bytes(4, "little")
        body += bytes(sample) + wave
    for at in (89, 147, 194):  # the data sizes of the file, the instrument and the layer
        header[at : at + 4] = len(body).to_bytes(4, "little")
    return bytes(header) + body


def played(data, note):
    """The sample bytes Timidity plays the note with, from the patch's bytes."""
    samples = mt.read_patch(data)
    at, length, *_ = samples[mt.sample_for(samples, note)]
    return data[at : at + length]


class Pieces(unittest.TestCase):
    def read(self, data):
        with tempfile.NamedTemporaryFile(suffix=".mid", delete=False) as f:
            f.write(data)
        try:
            return mt.read_piece(f.name)
        finally:
            os.unlink(f.name)

    def test_notes_count_for_the_program_their_channel_holds(self):
        programs, drums, _ = self.read(midi(
            [(0, b"\xc0\x05"), (10, b"\x90\x3c\x40"), (10, b"\xc0\x07"), (10, b"\x90\x40\x40"),
             (0, b"\x99\x24\x40")],
            # Another track: a note before any change is played by program 0; a change and a note
            # at the same moment may come either way round, so both programs count.
            [(5, b"\x91\x30\x40"), (15, b"\xc1\x09"), (0, b"\x91\x32\x40"), (20, b"\xc0\x0b")],
            [(20, b"\x91\x34\x40"), (0, b"\x80\x3c\x00")]))
        self.assertEqual(programs, {5: {0x3C}, 7: {0x40}, 0: {0x30, 0x32, 0x34}, 9: {0x32, 0x34}})
        self.assertEqual(drums, {0x24})

    def test_a_broken_piece_is_refused(self):
        with self.assertRaises(ValueError):
            self.read(midi([(0, b"\x90\x3c")]))  # the event runs past the track's end


class Patches(unittest.TestCase):
    def test_a_cut_patch_plays_every_note_with_the_same_sample(self):
        f = mt.FREQ_TABLE
        original = patch([(f[40], f[52], f[48], b"low" * 50), (f[53], f[64], f[60], b"mid" * 70),
                          (f[60], f[76], f[72], b"overlap" * 9), (f[77], f[90], f[84], b"high" * 30)])
        # 62 falls in the second sample (the first in order wins over the third); 100 in none, so
        # the nearest root plays it.
        notes = {45, 62, 100}
        cut = mt.trim_patch(original, notes)
        self.assertEqual(len(mt.read_patch(cut)), 3)  # the overlapping third never plays
        self.assertLess(len(cut), len(original))
        for note in notes:
            self.assertEqual(played(cut, note), played(original, note), note)
        # The header tells Timidity the new count, and the sizes shrink with the samples.
        self.assertEqual(cut[198], 3)
        for at in (89, 147, 194):
            self.assertEqual(int.from_bytes(cut[at : at + 4], "little"), len(cut) - mt.PATCH_HEADER)

    def test_a_patch_every_sample_of_which_plays_is_kept_whole(self):
        f = mt.FREQ_TABLE
        original = patch([(f[0], f[60], f[50], b"a" * 10), (f[61], f[127], f[70], b"b" * 10)])
        self.assertIs(mt.trim_patch(original, {10, 100}), original)

    def test_what_is_not_a_patch_is_refused(self):
        with self.assertRaises(ValueError):
            mt.read_patch(b"RIFF" + bytes(300))
        truncated = patch([(0, 100, 50, b"x" * 100)])[:-10]
        with self.assertRaises(ValueError):
            mt.read_patch(truncated)


if __name__ == "__main__":
    unittest.main()
