"""The figures' body parts: the runner (a schoolboy in a black school uniform with his
bag) and the three looks of the passers-by (t1_ an office worker in a suit, t2_ a young
woman on her way to the office, t3_ a grandfather out for his morning walk), and the
runner's two other heads (atama2 when he stumbles, atama3 when he attacks).

The game puts a figure together from seven pictures, each turned about fixed joints
and moved to an anchor near the figure's position (x, y).  Everything here is drawn in
the pixels of each picture, but it is easiest to think of the figure standing at
(0, 0), full size, facing right:

    head      picture at (-10, -10), 64 x 64      neck under the chin near (20, 46)
    body      picture at ( -5,  46), 50 x 81      near shoulder (2, 63), far (37, 68)
    hip       picture at ( -3, 105), 70 x 35      covers the tops of the legs
    upper arm shoulder at (12, 10) of its picture, elbow at (12, 35)
    lower arm elbow at (12, 10), the fist at about (12, 29), where the bag's handle is
    upper leg hip at (15, 10), knee at (15, 40)
    lower leg knee at (15, 10), the sole at row 28, just below the line y + 150
              where the feet stand, so that they stand in their shadow

The legs turn about (15, 105) and (23, 105), the arms about their shoulders; the
whole figure but the head sways about the neck (20, 48) and the figure leans about
(20, 30) while the head turns about its own point (10, 10).  Each limb is therefore a
rounded capsule whose ends are circles about its joints: the part drawn on top keeps
covering the one below at any angle.  When the game mirrors a figure it flips each
picture about its own anchor, which moves the parts by two to six pixels against each
other: the overlaps are wide enough for that too (see FIGURES.md).
"""

import math

import numpy as np
from PIL import Image

from paint import Canvas, WHITE, rgba, mix, shade

INK = (34, 36, 54, 255)     # outlines of the figures, a shade darker than the town's
OW = 1.7                    # outline width in final pixels
SS = 8                      # supersampling of these small pictures

SKIN = (255, 221, 192)
SKIN_SHADE = (240, 186, 158)
BLUSH = (255, 150, 150, 120)
WHITE3 = (255, 255, 255)
GOLD = (255, 204, 70)


# ---------------------------------------------------------------------------
# geometry: outlined blobs made of circles (convex hulls), clipping
# ---------------------------------------------------------------------------

def _hull(points):
    pts = sorted(set(points))
    if len(pts) <= 2:
        return pts

    def cross(o, a, b):
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])

    lower, upper = [], []
    for p in pts:
        while len(lower) >= 2 and cross(lower[-2], lower[-1], p) <= 0:
            lower.pop()
        lower.append(p)
    for p in reversed(pts):
        while len(upper) >= 2 and cross(upper[-2], upper[-1], p) <= 0:
            upper.pop()
        upper.append(p)
    return lower[:-1] + upper[:-1]


def hull(circles, grow=0.0, n=72):
    """Outline of the convex hull of circles (cx, cy, r), each grown by `grow`."""
    pts = []
    for cx, cy, r in circles:
        rr = r + grow
        for i in range(n):
            a = 2 * math.pi * i / n
            pts.append((round(cx + rr * math.cos(a), 4), round(cy + rr * math.sin(a), 4)))
    return _hull(pts)


def blob(c, circles, fill, ink=INK, ow=OW):
    """A rounded shape with its outline outside it."""
    if ow:
        c.poly(hull(circles, ow), fill=ink)
    c.poly(hull(circles), fill=fill)


def shape(c, pts, fill, ink=INK, ow=OW):
    """A polygon with an outline centred on its edge."""
    c.poly(pts, fill=fill, outline=ink if ow else None, width=ow)


def clip_to(c, pts, draw):
    """Draw into a layer with `draw(layer)` and keep only what falls inside polygon pts."""
    layer = c.layer()
    draw(layer)
    mask = np.asarray(c._mask("poly", pts), dtype=np.uint16)
    a = np.asarray(layer.im).copy()
    a[..., 3] = (a[..., 3].astype(np.uint16) * mask // 255).astype(np.uint8)
    c.im.alpha_composite(Image.fromarray(a, "RGBA"))


def seg(c, pts, col, w):
    c.line(pts, col, w)


class Moved:
    """Draws on a picture in the coordinates of the whole figure standing at (0, 0):
    figure point (X, Y) is picture point (X - ox, Y - oy)."""

    def __init__(self, c, ox, oy):
        self.c, self.ox, self.oy = c, ox, oy

    def P(self, x, y):
        return (x - self.ox, y - self.oy)

    def pts(self, pts):
        return [self.P(x, y) for x, y in pts]

    def circles(self, circles):
        return [(x - self.ox, y - self.oy, r) for x, y, r in circles]


# ---------------------------------------------------------------------------
# looks
# ---------------------------------------------------------------------------

class Look:
    def __init__(self, **kw):
        self.__dict__.update(kw)


PLAYER = Look(
    name="player",
    cloth=(52, 58, 88), cloth_dark=(36, 40, 62), cloth_light=(86, 97, 140),
    legs=(52, 58, 88), legs_dark=(36, 40, 62), legs_light=(80, 90, 128),
    shoe=(232, 74, 95), shoe_dark=(184, 46, 70), sole=WHITE3, shoe_kind="sneaker",
    cuff=None, hip=(52, 58, 88), hip_dark=(36, 40, 62), skirt=False,
    hand=SKIN,
)

SALARYMAN = Look(
    name="t1",
    cloth=(96, 108, 132), cloth_dark=(72, 80, 102), cloth_light=(132, 146, 172),
    legs=(96, 108, 132), legs_dark=(72, 80, 102), legs_light=(128, 140, 166),
    shoe=(58, 48, 52), shoe_dark=(36, 30, 34), sole=(36, 30, 34), shoe_kind="leather",
    cuff=WHITE3, hip=(96, 108, 132), hip_dark=(72, 80, 102), skirt=False,
    hand=SKIN,
)

OFFICE = Look(
    name="t2",
    cloth=(244, 134, 154), cloth_dark=(214, 100, 124), cloth_light=(255, 182, 196),
    legs=(240, 200, 176), legs_dark=(220, 172, 148), legs_light=(252, 222, 202),
    shoe=(58, 68, 120), shoe_dark=(40, 46, 88), sole=(40, 46, 88), shoe_kind="pump",
    cuff=WHITE3, hip=(58, 68, 120), hip_dark=(42, 48, 92), skirt=True,
    hand=SKIN,
)

GRANDPA = Look(
    name="t3",
    cloth=(204, 156, 74), cloth_dark=(170, 124, 54), cloth_light=(232, 194, 118),
    legs=(112, 112, 122), legs_dark=(88, 88, 98), legs_light=(146, 146, 156),
    shoe=(128, 78, 46), shoe_dark=(96, 56, 32), sole=(70, 44, 30), shoe_kind="leather",
    cuff="rib", hip=(112, 112, 122), hip_dark=(88, 88, 98), skirt=False,
    hand=SKIN,
)

LOOKS = {"player": PLAYER, "t1": SALARYMAN, "t2": OFFICE, "t3": GRANDPA}


# ---------------------------------------------------------------------------
# limbs (drawn in the pixels of their own pictures)
# ---------------------------------------------------------------------------

def _limb(c, p0, r0, p1, r1, fill, dark, light):
    """A tapered capsule with a cel shade down its back and a light down its front."""
    circles = [(p0[0], p0[1], r0), (p1[0], p1[1], r1)]
    blob(c, circles, fill)
    inner = hull(circles)

    def paint(L):
        # the shade: the back (left) third of the limb
        L.poly([(p0[0] - r0 - 2, p0[1] - r0 - 2), (p0[0] - r0 * 0.35, p0[1] - r0 - 2),
                (p1[0] - r1 * 0.35, p1[1] + r1 + 2), (p1[0] - r1 - 2, p1[1] + r1 + 2)],
               fill=dark)
        # a thin light along the front
        L.line([(p0[0] + r0 * 0.5, p0[1] - r0 * 0.2), (p1[0] + r1 * 0.5, p1[1])], light,
               max(1.0, r1 * 0.3))

    clip_to(c, inner, paint)


def upper_arm(look):
    """Shoulder at (12, 10), elbow at (12, 35)."""
    c = Canvas(32, 64, ss=SS)
    _limb(c, (12, 10), 7.6, (12, 35), 6.6, look.cloth, look.cloth_dark, look.cloth_light)
    # a crease at the elbow end, for the look of a sleeve
    seg(c, [(9.5, 31.5), (14.5, 32.5)], look.cloth_dark, 1.0)
    return c.image()


def hand(c, cx, cy, col, r=5.4):
    """A fist seen from the side, thumb toward the front (right)."""
    blob(c, [(cx, cy, r), (cx + 0.6, cy + 1.6, r * 0.92)], col)
    clip_to(c, hull([(cx, cy, r), (cx + 0.6, cy + 1.6, r * 0.92)]),
            lambda L: L.ellipse(cx - r - 2, cy - r, cx - r * 0.35, cy + r + 3, fill=SKIN_SHADE))
    # thumb and knuckle lines
    seg(c, [(cx + 1.2, cy - 2.4), (cx + r * 0.95, cy - 0.2), (cx + r * 0.6, cy + 1.6)], INK, 0.9)
    seg(c, [(cx - 2.2, cy + 2.6), (cx + 0.8, cy + 3.0)], SKIN_SHADE, 0.8)


def lower_arm(look):
    """Elbow at (12, 10), fist at about (12, 29): it grips the bag's handle there."""
    c = Canvas(32, 64, ss=SS)
    hand(c, 12.2, 29.0, look.hand)
    _limb(c, (12, 10), 6.6, (12, 21.5), 5.8, look.cloth, look.cloth_dark, look.cloth_light)
    if look.cuff == "rib":
        blob(c, [(9.2, 22.5, 1.8), (14.8, 22.5, 1.8)], look.cloth_dark, ow=1.2)
        for x in (9.5, 11.5, 13.5, 15.0):
            seg(c, [(x, 21.2), (x, 23.8)], shade(look.cloth_dark, 0.8), 0.6)
    elif look.cuff is not None:
        blob(c, [(9.0, 23.2, 1.6), (15.2, 23.2, 1.6)], look.cuff, ow=1.2)
    else:
        # the school jacket's cuff: a band with two gold buttons
        seg(c, [(6.8, 19.0), (17.2, 19.0)], look.cloth_dark, 1.2)
        c.circle(15.6, 21.0, 1.2, fill=GOLD, outline=INK, width=0.5)
        c.circle(15.6, 24.0, 1.2, fill=GOLD, outline=INK, width=0.5)
    return c.image()


def upper_leg(look):
    """Hip at (15, 10), knee at (15, 40)."""
    c = Canvas(32, 64, ss=SS)
    _limb(c, (15, 10), 8.6, (15, 40), 7.8, look.legs, look.legs_dark, look.legs_light)
    return c.image()


def shoe(c, look):
    kind = look.shoe_kind
    if kind == "sneaker":
        up = [(11.2, 22.0, 4.8), (24.0, 23.6, 4.4), (28.6, 25.0, 3.0)]
        blob(c, up, look.shoe)
        clip_to(c, hull(up), lambda L: L.rect(0, 25.2, 40, 40, fill=look.sole))
        seg(c, [(6.8, 25.2), (31.2, 25.2)], INK, 0.8)
        for x in (17.2, 20.0, 22.8):
            seg(c, [(x - 1.2, 20.2), (x + 1.2, 21.6)], WHITE, 1.1)
        c.circle(9.6, 22.0, 1.0, fill=WHITE)
    elif kind == "leather":
        up = [(11.2, 22.6, 4.6), (24.6, 24.2, 3.8), (28.8, 25.4, 2.6)]
        blob(c, up, look.shoe)
        clip_to(c, hull(up), lambda L: L.rect(0, 26.2, 40, 40, fill=look.sole))
        seg(c, [(19.0, 21.6), (25.0, 22.6)], (255, 255, 255, 150), 1.1)
    else:  # pump with a low heel
        up = [(12.0, 22.4, 3.8), (24.6, 24.8, 3.2), (28.4, 26.0, 2.2)]
        blob(c, up, look.shoe)
        shape(c, [(9.4, 24.0), (12.6, 24.0), (12.0, 28.4), (9.8, 28.4)], look.shoe_dark, ow=1.0)
        seg(c, [(15.0, 21.4), (24.0, 22.6)], (255, 255, 255, 130), 1.0)


def lower_leg(look):
    """Knee at (15, 10), ankle at (15, 20), the sole at row 28 with the toe to the right."""
    c = Canvas(64, 32, ss=SS)
    if look.shoe_kind == "pump":
        # a stockinged shin, slimmer toward the ankle, into the shoe
        _limb(c, (15, 10), 7.0, (14.6, 21.0), 4.2, look.legs, look.legs_dark, look.legs_light)
        shoe(c, look)
    else:
        shoe(c, look)
        _limb(c, (15, 10), 7.8, (15, 18.6), 7.2, look.legs, look.legs_dark, look.legs_light)
        # the trouser hem over the shoe
        seg(c, [(8.6, 22.0), (21.4, 22.4)], look.legs_dark, 1.0)
    return c.image()


# ---------------------------------------------------------------------------
# hip (70 x 35 at (-3, 105)): the seat of the trousers, or a skirt
# ---------------------------------------------------------------------------

def hip(look):
    c = Canvas(70, 35, ss=SS)
    m = Moved(c, -3, 105)
    if look.skirt:
        circles = [(6.0, 104.0, 6), (35.0, 104.0, 6), (3.6, 128.0, 3.4), (37.4, 128.0, 3.4)]
    else:
        circles = [(8.5, 104.0, 8.6), (32.5, 104.0, 8.6), (13.0, 113.0, 8), (28.0, 113.0, 8)]
    cc = m.circles(circles)
    blob(c, cc, look.hip)
    inner = hull(cc)

    def paint(L):
        L.rect(*m.P(-6, 100), *m.P(7.5, 140), fill=look.hip_dark)
        if look.skirt:
            # a soft pleat and the hem
            L.line([m.P(21, 116), m.P(22, 132)], look.hip_dark, 1.0)
        else:
            L.line([m.P(20.5, 112), m.P(20.5, 121)], look.hip_dark, 1.0)

    clip_to(c, inner, paint)
    return c.image()


# ---------------------------------------------------------------------------
# bodies (50 x 81 at (-5, 46))
# ---------------------------------------------------------------------------

TORSO = [(5.0, 61.0, 7.0), (35.0, 61.0, 7.0), (2.4, 110.0, 4.4), (37.8, 110.0, 4.4)]


def _neck(c, m, col=SKIN):
    """The neck down to the collar.  The head brings its own neck too (see _head_neck):
    drawn smaller, far from the viewer, the head stands a little higher over the body and
    the two necks overlap."""
    shape(c, m.pts([(14.5, 42), (25.0, 42), (24.6, 58), (14.8, 58)]), col)
    c.poly(m.pts([(14.5, 42), (25.0, 42), (24.8, 49), (14.7, 48)]), fill=SKIN_SHADE)


def _torso(c, m, look, torso=TORSO):
    cc = m.circles(torso)
    blob(c, cc, look.cloth)
    inner = hull(cc)

    def paint(L):
        L.poly(m.pts([(-8, 50), (7, 50), (3, 120), (-8, 120)]), fill=look.cloth_dark)
        L.poly(m.pts([(-8, 111), (50, 111), (50, 122), (-8, 122)]), fill=look.cloth_dark)
        L.line([m.P(36.5, 62), m.P(37.5, 104)], look.cloth_light, 1.6)

    clip_to(c, inner, paint)
    return inner


def body_player(look):
    c = Canvas(50, 81, ss=SS)
    m = Moved(c, -5, 46)
    _neck(c, m)
    _torso(c, m, look)
    # the front edge of the jacket and its gold buttons
    seg(c, m.pts([(27.5, 58), (28.0, 114)]), INK, 1.0)
    for y in (64, 73, 82, 91, 100):
        c.circle(*m.P(30.2, y), 1.7, fill=GOLD, outline=INK, width=0.7)
        c.circle(*m.P(29.8, y - 0.5), 0.5, fill=WHITE)
    # a breast pocket
    seg(c, m.pts([(11, 70), (20, 70)]), look.cloth_dark, 1.0)
    # the standing collar, white lining at its top, and the school badge
    blob(c, m.circles([(14.5, 56.0, 4.0), (26.5, 56.0, 4.0)]), look.cloth_dark, ow=1.4)
    seg(c, m.pts([(12.0, 52.9), (29.0, 52.9)]), WHITE, 1.1)
    c.circle(*m.P(27.5, 56.5), 1.3, fill=GOLD)
    return c.image()


def body_salaryman(look):
    c = Canvas(50, 81, ss=SS)
    m = Moved(c, -5, 46)
    _neck(c, m)
    torso = [(5.0, 61.0, 7.0), (35.0, 61.0, 7.0), (2.2, 113.0, 4.2), (38.0, 113.0, 4.2)]
    _torso(c, m, look, torso)
    # the shirt in the opening of the jacket, and the tie
    shape(c, m.pts([(17, 54), (31, 54), (29, 84), (27, 88), (21, 62)]), WHITE3, ow=1.2)
    shape(c, m.pts([(22.5, 55), (27.5, 55), (26.8, 59), (23.4, 59)]), (214, 60, 72), ow=1.0)
    shape(c, m.pts([(23.4, 59), (26.8, 59), (28.6, 80), (25.8, 84), (23.0, 80)]),
          (214, 60, 72), ow=1.0)
    seg(c, m.pts([(24.4, 66), (27.6, 63)]), (244, 120, 120), 0.9)
    seg(c, m.pts([(24.0, 73), (28.0, 70)]), (244, 120, 120), 0.9)
    # lapels
    shape(c, m.pts([(16, 54), (21, 62), (19.5, 66), (23.5, 88), (15, 62)]), look.cloth_light,
          ow=1.1)
    shape(c, m.pts([(32, 54), (29.5, 84), (32.5, 62), (34, 58)]), look.cloth_light, ow=1.1)
    # buttons and pocket flap
    for y in (93, 103):
        c.circle(*m.P(27.0, y), 1.4, fill=INK)
    shape(c, m.pts([(5, 101), (15, 101), (15, 104), (5, 104)]), look.cloth_dark, ow=0.8)
    return c.image()


def body_office(look):
    c = Canvas(50, 81, ss=SS)
    m = Moved(c, -5, 46)
    _neck(c, m)
    torso = [(6.0, 61.0, 6.6), (34.0, 61.0, 6.6), (4.2, 96.0, 3.0), (34.8, 96.0, 3.0),
             (3.0, 110.0, 4.0), (37.0, 110.0, 4.0)]
    _torso(c, m, look, torso)
    # the blouse and its round collar
    shape(c, m.pts([(17, 54), (31, 54), (27.5, 78), (24, 80)]), WHITE3, ow=1.1)
    blob(c, m.circles([(18.5, 56.0, 3.0), (22.0, 58.0, 2.4)]), WHITE3, ow=1.0)
    blob(c, m.circles([(29.5, 56.0, 3.0), (26.4, 58.0, 2.4)]), WHITE3, ow=1.0)
    # a small pendant
    c.circle(*m.P(24.5, 66.0), 1.3, fill=(255, 214, 90), outline=INK, width=0.6)
    # the jacket's front edges and one button at the waist
    seg(c, m.pts([(17.5, 57), (24.0, 82), (26.0, 114)]), INK, 1.0)
    seg(c, m.pts([(31.0, 57), (27.6, 80)]), INK, 1.0)
    c.circle(*m.P(27.6, 92.0), 1.5, fill=WHITE, outline=INK, width=0.7)
    # a belted waist
    seg(c, m.pts([(1.5, 96.5), (38.5, 96.5)]), look.cloth_dark, 1.6)
    return c.image()


def body_grandpa(look):
    c = Canvas(50, 81, ss=SS)
    m = Moved(c, -5, 46)
    _neck(c, m)
    # a roundish cardigan with a little belly to the front
    torso = [(5.0, 61.0, 7.0), (34.0, 61.0, 7.0), (36.4, 95.0, 5.4), (2.4, 112.0, 4.4),
             (37.2, 111.0, 4.6)]
    _torso(c, m, look, torso)
    # the shirt's collar in the V of the cardigan
    shape(c, m.pts([(17, 54), (31, 54), (26, 74)]), (170, 206, 240), ow=1.1)
    shape(c, m.pts([(17, 53.5), (23.5, 55.5), (20.0, 60.0)]), WHITE3, ow=0.9)
    shape(c, m.pts([(31, 53.5), (24.5, 55.5), (28.0, 60.0)]), WHITE3, ow=0.9)
    seg(c, m.pts([(17.5, 55), (26.0, 75), (26.5, 114)]), INK, 1.0)
    seg(c, m.pts([(31.0, 55), (26.0, 75)]), INK, 1.0)
    for y in (80, 90, 100, 109):
        c.circle(*m.P(28.6, y), 1.5, fill=(120, 80, 44), outline=INK, width=0.6)
    # ribbed hem and pockets
    seg(c, m.pts([(-2.5, 108.0), (42.5, 108.0)]), look.cloth_dark, 1.0)
    shape(c, m.pts([(8, 96), (17, 96), (17, 104), (8, 104)]), look.cloth_dark, ow=0.8)
    return c.image()


# ---------------------------------------------------------------------------
# heads (64 x 64 at (-10, -10)); the face looks to the right
# ---------------------------------------------------------------------------

FACE = [(27.0, 31.5, 21.5), (34.5, 42.0, 12.0), (22.0, 42.0, 11.0)]
HEAD_DROP = 2   # the heads are drawn this much higher, then lowered into their pictures


def head_picture(draw):
    """Make a head: `draw(c)` paints it on a 64 x 64 canvas, which is then lowered by
    HEAD_DROP so that the chin sits close over the collar."""
    def make():
        c = Canvas(64, 64, ss=SS)
        draw(c)
        im = c.image()
        out = Image.new("RGBA", im.size, (0, 0, 0, 0))
        out.paste(im.crop((0, 0, 64, 64 - HEAD_DROP)), (0, HEAD_DROP))
        return out
    make.__doc__ = draw.__doc__
    return make


def _head_neck(c, skin=SKIN):
    """A neck under the chin down to row 62 (60 before the head is lowered by HEAD_DROP):
    the head's offset from the figure does not shrink with the figure, so a figure drawn
    smaller has its head higher over its body, by up to 4 pixels at the far ground line;
    this neck bridges that."""
    clip_to(c, [(0, 0), (64, 0), (64, 62 - HEAD_DROP), (0, 62 - HEAD_DROP)],
            lambda L: shape(L, [(25.6, 44), (35.0, 44), (34.8, 70), (25.8, 70)], skin))
    c.poly([(26.4, 50), (34.2, 50), (34.2, 57), (26.4, 54)], fill=SKIN_SHADE)


def _face(c, skin=SKIN, nose=None):
    """The face; `nose` "line" gives a small nose stroke, "round" a round old man's nose."""
    _head_neck(c, skin)
    if nose == "round":
        blob(c, [(50.0, 39.6, 3.2)], skin, ow=1.3)
    blob(c, FACE, skin)
    if nose == "round":
        c.poly(hull([(49.4, 39.6, 3.2)]), fill=skin)
        seg(c, [(49.0, 42.4), (51.4, 42.0)], SKIN_SHADE, 0.9)
    elif nose == "line":
        seg(c, [(49.6, 36.4), (51.2, 40.2), (49.4, 40.8)], SKIN_SHADE, 1.0)


def _ear(c, x=13.5, y=37.0, skin=SKIN, r=4.6):
    blob(c, [(x, y, r), (x - 0.4, y + 1.6, r * 0.8)], skin, ow=1.3)
    c.ellipse(x - 2.0, y - 2.2, x + 1.4, y + 2.4, fill=SKIN_SHADE)


def _eyes(c, y=35.0, near=33.0, far=44.0, h=3.8, w=2.7, col=INK):
    for x, ww in ((near, w), (far, w * 0.85)):
        c.ellipse(x - ww, y - h, x + ww, y + h, fill=col)
        c.circle(x + ww * 0.3, y - h * 0.4, ww * 0.42, fill=WHITE)


def _blush(c, y=42.5):
    c.ellipse(27.0, y - 2.2, 34.0, y + 2.2, fill=BLUSH)
    c.ellipse(44.2, y - 2.0, 48.6, y + 2.0, fill=BLUSH)


def _smile(c, x=40.5, y=45.5):
    seg(c, [(x - 2.8, y - 0.6), (x, y + 1.2), (x + 2.6, y - 0.8)], INK, 1.1)


def _player_hair(c):
    hair = (52, 40, 42)
    hair_light = (104, 82, 80)
    pts = [(9, 47), (4, 38), (3, 26), (7, 15), (15, 7), (26, 3), (38, 4), (47, 10), (52, 18),
           (54, 27),
           # the fringe, spiky over the forehead
           (49.5, 23), (48, 30), (44.5, 23.5), (41.5, 29.5), (38, 23), (34.5, 28.5), (31, 22.5),
           (27, 28), (24, 24),
           # down in front of the ear
           (21, 30), (20.5, 38), (17.5, 33), (16, 31),
           # the nape behind the ear
           (13, 46), (10.5, 49)]
    shape(c, pts, hair, ow=OW)
    # shine
    seg(c, [(17, 12), (27, 8), (37, 9)], hair_light, 1.8)
    seg(c, [(9, 20), (11, 15)], hair_light, 1.4)


@head_picture
def head_player(c):
    _face(c)
    _ear(c)
    _player_hair(c)
    _eyes(c)
    # brows
    seg(c, [(30.0, 28.2), (35.5, 27.6)], (52, 40, 42), 1.2)
    seg(c, [(41.8, 27.8), (46.0, 28.4)], (52, 40, 42), 1.2)
    _blush(c)
    _smile(c)


@head_picture
def head_stumble(c):
    """The runner bumping into someone: eyes screwed shut, mouth open, sweat."""
    _face(c)
    _ear(c)
    _player_hair(c)
    # >  < eyes
    seg(c, [(30.0, 32.0), (34.6, 35.0), (30.0, 38.0)], INK, 1.5)
    seg(c, [(46.8, 32.0), (42.6, 35.0), (46.8, 38.0)], INK, 1.5)
    # worried brows
    seg(c, [(29.5, 28.8), (35.0, 26.6)], (52, 40, 42), 1.2)
    seg(c, [(42.0, 26.6), (47.0, 28.8)], (52, 40, 42), 1.2)
    _blush(c)
    # an open, wobbly mouth
    shape(c, [(37.0, 44.0), (40.0, 42.8), (43.6, 43.6), (43.0, 48.4), (38.4, 48.8)],
          (196, 64, 80), ow=1.1)
    c.ellipse(38.8, 46.2, 42.6, 48.6, fill=(255, 140, 150))
    # sweat drops flying off
    for x, y, s in ((5.0, 14.0, 1.0), (4.2, 27.0, 0.8), (56.0, 15.0, 0.8)):
        shape(c, [(x, y - 4.5 * s), (x + 2.6 * s, y + 0.6 * s), (x, y + 2.6 * s),
                  (x - 2.6 * s, y + 0.6 * s)], (150, 210, 255), ow=1.0)
    # a little bump of dizziness
    for k, (x, y) in enumerate(((46, 6), (53, 9), (57, 5))):
        c.poly([(x, y - 2.2), (x + 0.7, y - 0.7), (x + 2.2, y), (x + 0.7, y + 0.7),
                (x, y + 2.2), (x - 0.7, y + 0.7), (x - 2.2, y), (x - 0.7, y - 0.7)],
               fill=(255, 214, 60), outline=INK, width=0.6)


@head_picture
def head_attack(c):
    """The runner attacking: fierce brows, shouting, an angry mark."""
    _face(c)
    _ear(c)
    _player_hair(c)
    # narrowed eyes under slanted brows
    for x, w in ((33.0, 3.0), (44.0, 2.5)):
        c.poly([(x - w, 34.0), (x + w, 32.0), (x + w, 37.0), (x - w, 37.5)], fill=INK)
        c.circle(x + 0.8, 34.2, 0.9, fill=WHITE)
    seg(c, [(29.0, 27.8), (36.5, 31.0)], (52, 40, 42), 2.0)
    seg(c, [(41.0, 31.0), (47.6, 28.0)], (52, 40, 42), 2.0)
    # a wide shout with teeth
    shape(c, [(35.5, 42.5), (46.5, 41.0), (44.5, 49.5), (38.5, 50.0)], (176, 44, 60), ow=1.2)
    c.poly([(36.2, 43.0), (46.0, 41.6), (45.6, 43.8), (36.8, 45.0)], fill=WHITE)
    c.ellipse(39.0, 46.8, 43.6, 49.6, fill=(255, 120, 130))
    # the angry mark over the brow
    am = (232, 60, 70)
    for a in range(4):
        ang = math.radians(45 + 90 * a)
        x0, y0 = 52.0 + 2.0 * math.cos(ang), 9.0 + 2.0 * math.sin(ang)
        x1, y1 = 52.0 + 5.4 * math.cos(ang), 9.0 + 5.4 * math.sin(ang)
        seg(c, [(x0, y0), (x1, y1)], INK, 2.6)
    for a in range(4):
        ang = math.radians(45 + 90 * a)
        x0, y0 = 52.0 + 2.0 * math.cos(ang), 9.0 + 2.0 * math.sin(ang)
        x1, y1 = 52.0 + 5.0 * math.cos(ang), 9.0 + 5.0 * math.sin(ang)
        seg(c, [(x0, y0), (x1, y1)], am, 1.4)


@head_picture
def head_salaryman(c):
    """Neat side-parted black hair, glasses, a tired little mouth."""
    _face(c, nose="line")
    _ear(c)
    hair = (40, 42, 52)
    pts = [(9, 46), (4, 37), (3, 25), (8, 14), (17, 7), (29, 4), (41, 6), (49, 12), (53, 20),
           (52.5, 25), (46, 20), (37, 19), (30, 21), (24, 25), (20.5, 31), (20.5, 37),
           (17.5, 35), (15.5, 31), (13, 44), (11, 48)]
    shape(c, pts, hair)
    seg(c, [(14, 13), (24, 8), (34, 8)], (96, 100, 118), 1.6)
    seg(c, [(33, 11.5), (44, 14)], (70, 74, 90), 1.0)
    _eyes(c, y=35.5, h=2.8, w=2.2)
    # glasses: two frames and the bridge, the arm back to the ear
    frame = (40, 42, 60)
    c.rect(28.5, 31.0, 37.5, 39.5, fill=(200, 230, 255, 70), outline=frame, width=1.2, r=2)
    c.rect(40.5, 31.0, 48.0, 39.5, fill=(200, 230, 255, 70), outline=frame, width=1.2, r=2)
    seg(c, [(37.5, 34.0), (40.5, 34.0)], frame, 1.0)
    seg(c, [(28.5, 33.5), (17.0, 34.5)], frame, 1.1)
    seg(c, [(30.0, 32.6), (32.0, 31.8)], (255, 255, 255, 200), 0.8)
    # brows and mouth
    seg(c, [(29.5, 28.0), (36.0, 28.6)], hair, 1.4)
    seg(c, [(41.5, 28.6), (46.5, 28.0)], hair, 1.4)
    seg(c, [(38.6, 46.2), (43.4, 45.6)], INK, 1.1)


@head_picture
def head_office(c):
    """A young woman: brown hair with a ponytail, lashes, a smile."""
    hair = (150, 90, 62)
    hair_dark = (118, 66, 46)
    hair_light = (204, 142, 100)
    # the ponytail behind the head
    tail = [(9.6, 26.0, 5.0), (6.8, 40.0, 4.0), (8.0, 52.0, 3.0)]
    blob(c, tail, hair_dark)
    seg(c, [(8.4, 31.0), (6.8, 42.0), (7.6, 50.0)], hair, 1.2)
    _face(c)
    _ear(c)
    pts = [(10, 45), (5.5, 36), (4, 25), (8, 14), (17, 6), (29, 3), (41, 5), (50, 12), (54, 21),
           (54, 30), (51.5, 27), (47, 21), (40, 21.5), (33, 24), (27.5, 23.5), (22.5, 27),
           (20.0, 35), (17.6, 38), (14.5, 44), (12, 47)]
    shape(c, pts, hair)
    seg(c, [(16, 12), (26, 7.5), (36, 8)], hair_light, 1.8)
    seg(c, [(33, 12), (45, 15)], hair_dark, 1.0)
    # a hair tie
    c.circle(9.0, 22.8, 2.4, fill=(240, 80, 110), outline=INK, width=0.8)
    _eyes(c, y=35.0, h=3.9, w=2.6)
    # lashes
    seg(c, [(30.0, 31.6), (33.2, 30.6), (36.2, 31.2), (37.4, 30.0)], INK, 1.1)
    seg(c, [(41.8, 31.4), (44.2, 30.6), (46.4, 31.4)], INK, 1.0)
    seg(c, [(29.8, 28.6), (32.8, 27.0), (36.0, 27.6)], hair_dark, 1.0)
    seg(c, [(41.6, 27.6), (44.0, 26.8), (46.2, 27.8)], hair_dark, 1.0)
    _blush(c)
    # pink lips
    shape(c, [(37.4, 44.4), (40.6, 45.0), (44.2, 44.0), (42.4, 47.4), (39.6, 47.6)],
          (232, 90, 110), ow=0.8)
    seg(c, [(38.0, 44.9), (40.6, 45.6), (43.6, 44.5)], (150, 40, 60), 0.7)
    # an earring
    c.circle(13.4, 42.6, 1.3, fill=(255, 214, 90), outline=INK, width=0.5)


@head_picture
def head_grandpa(c):
    """A grandfather: flat cap, white hair at the sides, bushy brows and moustache,
    a round nose and kind, smiling eyes."""
    _face(c, nose="round")
    white = (238, 238, 242)
    # white hair over the ear and at the back
    blob(c, [(8.6, 31.0, 5.6), (9.6, 41.5, 4.8), (16.0, 29.0, 4.6)], white)
    seg(c, [(6.0, 34.0), (8.0, 40.0)], (200, 202, 212), 0.9)
    _ear(c, x=14.8, y=37.0, r=5.0)
    # the flat cap: the peak to the front, then the crown sloping down over it
    cap = (126, 108, 90)
    cap_dark = (96, 80, 66)
    cap_light = (168, 148, 126)
    shape(c, [(48.0, 21.0), (60.5, 23.0), (61.0, 25.6), (49.0, 27.0)], cap_dark)
    crown = [(3.6, 27.4), (2.6, 20.0), (7.0, 12.0), (18.0, 6.8), (34.0, 6.0), (46.0, 9.6),
             (55.0, 17.0), (58.0, 21.6), (50.0, 24.6), (30.0, 25.8)]
    shape(c, crown, cap)
    clip_to(c, crown, lambda L: L.poly([(0, 22.0), (64, 19.0), (64, 30), (0, 30)],
                                       fill=cap_dark))
    seg(c, [(12.0, 12.0), (24.0, 8.6), (33.0, 8.4)], cap_light, 1.5)
    seg(c, [(44.0, 12.0), (53.0, 20.0)], cap_dark, 0.9)
    # kind eyes, screwed up in a smile, under bushy white brows
    for x, w in ((33.0, 2.6), (44.4, 2.2)):
        seg(c, [(x - w, 37.8), (x - w * 0.4, 35.8), (x + w * 0.4, 35.8), (x + w, 37.8)], INK,
            1.3)
    blob(c, [(30.6, 30.0, 1.7), (35.4, 29.4, 1.6)], white, ow=0.9)
    blob(c, [(42.4, 29.6, 1.5), (46.2, 30.2, 1.4)], white, ow=0.9)
    # wrinkles
    seg(c, [(27.8, 37.2), (29.2, 39.6)], SKIN_SHADE, 0.9)
    seg(c, [(24.0, 24.6), (29.0, 24.0)], SKIN_SHADE, 0.8)
    _blush(c, y=42.0)
    # a moustache over a smiling mouth
    blob(c, [(38.2, 45.2, 2.6), (43.4, 44.8, 2.6), (46.6, 45.8, 1.7)], white, ow=1.1)
    seg(c, [(38.0, 49.6), (41.0, 50.8), (44.0, 49.6)], INK, 1.0)


# ---------------------------------------------------------------------------
# the table of pictures: name -> (content width, content height, module, function)
# ---------------------------------------------------------------------------

def _maker(fn, look):
    return lambda: fn(look)


_BODIES = {"player": body_player, "t1": body_salaryman, "t2": body_office, "t3": body_grandpa}
_HEADS = {"player": head_player, "t1": head_salaryman, "t2": head_office, "t3": head_grandpa}

for _key, _look in LOOKS.items():
    _p = "" if _key == "player" else _key + "_"
    globals()[f"{_p}atama"] = _HEADS[_key]
    globals()[f"{_p}karada"] = _maker(_BODIES[_key], _look)
    globals()[f"{_p}kosi"] = _maker(hip, _look)
    globals()[f"{_p}ude1"] = _maker(upper_arm, _look)
    globals()[f"{_p}ude2"] = _maker(lower_arm, _look)
    globals()[f"{_p}asi1"] = _maker(upper_leg, _look)
    globals()[f"{_p}asi2"] = _maker(lower_leg, _look)
atama2 = head_stumble
atama3 = head_attack

# Sizes: the rectangles the figure cuts out (head 64 x 64, body 50 x 81, hip 70 x 35)
# and, for the limbs drawn whole, their full canvases.
_SIZES = {"atama": (64, 64), "karada": (50, 81), "kosi": (70, 35), "ude1": (32, 64),
          "ude2": (32, 64), "asi1": (32, 64), "asi2": (64, 32)}

PARTS = {}
for _key in LOOKS:
    _p = "" if _key == "player" else _key + "_"
    for _part, (_w, _h) in _SIZES.items():
        PARTS[f"{_p}{_part}.png"] = (_w, _h, "figures", f"{_p}{_part}")
PARTS["atama2.png"] = (64, 64, "figures", "atama2")
PARTS["atama3.png"] = (64, 64, "figures", "atama3")

# limbs are drawn whole: their content fills the canvas
WHOLE_PARTS = {n for n in PARTS if n.split("_")[-1].split(".")[0] in ("ude1", "ude2", "asi1",
                                                                       "asi2")}

# the rectangles the figure cuts out of each picture (the limbs are drawn whole)
PART_RECTS = {}
for _name, (_w, _h, _m, _f) in PARTS.items():
    _kind = _name.split("_")[-1].split(".")[0]
    _what = {"atama": "head at joint 0", "atama2": "stumbling head at joint 0",
             "atama3": "attacking head at joint 0", "karada": "body at joint 1",
             "kosi": "hip at joint 10", "ude1": "upper arms, drawn whole",
             "ude2": "lower arms, drawn whole", "asi1": "upper legs, drawn whole",
             "asi2": "lower legs, drawn whole"}[_kind]
    PART_RECTS[_name] = [(0, 0, _w, _h, _what)]


# ---------------------------------------------------------------------------
# joints: what each picture must cover so that no gap opens when the figure turns
# ---------------------------------------------------------------------------

# (part, kind, geometry, why): "disc" (cx, cy, r) or "box" (left, top, right, bottom) in
# the picture's pixels, all fully opaque
JOINTS = [
    ("ude1", "disc", (12, 10, 6.0), "shoulder"),
    ("ude1", "disc", (12, 35, 5.5), "elbow end, under or over the lower arm"),
    ("ude2", "disc", (12, 10, 5.5), "elbow"),
    ("ude2", "disc", (12, 29, 4.0), "the fist that grips the held item"),
    ("asi1", "disc", (15, 10, 7.0), "hip"),
    ("asi1", "disc", (15, 40, 6.5), "knee end over the lower leg"),
    ("asi2", "disc", (15, 10, 6.0), "knee"),
    # the tops of both thighs, facing either way, below the jacket
    ("kosi", "box", (10, 0, 39, 9), "tops of the legs"),
    ("karada", "box", (12, 50, 39, 62), "tops of the legs under the jacket"),
    # the head's own neck overlaps the body's at every size
    ("atama", "box", (27, 56, 34, 62), "neck"),
]


def joint_problems(texture_dir):
    """Check the built pictures against JOINTS; returns a list of messages."""
    problems = []
    yy, xx = np.mgrid[0:128, 0:128]
    for key in LOOKS:
        pre = "" if key == "player" else key + "_"
        for part, kind, g, why in JOINTS:
            names = [pre + part + ".png"]
            if part == "atama" and key == "player":
                names += ["atama2.png", "atama3.png"]
            for name in names:
                path = f"{texture_dir}/{name}"
                try:
                    a = np.asarray(Image.open(path).convert("RGBA"))[..., 3]
                except OSError:
                    problems.append(f"{name}: missing")
                    continue
                h, w = a.shape
                if kind == "disc":
                    cx, cy, r = g
                    inside = ((xx[:h, :w] + 0.5 - cx) ** 2 + (yy[:h, :w] + 0.5 - cy) ** 2
                              <= r * r)
                    ok = (a[inside] >= 250).all()
                else:
                    l, t, r_, b = g
                    ok = (a[t:b, l:r_] >= 250).all()
                if not ok:
                    problems.append(f"{name}: not opaque over the {why} {g}")
    return problems
