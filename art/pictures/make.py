"""Draw every picture into <data>/Texture/, or the English pictures into
<data>/lang/en/Texture/, and write beside them keycaps.txt: where the pictures draw key caps.

usage: make.py [--lang ja|en] DATA_DIR [NAME ...]   (no names: all pictures; in English,
all pictures that carry words)
"""

import contextlib
import importlib
import math
import os
import re
import sys

from PIL import Image

from figures import PARTS
from layout import PICTURES, WORDED, canvas_size
import paint
from paint import on_canvas, pow2, save
import town
import words

# the figures' body parts come from figures.py
PICTURES = {**PICTURES, **PARTS}


def texture_dir(data, lang):
    """Where the pictures of `lang` go: the game's Texture/ for Japanese, the language
    folder laid over it for English."""
    if lang == "ja":
        return os.path.join(data, "Texture")
    return os.path.join(data, "lang", lang, "Texture")


def set_language(lang):
    paint.set_language(lang)
    words.use(lang)


# ---------------------------------------------------------------------------
# key caps: town.key_cap notes each cap on the canvas it is drawn on; while a picture is drawn,
# the caps go with that canvas's image wherever it is pasted (a help page into the book, the
# picture onto its power-of-two canvas), so that the finished picture knows where its caps are.
# ---------------------------------------------------------------------------

KEYCAPS = "keycaps.txt"


@contextlib.contextmanager
def following_caps():
    canvas_image, canvas_paste, image_paste = paint.Canvas.image, paint.Canvas.paste, Image.Image.paste

    def image(c):
        im = canvas_image(c)
        im.info["keycaps"] = list(getattr(c, "keycaps", []))
        return im

    def paste_on_canvas(c, im, x, y):
        canvas_paste(c, im, x, y)
        for cap in im.info.get("keycaps", []):
            town.note_cap(c, cap.moved(x, y))

    def paste(target, im, box=None, mask=None):
        image_paste(target, im, box, mask)
        caps = im.info.get("keycaps") if isinstance(im, Image.Image) else None
        if caps:
            dx, dy = (box or (0, 0))[:2]
            target.info.setdefault("keycaps", []).extend(cap.moved(dx, dy) for cap in caps)

    paint.Canvas.image, paint.Canvas.paste, Image.Image.paste = image, paste_on_canvas, paste
    try:
        yield
    finally:
        paint.Canvas.image, paint.Canvas.paste, Image.Image.paste = canvas_image, canvas_paste, image_paste


def cap_line(name, cap):
    """A line of keycaps.txt for a cap of the picture `name`."""
    for what in (name, cap.label):
        if '"' in what or "\n" in what:
            raise SystemExit(f"{name}: {what!r} cannot be written in {KEYCAPS}")
    if cap.face[3] != 255 or cap.text[3] != 255:
        raise SystemExit(f"{name}: the cap {cap.label!r} is not opaque")
    x0, y0 = math.floor(cap.x + 1e-6), math.floor(cap.y + 1e-6)
    x1, y1 = math.ceil(cap.x + cap.w - 1e-6), math.ceil(cap.y + cap.h - 1e-6)
    colour = "#{:02x}{:02x}{:02x}".format
    return (f'"{name}" {x0} {y0} {x1 - x0} {y1 - y0} {colour(*cap.face[:3])} '
            f'{colour(*cap.text[:3])} {cap.px:g} "{cap.label}"')


KEYCAPS_HEADER = """\
# The key caps the pictures of this folder draw, written by art/pictures/build: the game draws the
# player's own keys and pad buttons over them. One cap a line, its fields apart by spaces:
#   "picture" x y w h face text px "label"
# picture  the picture's file name in this folder, in double quotes (names hold spaces)
# x y w h  the cap's face on the picture's texture, in texels from its top-left: the rounded
#          rectangle with its outline (about 1.5 px wide, corners of 5 px), not the shadow under it
# face     the face's colour, text the label's colour (#rrggbb, opaque)
# px       the size the label is drawn at (pixels of the face; for arrows, an arrow's height)
# label    what the cap shows, in double quotes: a key as the game's default keys name it ("A",
#          "Space", "Esc", "Enter"), arrows ("←→", "↑↓", and "←→↑↓" for the four as a cross), a
#          pad's button ("ボタン3", "Button 3"), or a key the player does not move ("F5")
# Lines starting with # are comments. Pictures with no caps are not listed.
"""


def read_keycaps(path):
    """{picture: [line, ...]} of a keycaps.txt ({} when there is none)."""
    found = {}
    if not os.path.exists(path):
        return found
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            m = re.match(r'"([^"]+)" ', line)
            if m:
                found.setdefault(m.group(1), []).append(line)
    return found


def write_keycaps(tdir, caps):
    """Writes tdir/keycaps.txt: the caps of the pictures just drawn ({name: [line, ...]}) over
    those it held of the others."""
    path = os.path.join(tdir, KEYCAPS)
    lines = read_keycaps(path)
    lines.update(caps)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(KEYCAPS_HEADER)
        for name in sorted(lines):
            for line in lines[name]:
                f.write(line + "\n")


def draw(name):
    w, h, module, func = PICTURES[name]
    town.DRAWN.clear()
    with following_caps():
        im = getattr(importlib.import_module(module), func)()
        if im.size != (w, h):
            raise SystemExit(f"{name}: drew {im.size}, expected {(w, h)}")
        cw, ch = canvas_size(name) if name not in PARTS else (pow2(w), pow2(h))
        out = on_canvas(im, cw, ch)
    # a cap drawn on a canvas that reached the picture by a way not followed above
    reached = {id(cap.origin) for cap in out.info.get("keycaps", [])}
    lost = [cap.label for cap in town.DRAWN if id(cap) not in reached]
    if lost:
        raise SystemExit(f"{name}: cannot tell where its key caps {lost} are")
    return out


def caps_of(name, picture):
    """The lines of keycaps.txt for a finished picture: its caps from the top left, each inside
    the picture's content."""
    w, h = PICTURES[name][:2]
    caps = sorted(picture.info.get("keycaps", []), key=lambda c: (round(c.y), round(c.x), c.label))
    lines = []
    for cap in caps:
        if cap.x < 0 or cap.y < 0 or cap.x + cap.w > w or cap.y + cap.h > h:
            raise SystemExit(f"{name}: the key cap {cap.label!r} lies outside the picture")
        lines.append(cap_line(name, cap))
    return lines


def build(name, tdir):
    """Draws and saves the picture; returns the lines of its caps in keycaps.txt."""
    picture = draw(name)
    save(picture, os.path.join(tdir, name))
    return caps_of(name, picture)


def parse(argv):
    """(lang, data dir, names) from the command line; SystemExit with the usage if bad."""
    args = list(argv[1:])
    lang = "ja"
    if args and args[0].startswith("--lang"):
        opt = args.pop(0)
        if "=" in opt:
            lang = opt.split("=", 1)[1]
        elif args:
            lang = args.pop(0)
        else:
            raise SystemExit(__doc__)
    if lang not in paint.LANGUAGES:
        raise SystemExit(f"unknown language {lang!r} (one of {', '.join(paint.LANGUAGES)})")
    if not args:
        raise SystemExit(__doc__)
    data, names = args[0], args[1:]
    everything = PICTURES if lang == "ja" else WORDED
    for name in names:
        if name not in PICTURES:
            raise SystemExit(f"unknown picture {name!r}")
        if name not in everything:
            raise SystemExit(f"{name} carries no words: the game shows the Japanese one")
    return lang, data, names or sorted(everything)


def main(argv):
    lang, data, names = parse(argv)
    set_language(lang)
    tdir = texture_dir(data, lang)
    os.makedirs(tdir, exist_ok=True)
    caps = {}
    for name in names:
        lines = build(name, tdir)
        if lines:
            caps[name] = lines
        print("made", os.path.join(os.path.relpath(tdir, data), name))
    # a picture drawn again without caps loses its lines
    write_keycaps(tdir, {name: caps.get(name, []) for name in names})
    print("made", os.path.join(os.path.relpath(tdir, data), KEYCAPS))


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main(sys.argv)
