"""Draw every picture into <data>/Texture/.

usage: make.py DATA_DIR [NAME ...]   (no names: all pictures)
"""

import importlib
import os
import sys

from figures import PARTS
from layout import PICTURES, canvas_size
from paint import on_canvas, pow2, save

# the figures' body parts come from figures.py
PICTURES = {**PICTURES, **PARTS}


def build(name, texture_dir):
    w, h, module, func = PICTURES[name]
    im = getattr(importlib.import_module(module), func)()
    if im.size != (w, h):
        raise SystemExit(f"{name}: drew {im.size}, expected {(w, h)}")
    cw, ch = canvas_size(name) if name not in PARTS else (pow2(w), pow2(h))
    save(on_canvas(im, cw, ch), os.path.join(texture_dir, name))


def main(argv):
    if len(argv) < 2:
        raise SystemExit(__doc__)
    texture_dir = os.path.join(argv[1], "Texture")
    os.makedirs(texture_dir, exist_ok=True)
    names = argv[2:] or sorted(PICTURES)
    for name in names:
        if name not in PICTURES:
            raise SystemExit(f"unknown picture {name!r}")
        build(name, texture_dir)
        print("made", name)


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main(sys.argv)
