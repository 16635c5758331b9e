"""Draw every picture into <data>/Texture/, or the English pictures into
<data>/lang/en/Texture/.

usage: make.py [--lang ja|en] DATA_DIR [NAME ...]   (no names: all pictures; in English,
all pictures that carry words)
"""

import importlib
import os
import sys

from figures import PARTS
from layout import PICTURES, WORDED, canvas_size
import paint
from paint import on_canvas, pow2, save
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


def draw(name):
    w, h, module, func = PICTURES[name]
    im = getattr(importlib.import_module(module), func)()
    if im.size != (w, h):
        raise SystemExit(f"{name}: drew {im.size}, expected {(w, h)}")
    cw, ch = canvas_size(name) if name not in PARTS else (pow2(w), pow2(h))
    return on_canvas(im, cw, ch)


def build(name, tdir):
    save(draw(name), os.path.join(tdir, name))


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
    for name in names:
        build(name, tdir)
        print("made", os.path.join(os.path.relpath(tdir, data), name))


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main(sys.argv)
