#!/usr/bin/python3
"""Writes the seed corpus of the WAV reader's fuzz target: small crafted RIFF files, each showing
one shape the reader has to deal with. Run from anywhere; the files land in fuzz/corpus/wave/."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "wave")


def chunk(cid, data, size=None, pad=True):
    out = cid + struct.pack("<I", len(data) if size is None else size) + data
    if pad and len(data) % 2:
        out += b"\0"
    return out


def riff(chunks, form=b"WAVE", size=None):
    body = form + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body) if size is None else size) + body


def fmt(tag=1, channels=1, rate=8000, bits=8, extra=None):
    align = max(1, channels * bits // 8)
    body = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
    if extra is not None:
        body += struct.pack("<H", len(extra)) + extra
    return body


SEEDS = {
    "pcm8-mono.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", bytes(range(0, 24, 2)))]),
    "pcm16-stereo.wav": riff([chunk(b"fmt ", fmt(channels=2, rate=44100, bits=16)),
                              chunk(b"data", struct.pack("<8h", 0, 1000, -1000, 32767, -32768, 5, 6, 7))]),
    "fmt18.wav": riff([chunk(b"fmt ", fmt(rate=22050, bits=16) + b"\x34\x12"), chunk(b"data", b"\1\2\3\4")]),
    "fmt14.wav": riff([chunk(b"fmt ", fmt()[:14]), chunk(b"data", b"\1\2")]),
    "adpcm-extra.wav": riff([chunk(b"fmt ", fmt(tag=0x11, channels=2, rate=32000, bits=4, extra=b"\xf9\x01")),
                             chunk(b"data", b"\0" * 16)]),
    "float-noextra.wav": riff([chunk(b"fmt ", fmt(tag=3, bits=32, extra=b"")), chunk(b"data", b"\0" * 8)]),
    "huge-extra.wav": riff([chunk(b"fmt ", fmt(tag=2)[:16] + b"\xff\xff\x01")]),
    "list-before-fmt.wav": riff([chunk(b"LIST", b"INFOINAM" + struct.pack("<I", 3) + b"ab\0\0"),
                                 chunk(b"fmt ", fmt()), chunk(b"fact", b"\1\2\3"), chunk(b"data", b"\x80" * 6)]),
    "odd-fmt.wav": riff([chunk(b"fmt ", fmt() + b"\xab"), chunk(b"data", b"\x10\x20\x30")]),
    "no-data.wav": riff([chunk(b"fmt ", fmt()), chunk(b"junk", b"\0" * 4)]),
    "empty-data.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", b"")]),
    "data-beyond-file.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", b"\1\2\3\4", size=100000, pad=False)]),
    # The RIFF and data chunks both claim 0x0FFFFFF0 bytes of a file of a few dozen.
    "claims-256mb.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", b"\1\2\3\4" * 4, size=0x0FFFFFF0, pad=False)],
                             size=0x0FFFFFF0),
    "riff-too-small.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", b"\1\2")], size=28),
    "data-before-fmt.wav": riff([chunk(b"data", b"\5\6\7\x08"), chunk(b"fmt ", fmt(channels=2))]),
    "truncated.wav": riff([chunk(b"fmt ", fmt()), chunk(b"data", b"\1\2\3\4")])[:30],
    "not-riff.wav": b"RIFX" + struct.pack("<I", 4) + b"WAVE",
    # Longer than the reader's 8 KiB file buffer: reading it refills the buffer.
    "long-data.wav": riff([chunk(b"fmt ", fmt(channels=2, rate=11025)), chunk(b"data", bytes(range(256)) * 36)]),
}


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
