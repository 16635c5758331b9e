"""Check the pictures in <data>/Texture, and the English ones in <data>/lang/en/Texture,
against the rectangles the game cuts out of them.

usage: check_rects.py [DATA_DIR]     (default: data/ of the repository)

For every picture: the file exists, is an RGBA PNG on a power-of-two canvas
that is the content size rounded up, nothing visible lies outside the content,
and every source rectangle or draw size the game uses lies inside the content
and the canvas.  A few pictures get checks of their own (opaque screens,
seamless tiles, cells that must stay empty, the white sheet, the held bag, the
end picture).

The English set holds exactly the pictures that carry words (layout.WORDED), each on the
same canvas with the same content size and the same checks as its Japanese one; and its
words stay inside the rectangles: every texel where it differs from the Japanese picture
lies inside one of the picture's rectangles and outside the areas that must stay clear
(or, for a picture the game loads but never draws, inside its content)."""

import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from layout import PICTURES, WHOLE, WORDED, canvas_size  # noqa: E402
from figures import PARTS, PART_RECTS, WHOLE_PARTS, joint_problems  # noqa: E402
from paint import pow2  # noqa: E402

# the figures' body parts (figures.py): their rectangles, and their joints are checked too
PICTURES = {**PICTURES, **PARTS}
WHOLE = WHOLE | WHOLE_PARTS
_scene_canvas_size = canvas_size


def canvas_size(name):
    if name in PARTS:
        return pow2(PARTS[name][0]), pow2(PARTS[name][1])
    return _scene_canvas_size(name)

FULL = (0, 0, 640, 480)


def digit_cells():
    return [(15 * d + 2, 0, 15 * d + 17, 32) for d in range(10)]


# file -> list of (left, top, right, bottom, where it is used)
RECTS = {
    "title_msk.png": [FULL + ("logo sheet, title/help fade, result and run white-out",),
                      (0, 0, 200, 480, "title menu panel at (440, 0)")],
    "ti-mu.png": [(0, 0, 512, 128, "opening logo at (85, 160)")],
    "ti_bg.png": [FULL + ("logo and title background",)],
    "d.png": [(0, 0, 640, 256, "title picture at (10, titleY)")],
    "PUSH KEY.png": [(0, 0, 280, 80, "push-key sign at (205, 310)")],
    "hari.png": [(0, 0, 3, 80, "long hand"), (0, 0, 3, 50, "short hand")],
    "Sl_bg.png": [],
    "title_icn.png": [(127, 0, 256, 41, "entry 0 selected, x1.5 at (445, 240)"),
                      (0, 0, 127, 41, "entry 0 plain at (472, 240)"),
                      (127, 41, 265, 90, "entry 1 selected, x1.5 at (445, 297)"),
                      (0, 41, 127, 90, "entry 1 plain at (475, 297)"),
                      (127, 90, 256, 136, "entry 2 selected, x1.5 at (445, 359)"),
                      (0, 90, 127, 136, "entry 2 plain at (474, 360)")],
    "sc_moji.png": [(0, 94, 640, 128, "band at (0, 420)"),
                    (0, 0, 530, 32, "caption 0 at (captionX, 422)"),
                    (0, 32, 530, 64, "caption 1"),
                    (0, 64, 530, 96, "caption 2"),
                    (540, 0, 875, 25, "fixed line at (140, 460)")],
    "NOWLOAD.png": [(0, 0, 256, 64, "now loading at (350, 400)")],
    "charaselect.png": [FULL + ("character select screen",)],
    "Option.png": [FULL + ("option screen",),
                   (682, 0, 1024, 24, "gauge strip at (152, 124), right edge 682..1024")],
    "sora.png": [FULL + ("sky at (-skyScroll, 0) and (640 - skyScroll, 0); help background",)],
    "help.png": [(370 * k, 0, 370 * k + 361, 477, f"help page {k + 1} at (140, 2)")
                 for k in range(7)],
    "densya.png": [(0, 0, 1024, 64, "train at (trainX, 425) / (trainX, O.y - 90)")],
    "GAMEOVER.png": [(0, 0, 512, 128, "end picture at (115, 200)")],
    "BB.png": [FULL + ("leg 2 result",)],
    "jikoku_g.png": [FULL + ("leg 1 result",)],
    "suuji3.png": [r + (f"result digit {i}",) for i, r in enumerate(digit_cells())],
    "ready.png": [(0, 0, 200, 50, "count-in first picture at (250, 200)"),
                  (200, 0, 200, 50, "count-in blink: empty rectangle"),
                  (0, 50, 120, 100, "count-in second picture at (270, 200)")],
    "char1.png": [],
    "hodou02.png": [(0, 0, 391, 101, "sidewalk every 390 at y 380")],
    "kaban.png": [],
    "ji.png": [(0, 0, 124, 174, "scenery 0 at y 230")],
    "denshi.png": [(0, 0, 125, 441, "scenery 1 at y -30")],
    "post.png": [(0, 0, 72, 128, "scenery 3 at y 285")],
    "dustbox.png": [(0, 0, 87, 110, "scenery 4 at y dustboxY"),
                    (0, 0, 128, 137, "kicked dust box on the desktop")],
    "konbini.png": [(0, 0, 920, 360, "scenery 6 at y 25")],
    "bill02a.png": [(0, 0, 450, 640, "scenery 7 at y -260")],
    "bill03.png": [(0, 0, 1580, 455, "scenery 8 at y -70")],
    "ie01.png": [(0, 0, 360, 320, "scenery 9 at y 60")],
    "depato.png": [(0, 0, 680, 414, "scenery 10 at y -30")],
    "jikage.png": [(0, 0, 128, 32, "shadow, drawn whole at (x - 35, groundY + 150)")],
    "effe.png": [],
    "suuzi.png": [],
    "eki.png": [(0, 0, 962, 562, "goal of leg 1 at (goalX, -65)")],
    "gakkou.png": [(0, 0, 962, 562, "goal of leg 2 at (goalX, -65)")],
    "eki2.png": [(0, 0, 962, 562, "departure station of leg 2 at (startStationX, -65)")],
    "st_meta.png": [(0, 0, 202, 56, "gauge frame at (2, 2)"),
                    (0, 56, 191, 86, "gauge back plate at (8, 22)"),
                    (0, 176, 202, 236, "used plate at (5, 18)"),
                    (0, 86, 192, 116, "bar, width gaugeBar 0..190")] +
                   [(0, t + 116, 192, t + 146, f"full bar, t = {t}, width 191..192")
                    for t in (0, 30)],
    "suuji2.png": [r + (f"clock digit {i}",) for i, r in enumerate(digit_cells())] +
                  [(155, 0, 170, 32, "clock colon at (540, 20)")],
    "suuji.png": [r + (f"late clock digit {i}",) for i, r in enumerate(digit_cells())],
    "waku.png": [(0, 0, 128, 64, "clock frame at (495, 0)")],
    "siro.png": [(0, 0, 110, 48, "clock plate at (500, 5)")],
    "item_win.png": [(107, -3, 216, 110, "item back plate at (5, 60); top rows wrap"),
                     (0, 0, 105, 110, "item frame at (5, 60)")],
    "bag.png": [(0, 0, 128, 128, "item 1 in the window at (25, 67)"),
                (0, 0, 128, 128, "held by the figure, drawn whole")],
    "kasa.png": [(0, 0, 128, 128, "item 2 turned by pi/4, at (15, 37)"),
                 (0, 0, 128, 128, "held by the figure, drawn whole")],
    "ARROW.png": [],
    "suuji_s.png": [],
    "denko.png": [(0, 0, 160, 100, "station board at (477, 55)")] +
                 [(162, 20 * k + 1, 292, 20 * k + 18, f"current line {k}") for k in range(6)] +
                 [(162, 20 * k + 21, 304, 20 * k + 38,
                   f"incoming line {k + 1}, reveal up to 142") for k in range(6)],
    "minimap.png": [(0, 0, 640, 64, "minimap at (O.x, O.y - 85)")],
    "minicha.png": [(0, 0, 640, 64, "runner marker on the minimap")],
    "tikoku.png": [(0, 0, 512, 512, "late stamp, scaled, at (stampX, stampY)")],
    "kumo.png": [(0, 0, 128, 128, "cloud")],
    "bo-bobo.png": [(0, 0, 128, 256, "power aura, scaled by the player's scale")],
    "yazirusi.png": [(0, 0, 32, 32, "arrow over the player, x scale -1..1")],
    "te.png": [(0, 0, 512, 512, "hands of the special move, scaled by 2 / (-2, 2)")],
}

RECTS.update(PART_RECTS)

# rectangles whose rows above the texture wrap to its bottom rows
WRAPS = {("item_win.png", 107, -3, 216, 110)}

# areas that must stay fully transparent (so no neighbour shows in a cut)
CLEAR = {
    "sc_moji.png": [(0, 94, 640, 96, "band rows inside caption 2's rectangle"),
                    (530, 0, 540, 94, "gap before the fixed line"),
                    (540, 20, 875, 32, "fixed line's rows below the window (drawn at y 460)")],
    "denko.png": [(292, 0, 304, 139, "past the end of the board lines")] +
                 [(162, 20 * k, 304, 20 * k + 1, f"gap above line {k}") for k in range(7)],
    "minicha.png": [(40, 0, 640, 64, "right of the marker")],
    "d.png": [(435, 235, 640, 256, "over the first menu entry, drawn after the menu")],
    "ready.png": [(120, 50, 200, 100, "beside the second picture")],
    "title_icn.png": [(0, 136, 265, 137, "below the rows"),
                      (257, 0, 265, 136, "past the window's right edge when stretched from 445")],
    "dustbox.png": [(87, 0, 128, 137, "right of the box"), (0, 110, 128, 137, "below the box")],
}

# full-screen pictures that must be opaque over (0, 0, 640, 480)
OPAQUE = ["ti_bg.png", "title_msk.png", "Sl_bg.png", "charaselect.png", "Option.png",
          "sora.png", "BB.png", "jikoku_g.png"]

# rectangles that must show something
MAY_BE_EMPTY = {("ready.png", 200, 0, 200, 50)}

# figures' body parts are made elsewhere
BODY_PARTS = {"atama.png", "karada.png", "ude1.png", "ude2.png", "kosi.png", "asi1.png",
              "asi2.png", "atama2.png", "atama3.png"} | {
    f"t{i}_{p}.png" for i in (1, 2, 3)
    for p in ("atama", "karada", "ude1", "ude2", "asi1", "asi2", "kosi")}


def _rgba(tdir, name):
    path = os.path.join(tdir, name)
    if not os.path.exists(path):
        return None
    return np.asarray(Image.open(path).convert("RGBA")).astype(int)


def own_problems(tdir):
    """Checks of single pictures, each for a fault a player would see."""
    problems = []
    # The fades and the title's menu panel are cut from one white sheet: any shading in it
    # would show as a band over the left of the screen while it fades.
    a = _rgba(tdir, "title_msk.png")
    if a is not None and not (a[:480, :640] == 255).all():
        problems.append("title_msk.png: the white sheet is not plain white over (0, 0, 640, 480)")
    # The menu panel's edge at x 440 runs along the outline of the pole in the background;
    # without a dark column there, the panel's edge shows as a seam.
    a = _rgba(tdir, "ti_bg.png")
    if a is not None:
        edge = a[:480, 439, :3].max(axis=1)
        if (edge > 96).any():
            problems.append(f"ti_bg.png: column 439 is not dark in rows "
                            f"{np.nonzero(edge > 96)[0][[0, -1]].tolist()} (the menu panel's "
                            f"edge at x 440 would show)")
    # The bag in the runner's hand: its handle's top is where the fist grips, and it is
    # small beside his body, which it swings in front of when he attacks or stumbles.
    bag, body = _rgba(tdir, "bag.png"), _rgba(tdir, "karada.png")
    if bag is not None and body is not None:
        rows = np.nonzero(bag[:, 36, 3] > 0)[0]
        if len(rows) == 0 or not 3 <= rows[0] <= 10:
            problems.append("bag.png: the handle's top is not at about (36, 7), where the "
                            "fist grips")
        bag_area = (bag[..., 3] > 0).sum()
        body_area = (body[:81, :50, 3] > 0).sum()
        if bag_area > body_area / 2:
            problems.append(f"bag.png: paints {bag_area} texels, more than half of the body's "
                            f"{body_area}: it hides the runner")
    # The end picture is drawn at (115, 200): its words stand in the middle of the screen.
    a = _rgba(tdir, "GAMEOVER.png")
    if a is not None:
        xs = np.nonzero((a[:128, :512, 3] > 0).any(axis=0))[0]
        if len(xs) == 0 or abs((xs[0] + xs[-1] + 1) / 2 - 205) > 3:
            problems.append("GAMEOVER.png: its painting is not centred on x 205 (the screen's "
                            "middle)")
    return problems


def is_pow2(n):
    return n > 0 and n & (n - 1) == 0


def check_set(tdir, names, err):
    """The checks of every picture in `names` found in tdir."""
    for name in sorted(names):
        path = os.path.join(tdir, name)
        if not os.path.exists(path):
            err(f"{name}: missing")
            continue
        im = Image.open(path)
        cw, ch = im.size
        cont_w, cont_h = PICTURES[name][:2]
        print(f"{name:18s} canvas {cw:4d} x {ch:<4d} content {cont_w:4d} x {cont_h:<4d}")
        if im.mode != "RGBA":
            err(f"{name}: mode {im.mode}, expected RGBA")
            continue
        if not (is_pow2(cw) and is_pow2(ch)):
            err(f"{name}: canvas {cw} x {ch} is not power-of-two")
        if (cw, ch) != canvas_size(name):
            err(f"{name}: canvas {cw} x {ch}, expected {canvas_size(name)}")
        alpha = np.asarray(im)[..., 3]
        ys, xs = np.nonzero(alpha)
        if len(xs) == 0:
            err(f"{name}: nothing visible")
            continue
        bw, bh = xs.max() + 1, ys.max() + 1
        if bw > cont_w or bh > cont_h:
            err(f"{name}: visible pixels reach {bw} x {bh}, beyond the content "
                f"{cont_w} x {cont_h}")
        if name in WHOLE and (cont_w, cont_h) != (cw, ch):
            err(f"{name}: drawn whole, so its content must fill the canvas")
        for l, t, r, b, where in RECTS[name]:
            wraps = (name, l, t, r, b) in WRAPS
            ok = 0 <= l <= r <= cont_w and b <= cont_h and (0 <= t or wraps) and t <= b
            ok = ok and r <= cw and b <= ch
            if wraps and t < 0 and not (alpha[ch + t:ch, l:r] > 0).all():
                # rows t..-1 come from the bottom rows of the canvas
                err(f"{name}: wrapped rows of ({l}, {t}, {r}, {b}) are not painted")
            status = "ok" if ok else "OUTSIDE"
            print(f"    ({l:4d}, {t:4d}, {r:4d}, {b:4d})  {status:7s} {where}")
            if not ok:
                err(f"{name}: rectangle ({l}, {t}, {r}, {b}) for {where} lies outside "
                    f"the content {cont_w} x {cont_h} or the canvas {cw} x {ch}")
            elif r > l and b > t and (name, l, t, r, b) not in MAY_BE_EMPTY:
                tt = max(t, 0)
                if not (alpha[tt:b, l:r] > 0).any():
                    err(f"{name}: rectangle ({l}, {t}, {r}, {b}) for {where} shows nothing")
        for l, t, r, b, what in CLEAR.get(name, []):
            if (alpha[t:b, l:r] > 0).any():
                err(f"{name}: ({l}, {t}, {r}, {b}) should be clear ({what})")
        if name in OPAQUE and not (alpha[0:480, 0:640] == 255).all():
            err(f"{name}: the screen area (0, 0, 640, 480) is not opaque")


def check_tiles(tdir, err):
    """Tiles that repeat side by side."""
    sky = os.path.join(tdir, "sora.png")
    if os.path.exists(sky):
        a = np.asarray(Image.open(sky).convert("RGBA")).astype(int)
        if np.abs(a[:480, 0] - a[:480, 639]).max() > 24:
            err("sora.png: its left and right edges do not meet (it is drawn twice side by side)")
    walk = os.path.join(tdir, "hodou02.png")
    if os.path.exists(walk):
        a = np.asarray(Image.open(walk).convert("RGBA")).astype(int)
        if np.abs(a[:101, 0] - a[:101, 390]).max() > 0:
            err("hodou02.png: column 390 must repeat column 0 (the tile repeats every 390)")


def words_outside(ja, en, name):
    """Where the English picture differs from the Japanese one outside the picture's
    rectangles or inside an area that must stay clear: [(x0, y0, x1, y1, what)]."""
    if ja.shape != en.shape:
        return [(0, 0, en.shape[1], en.shape[0], "the canvas differs in size")]
    changed = (ja != en).any(axis=2) & ((ja[..., 3] > 0) | (en[..., 3] > 0))
    inside = np.zeros(changed.shape, dtype=bool)
    if not RECTS[name]:
        # loaded but never drawn: no rectangle to keep to, only its content
        w, h = PICTURES[name][:2]
        inside[:h, :w] = True
    for l, t, r, b, _ in RECTS[name]:
        inside[max(t, 0):b, l:r] = True
    for l, t, r, b, _ in CLEAR.get(name, []):
        inside[t:b, l:r] = False
    out = []
    ys, xs = np.nonzero(changed & ~inside)
    if len(xs):
        out.append((int(xs.min()), int(ys.min()), int(xs.max()) + 1, int(ys.max()) + 1,
                    f"{len(xs)} texels of the English words outside the rectangles"))
    return out


def check_english(data, err):
    """The English set: the pictures with words, nothing else, their words in place."""
    tdir = os.path.join(data, "lang", "en", "Texture")
    jdir = os.path.join(data, "Texture")
    print(f"\nEnglish pictures in {os.path.relpath(tdir, data)}:")
    check_set(tdir, WORDED, err)
    for name in sorted(WORDED):
        en, ja = _rgba(tdir, name), _rgba(jdir, name)
        if en is None or ja is None:
            continue
        if en.shape != ja.shape:
            err(f"{name}: English canvas {en.shape[1]} x {en.shape[0]}, Japanese "
                f"{ja.shape[1]} x {ja.shape[0]}")
            continue
        spill = words_outside(ja, en, name)
        for x0, y0, x1, y1, what in spill:
            err(f"{name}: {what}, within ({x0}, {y0}, {x1}, {y1})")
        n = int((ja != en).any(axis=2).sum())
        print(f"  {name:18s} {n:7d} texels differ from the Japanese, "
              f"{'all inside its rectangles' if not spill else 'SOME OUTSIDE'}")
    for msg in own_problems(tdir):
        err(msg)
    if os.path.isdir(tdir):
        # pictures only: the build's notes beside them (keycaps.txt) are the English set's own
        pictures = {n for n in os.listdir(tdir) if n.lower().endswith(".png")}
        for name in sorted(pictures - WORDED):
            err(f"{name}: in the English folder but carries no words (the game would open "
                f"it instead of the Japanese one for nothing)")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "data")
    tdir = os.path.join(data, "Texture")
    errors = []

    def err(msg):
        errors.append(msg)
        print("  FAIL", msg)

    if set(RECTS) != set(PICTURES):
        err(f"rectangle table and picture list differ: {set(RECTS) ^ set(PICTURES)}")
    if not WORDED <= set(PICTURES):
        err(f"pictures with words that are not pictures: {WORDED - set(PICTURES)}")

    check_set(tdir, RECTS, err)
    check_tiles(tdir, err)
    for msg in joint_problems(tdir):
        err(msg)
    for msg in own_problems(tdir):
        err(msg)

    # anything else in the folder?
    if os.path.isdir(tdir):
        extra = sorted(set(os.listdir(tdir)) - set(RECTS) - BODY_PARTS)
        for name in extra:
            print(f"  note: {name} is not one of the pictures made here")

    check_english(data, err)

    print()
    if errors:
        print(f"{len(errors)} problem(s)")
        return 1
    n = sum(len(v) for v in RECTS.values())
    n_en = sum(len(RECTS[k]) for k in WORDED)
    print(f"all {len(RECTS)} pictures and {n} rectangles check out; in English "
          f"{len(WORDED)} pictures and {n_en} rectangles")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
