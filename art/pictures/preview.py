"""Compose a few screens of the game from the pictures in <data>/Texture, drawing
each sprite the way the game does (source rectangle, scale, rotation,
translation, white colour with alpha), to look at the pictures together.

usage: preview.py DATA_DIR OUT_DIR
"""

import math
import os
import sys

import numpy as np
from PIL import Image

TEX = {}


def tex(name):
    if name not in TEX:
        TEX[name] = Image.open(os.path.join(DATA, "Texture", name)).convert("RGBA")
    return TEX[name]


def mat(*ops):
    """Row-vector 3x3 affine from elementary ops applied in order."""
    m = np.eye(3)
    for op in ops:
        kind = op[0]
        if kind == "T":
            x = np.array([[1, 0, 0], [0, 1, 0], [op[1], op[2], 1]], float)
        elif kind == "S":
            x = np.array([[op[1], 0, 0], [0, op[2], 0], [0, 0, 1]], float)
        elif kind == "R":
            c, s = math.cos(op[1]), math.sin(op[1])
            x = np.array([[c, s, 0], [-s, c, 0], [0, 0, 1]], float)
        m = m @ x
    return m


def draw(screen, name, rect=None, m=None, alpha=255):
    t = tex(name)
    if rect is None:
        rect = (0, 0, t.width, t.height)
    l, tp, r, b = rect
    if r <= l or b <= tp:
        return
    # cut the source rectangle, wrapping like the texture addressing does
    a = np.asarray(t)
    rows = np.arange(tp, b) % t.height
    cols = np.arange(l, r) % t.width
    src = Image.fromarray(np.ascontiguousarray(a[rows][:, cols]), "RGBA")
    if m is None:
        m = np.eye(3)
    inv = np.linalg.inv(m)
    # output (X, Y) -> input (u, v): [X Y 1] @ inv
    data = (inv[0, 0], inv[1, 0], inv[2, 0], inv[0, 1], inv[1, 1], inv[2, 1])
    out = src.transform(screen.size, Image.AFFINE, data, resample=Image.BILINEAR)
    if alpha != 255:
        a = np.asarray(out).copy()
        a[..., 3] = (a[..., 3].astype(np.uint16) * (alpha & 0xFF) // 255).astype(np.uint8)
        out = Image.fromarray(a, "RGBA")
    screen.alpha_composite(out)


def T(x, y):
    return mat(("T", x, y))


def digits(screen, name, value, n, x, y, lead=True):
    for p in range(n):
        div = 10 ** (n - 1 - p)
        if not lead and p < n - 1 and value <= div - 1:
            continue
        d = (value // div) % 10
        draw(screen, name, (15 * d + 2, 0, 15 * d + 17, 32), T(x + 15 * p, y))


def logo(out, title_y=0, push=200, logo_alpha=0, mask=0):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    draw(s, "ti_bg.png", (0, 0, 640, 480))
    draw(s, "title_msk.png", (0, 0, 640, 480), alpha=mask)
    draw(s, "ti-mu.png", (0, 0, 512, 128), T(85, 160), alpha=logo_alpha)
    draw(s, "d.png", (0, 0, 640, 256), T(10, title_y))
    draw(s, "hari.png", (0, 0, 3, 80), mat(("T", -1, -1), ("R", math.pi), ("T", 1, 1),
                                            ("T", 310, title_y + 109)))
    draw(s, "hari.png", (0, 0, 3, 50), mat(("T", -1, -1), ("R", math.pi / 6), ("T", 1, 1),
                                            ("T", 310, title_y + 109)))
    draw(s, "PUSH KEY.png", (0, 0, 280, 80), T(205, 310), alpha=push)
    s.save(out)


def title(out, cursor=0, caption_x=60, angle=180 + 7 * 40, fade=0):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    draw(s, "ti_bg.png", (0, 0, 640, 480))
    draw(s, "title_msk.png", (0, 0, 200, 480), T(440, 0), 0x78)
    draw(s, "sc_moji.png", (0, 94, 640, 128), T(0, 420))
    draw(s, "sc_moji.png", (0, 32 * cursor, 530, 32 * cursor + 32), T(caption_x, 422))
    draw(s, "sc_moji.png", (540, 0, 875, 25), T(140, 460))
    sel = [(445, 240, (127, 0, 256, 41)), (445, 297, (127, 41, 265, 90)),
           (445, 359, (127, 90, 256, 136))]
    plain = [(472, 240, (0, 0, 127, 41)), (475, 297, (0, 41, 127, 90)),
             (474, 360, (0, 90, 127, 136))]
    for i in range(3):
        x, y, r = sel[i] if i == cursor else plain[i]
        sc = 1.5 if i == cursor else 1.0
        draw(s, "title_icn.png", r, mat(("S", sc, 1), ("T", x, y)))
    draw(s, "d.png", (0, 0, 640, 256), T(10, 0))
    for length, ang in ((80, angle), (50, angle // 12 + 15)):
        draw(s, "hari.png", (0, 0, 3, length),
             mat(("T", -1, -1), ("R", ang * 0.017453292), ("T", 1, 1), ("T", 310, 109)))
    draw(s, "title_msk.png", (0, 0, 640, 480), alpha=fade)
    draw(s, "NOWLOAD.png", (0, 0, 256, 64), T(350, 400), alpha=fade)
    s.save(out)


def option(out, gauge_right=900):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    draw(s, "Option.png", (0, 0, 640, 480))
    draw(s, "Option.png", (682, 0, gauge_right, 24), T(152, 124))
    s.save(out)


def help_screen(out, page):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    draw(s, "sora.png", (0, 0, 640, 480))
    draw(s, "help.png", (370 * page, 0, 370 * page + 361, 477), T(140, 2))
    s.save(out)


def simple(out, name):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    draw(s, name, (0, 0, 640, 480))
    s.save(out)


def result(out, rank, leg, count=12, elapsed=45000, score=16200, previous=23456, train_x=-200,
           fade=0):
    s = Image.new("RGBA", (640, 480), (255, 255, 255, 255))
    if rank == 1:
        draw(s, "GAMEOVER.png", (0, 0, 512, 128), T(115, 200))
    else:
        draw(s, "jikoku_g.png" if rank < 6 else "BB.png", (0, 0, 640, 480))
        if leg == 1:
            dep = {2: 475000, 3: 460000, 4: 443000, 5: 435000}[rank]
            draw(s, "suuji3.png", (15 * (dep // 60000) + 2, 0, 15 * (dep // 60000) + 17, 32),
                 T(265, 60))
            m = dep % 60000
            digits(s, "suuji3.png", m // 1000, 2, 355, 60)
        else:
            digits(s, "suuji3.png", previous, 6, 285, 60, lead=False)
        mm = elapsed % 60000
        digits(s, "suuji3.png", mm // 1000, 2, 265, 130)
        sec = (elapsed % 1000) * 60 // 1000
        digits(s, "suuji3.png", sec, 2, 355, 130)
        digits(s, "suuji3.png", count, 4, 320, 208, lead=False)
        digits(s, "suuji3.png", score, 6, 310, 325, lead=False)
        if leg == 1:
            draw(s, "densya.png", (0, 0, 1024, 64), T(train_x, 425))
        draw(s, "title_msk.png", (0, 0, 640, 480), alpha=fade)
        if leg == 1:
            draw(s, "NOWLOAD.png", (0, 0, 256, 64), T(350, 400), alpha=fade)
    s.save(out)


def game(out, leg=1, scroll=120, goal_x=2100, run_frames=310, gauge=60, gauge_bar=120,
         board=(1, 70, 512), clock=431500, late=0, item=1, stamp=None, count_in=None,
         scenery=None):
    s = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    sky = scroll % 639
    draw(s, "sora.png", (0, 0, 640, 480), T(-sky, 0))
    draw(s, "sora.png", (0, 0, 640, 480), T(640 - sky, 0))
    for cx, cy in ((60, 10), (300, 60), (520, -10)):
        draw(s, "kumo.png", (0, 0, 128, 128), T(cx, cy))
    pv = scroll % 390
    for k in range(3):
        draw(s, "hodou02.png", (0, 0, 391, 101), T(390 * k - pv, 380))
    sizes = {6: ("konbini.png", 25, 920, 360), 7: ("bill02a.png", -260, 450, 640),
             8: ("bill03.png", -70, 1580, 455), 9: ("ie01.png", 60, 360, 320),
             10: ("depato.png", -30, 680, 414), 0: ("ji.png", 230, 124, 174),
             1: ("denshi.png", -30, 125, 441), 3: ("post.png", 285, 72, 128),
             4: ("dustbox.png", 290, 87, 110)}
    for i in (6, 7, 8, 9, 10, 0, 1, 3, 4):
        if scenery and i in scenery:
            n, y, w, h = sizes[i]
            draw(s, n, (0, 0, w, h), T(scenery[i], y))
    draw(s, "eki.png" if leg == 1 else "gakkou.png", (0, 0, 962, 562), T(goal_x, -65))
    if leg == 2:
        draw(s, "eki2.png", (0, 0, 962, 562), T(-220 - scroll, -65))
    if count_in is not None:
        if count_in < 180:
            k = (count_in // 30) % 2
            draw(s, "ready.png", (k * 200, 0, 200, 50), T(250, 200))
        elif count_in < 220:
            draw(s, "ready.png", (0, 50, 120, 100), T(270, 200))
    draw(s, "st_meta.png", (0, 0, 202, 56), T(2, 2))
    draw(s, "st_meta.png", (0, 56, 191, 86), T(8, 22), 0x64)
    if gauge < 0:
        draw(s, "st_meta.png", (0, 176, 202, 236), T(5, 18))
    elif gauge_bar > 190:
        t = ((run_frames - 300) // 25) * 30
        draw(s, "st_meta.png", (0, t + 116, gauge_bar, t + 146), T(8, 22))
    else:
        draw(s, "st_meta.png", (0, 86, gauge_bar, 116), T(8, 22))
    draw(s, "item_win.png", (107, -3, 216, 110), T(5, 60), 0x50)
    draw(s, "item_win.png", (0, 0, 105, 110), T(5, 60))
    if item == 1:
        draw(s, "bag.png", (0, 0, 128, 128), T(25, 67))
    elif item == 2:
        draw(s, "kasa.png", (0, 0, 128, 128), mat(("R", math.pi / 4), ("T", 15, 37)))
    draw(s, "siro.png", (0, 0, 110, 48), T(500, 5), 0x64)
    draw(s, "waku.png", (0, 0, 128, 64), T(495, 0))
    dig = "suuji.png" if late else "suuji2.png"
    h = clock // 60000
    m = clock % 60000
    draw(s, dig, (15 * h + 2, 0, 15 * h + 17, 32), T(525, 20))
    draw(s, dig, (15 * (m // 10000) + 2, 0, 15 * (m // 10000) + 17, 32), T(555, 20))
    u = (m % 10000) // 1000
    draw(s, dig, (15 * u + 2, 0, 15 * u + 17, 32), T(570, 20))
    draw(s, "suuji2.png", (155, 0, 170, 32), T(540, 20))
    if leg == 1:
        k, reveal, bx = board
        draw(s, "denko.png", (0, 0, 160, 100), T(477, 55))
        draw(s, "denko.png", (162, 20 * k + 1, 292, 20 * k + 18), T(487, 66))
        draw(s, "denko.png", (162, 20 * k + 21, 162 + reveal, 20 * k + 38), T(bx + 47, 101))
    for px, gy in ((150, 280), (400, 260)):
        draw(s, "jikage.png", None, T(px - 35, gy + 150), 0x64)
    draw(s, "bo-bobo.png", (0, 0, 128, 256), mat(("S", 0.88, 0.88), ("T", 150 - 25, 280 - 40)),
         0x64)
    draw(s, "yazirusi.png", (0, 0, 32, 32), mat(("S", 0.6, 1), ("T", 140 + 15 + 10 - 6.6, 240)))
    if stamp:
        sx, sy, sc = stamp
        draw(s, "tikoku.png", (0, 0, 512, 512), mat(("S", sc, sc), ("T", sx, sy)))
    s.save(out)


def desktop(out, hand=0, distance=12000, train_x=500):
    W, H = 1280, 720
    s = Image.new("RGBA", (W, H), (40, 90, 140, 255))
    # a plain blue stands in for the desktop picture
    ox, oy = 300, 150
    g = Image.open(os.path.join(OUT, "game_leg1.png")).convert("RGBA")
    frame = Image.new("RGBA", (640, 21), (230, 230, 236, 255))
    s.alpha_composite(frame, (ox, oy - 21))
    s.alpha_composite(g, (ox, oy))
    draw(s, "minimap.png", (0, 0, 640, 64), T(ox, oy - 85))
    draw(s, "minicha.png", (0, 0, 640, 64), T(ox + distance * 560 // 32300 + 25, oy - 75))
    draw(s, "densya.png", (0, 0, 1024, 64), T(train_x, oy - 90))
    draw(s, "dustbox.png", (0, 0, 128, 137), T(ox + 700, oy + 40))
    if hand is not None:
        draw(s, "te.png", (0, 0, 512, 512), mat(("S", 2, 2), ("T", ox - hand - 605, 3)))
        draw(s, "te.png", (0, 0, 512, 512),
             mat(("S", -2, 2), ("T", W + hand - ox + 570, 3)))
    s.save(out)


def main():
    global DATA, OUT
    DATA, OUT = sys.argv[1], sys.argv[2]
    os.makedirs(OUT, exist_ok=True)
    p = lambda n: os.path.join(OUT, n)
    logo(p("logo_start.png"), title_y=-250, push=0, logo_alpha=200, mask=255)
    logo(p("logo_end.png"))
    title(p("title0.png"), 0)
    title(p("title1.png"), 1, caption_x=200)
    title(p("title_fade.png"), 2, fade=200)
    option(p("option.png"))
    for k in range(7):
        help_screen(p(f"help{k}.png"), k)
    simple(p("charaselect.png"), "charaselect.png")
    result(p("result_leg1.png"), 3, 1)
    result(p("result_leg2.png"), 6, 2, count=37, elapsed=31750, score=33550)
    result(p("result_over.png"), 1, 1)
    game(p("game_leg1.png"), scenery={6: 200, 0: 60, 1: 30, 3: 470, 4: 560}, count_in=10)
    game(p("game_leg1b.png"), scenery={8: -300, 9: 420}, gauge=96, gauge_bar=192,
         board=(2, 40, 542), clock=436000, item=2)
    game(p("game_leg1c.png"), scenery={7: -40, 10: 420}, gauge=-1, clock=481000, late=1,
         stamp=(88, 0, 1.0))
    game(p("game_goal.png"), goal_x=-20, clock=452000, count_in=190)
    game(p("game_leg2.png"), leg=2, goal_x=2100, scroll=60, clock=486000)
    game(p("game_school.png"), leg=2, goal_x=0, scroll=2000, clock=520000)
    desktop(p("desktop.png"), hand=0)
    desktop(p("desktop_hands_out.png"), hand=600, distance=32300, train_x=-300)


if __name__ == "__main__":
    main()
