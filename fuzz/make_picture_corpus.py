#!/usr/bin/python3
"""Writes the seed corpus of the picture loader's fuzz target: small PNG files of each kind the
loader meets (RGBA for the quick reader; palette, grey, 16-bit and interlaced ones for SDL_image),
BMP files, GIF files (which it refuses), and headers that claim pictures far larger than any
texture. The files land in
fuzz/corpus/picture/ beside rgba.png and rgba2.png (two of the game's own pictures) and small.jpg
(a 4x3 picture saved by SDL_image's IMG_SaveJPG), and the inputs with which the fuzzer found faults
(trns-claims-128mb.png, gif-late-frame-65535x24609.gif, cut-palette-trns.png), which this script
leaves as they are."""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "picture")


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, bits, colour, rows, interlace=0, extra=b""):
    """rows: the filtered image data (a filter byte before each row), compressed here."""
    header = struct.pack(">IIBBBBB", width, height, bits, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra +
            png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b""))


def bmp24(width, height):
    row = bytes((x * 40) & 0xFF for x in range(width * 3))
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * abs(height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels


# One white texel: screen 1x1 with two colours, a transparency extension, the image at 1x1.
GIF = (b"GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,"
       b"\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")

SEEDS = {
    "rgba-3x2.png": png(3, 2, 8, 6, b"\x00" + bytes(range(12)) + b"\x04" + bytes(range(12, 24))),
    "palette.png": png(4, 2, 8, 3, b"\x00\x00\x01\x02\x00\x00\x02\x01\x00",
                       extra=png_chunk(b"PLTE", b"\xff\x00\x00\x00\xff\x00\x00\x00\xff") +
                       png_chunk(b"tRNS", b"\x80")),
    "grey16.png": png(2, 2, 16, 0, b"\x00\x12\x34\xff\xff\x02\x00\x00\x01\x00"),
    "interlaced.png": png(3, 3, 8, 2, b"\x00" + b"\x10" * 3 + (b"\x00" + b"\x20" * 3) * 2 +
                          (b"\x00" + b"\x30" * 6) * 2 + (b"\x00" + b"\x40" * 9), interlace=1),
    "rgba-claims-16384.png": png(16384, 16384, 8, 6, b"\x00" * 4096),
    "bottom-up.bmp": bmp24(3, 2),
    "top-down.bmp": bmp24(2, -3),
    "dot.gif": GIF,
    "wide-screen.gif": GIF[:6] + struct.pack("<H", 60000) + GIF[8:],
}


# Files cut short right after an optional chunk before the image data, or one to four bytes into the
# next chunk's header: libpng, through SDL_image, read their last bytes again for ever.
CUT_AFTER = (b"tEXt", b"zTXt", b"iTXt", b"tIME", b"pHYs", b"gAMA", b"sRGB", b"tRNS", b"bKGD", b"cHRM", b"sBIT")


def cut_after_chunk(kind, cut):
    palette = kind == b"tRNS"
    head = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 2, 8, 3 if palette else 6, 0, 0, 0))
    if palette:
        head += png_chunk(b"PLTE", b"\xff\x00\x00\x00\xff\x00\x00\x00\xff")
    head += png_chunk(kind, b"\x80" if palette else b"key\0value")
    return head + png_chunk(b"IDAT", zlib.compress(b"\0" * 18))[:cut]


for _kind in CUT_AFTER:
    for _cut in range(5):
        SEEDS["cut-after-%s-%d.png" % (_kind.decode(), _cut)] = cut_after_chunk(_kind, _cut)


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
