"""Small drawing kit for the game's pictures.

Everything is drawn on a supersampled RGBA canvas in final-pixel coordinates
and box-filtered down at the end, which gives clean anti-aliased edges for
plain Pillow shapes.  Text uses Noto Sans CJK JP (and Noto Serif CJK JP for
the stamp) from Debian's fonts-noto-cjk package; the English pictures write their
words in URW Gothic (and C059 for the stamp) from fonts-urw-base35.
"""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_FILES = {
    "bold": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", 0),
    "regular": ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 0),
    "serif": ("/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc", 0),
}

# The English pictures' Latin faces: URW Gothic's round, open letters go with the rounded
# Japanese gothic and the soft shapes of the pictures.
LATIN_FONT_FILES = {
    "bold": ("/usr/share/fonts/opentype/urw-base35/URWGothic-Demi.otf", 0),
    "regular": ("/usr/share/fonts/opentype/urw-base35/URWGothic-Book.otf", 0),
    "serif": ("/usr/share/fonts/opentype/urw-base35/C059-Bold.otf", 0),
}

# the language the words are drawn in: "ja" or "en" (set_language)
LANGUAGES = ("ja", "en")
_language = "ja"

_font_cache = {}
_covered = {}


def set_language(lang):
    global _language
    if lang not in LANGUAGES:
        raise ValueError(f"unknown language {lang!r} (one of {', '.join(LANGUAGES)})")
    _language = lang


def language():
    return _language


def _load(files, weight, px):
    key = (files is LATIN_FONT_FILES, weight, int(round(px)))
    if key not in _font_cache:
        path, index = files[weight]
        _font_cache[key] = ImageFont.truetype(path, max(1, key[2]), index=index)
    return _font_cache[key]


def _latin_covers(weight, s):
    """Whether the Latin face has a glyph for every character of s."""
    f = _load(LATIN_FONT_FILES, weight, 40)
    missing = bytes(f.getmask("\ue000"))
    for ch in set(s):
        if ch.isspace():
            continue
        key = (weight, ch)
        if key not in _covered:
            _covered[key] = bytes(f.getmask(ch)) != missing
        if not _covered[key]:
            return False
    return True


def font(weight, px, s=None):
    """The face for drawing s at px.  English words are drawn in the Latin face; strings
    without a letter (digits, clock numbers, signs) and strings with characters the Latin
    face lacks keep the Japanese face, so that digits look alike in both sets."""
    if (_language == "en" and s is not None and any(ch.isalpha() for ch in s)
            and _latin_covers(weight, s)):
        return _load(LATIN_FONT_FILES, weight, px)
    return _load(FONT_FILES, weight, px)


# Palette: one bright morning palette for the whole game.
INK = (45, 48, 71, 255)          # outlines and dark text
WHITE = (255, 255, 255, 255)
CREAM = (255, 248, 231, 255)
RED = (232, 74, 95, 255)
ORANGE = (255, 159, 28, 255)
YELLOW = (255, 210, 63, 255)
GREEN = (91, 193, 106, 255)
TEAL = (46, 196, 182, 255)
BLUE = (58, 134, 255, 255)
SKY_TOP = (88, 176, 240, 255)
SKY_LOW = (206, 238, 254, 255)
PINK = (255, 183, 197, 255)
GREY = (207, 216, 220, 255)
DARK_GREY = (120, 130, 140, 255)


def rgba(c, a=None):
    c = tuple(c)
    if len(c) == 3:
        c = c + (255,)
    if a is not None:
        c = c[:3] + (int(a),)
    return c


def mix(c1, c2, t):
    c1 = rgba(c1)
    c2 = rgba(c2)
    return tuple(int(round(c1[i] + (c2[i] - c1[i]) * t)) for i in range(4))


def shade(c, f):
    """Darken (f < 1) or lighten (f > 1) a colour, keeping alpha."""
    c = rgba(c)
    if f <= 1:
        return tuple(int(round(v * f)) for v in c[:3]) + (c[3],)
    t = f - 1
    return tuple(int(round(v + (255 - v) * t)) for v in c[:3]) + (c[3],)


class Canvas:
    """An RGBA drawing surface of w x h final pixels, supersampled ss times."""

    def __init__(self, w, h, ss=4, bg=None):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new("RGBA", (w * ss, h * ss), rgba(bg) if bg else (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.im)

    # -- coordinates -------------------------------------------------------
    def _p(self, v):
        return v * self.ss

    def _box(self, x0, y0, x1, y1):
        s = self.ss
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    def _pts(self, pts):
        s = self.ss
        return [(x * s, y * s) for x, y in pts]

    # -- fills through masks (gradients, translucency) -----------------------
    def _mask(self, kind, geom, r=0):
        m = Image.new("L", self.im.size, 0)
        d = ImageDraw.Draw(m)
        if kind == "rect":
            if r:
                d.rounded_rectangle(self._box(*geom), radius=r * self.ss, fill=255)
            else:
                d.rectangle(self._box(*geom), fill=255)
        elif kind == "ellipse":
            d.ellipse(self._box(*geom), fill=255)
        elif kind == "poly":
            d.polygon(self._pts(geom), fill=255)
        return m

    def _bbox(self, kind, geom):
        if kind == "poly":
            xs = [p[0] for p in geom]
            ys = [p[1] for p in geom]
            return min(xs), min(ys), max(xs), max(ys)
        return geom

    def fill_mask(self, mask, paint, bbox=None):
        """Composite `paint` (colour, or ('v'|'h', c0, c1[, c2...])) through an L mask."""
        if isinstance(paint, tuple) and paint and isinstance(paint[0], str):
            src = self._gradient_image(paint, bbox)
        else:
            src = Image.new("RGBA", self.im.size, rgba(paint))
        layer = Image.new("RGBA", self.im.size, (0, 0, 0, 0))
        layer.paste(src, (0, 0), mask)
        self.im.alpha_composite(layer)

    def _gradient_image(self, paint, bbox):
        direction = paint[0]
        stops = [rgba(c) for c in paint[1:]]
        W, H = self.im.size
        if bbox is None:
            bbox = (0, 0, self.w, self.h)
        x0, y0, x1, y1 = [v * self.ss for v in bbox]
        if direction == "v":
            n, a, b = H, y0, y1
        else:
            n, a, b = W, x0, x1
        t = np.clip((np.arange(n, dtype=np.float32) - a) / max(1.0, (b - a)), 0, 1)
        seg = len(stops) - 1
        idx = np.minimum((t * seg).astype(np.int32), seg - 1)
        f = (t * seg - idx)[:, None]
        s = np.array(stops, dtype=np.float32)
        col = s[idx] * (1 - f) + s[idx + 1] * f
        col = np.clip(np.round(col), 0, 255).astype(np.uint8)
        if direction == "v":
            arr = np.broadcast_to(col[:, None, :], (H, W, 4))
        else:
            arr = np.broadcast_to(col[None, :, :], (H, W, 4))
        return Image.fromarray(np.ascontiguousarray(arr), "RGBA")

    def _shape(self, kind, geom, fill, outline, width, r=0):
        if fill is not None:
            plain = not (isinstance(fill, tuple) and fill and isinstance(fill[0], str))
            if plain and rgba(fill)[3] == 255:
                self._draw(kind, geom, fill=rgba(fill), r=r)
            else:
                self.fill_mask(self._mask(kind, geom, r), fill, self._bbox(kind, geom))
        if outline is not None and width:
            oc = rgba(outline)
            if oc[3] == 255:
                self._draw(kind, geom, outline=oc, width=width, r=r)
            else:
                layer = Canvas(self.w, self.h, self.ss)
                layer._draw(kind, geom, outline=oc[:3] + (255,), width=width, r=r)
                self.composite(layer, oc[3] / 255.0)

    def _draw(self, kind, geom, fill=None, outline=None, width=0, r=0):
        w = int(round(width * self.ss)) if width else 0
        if kind == "rect":
            if r:
                self.d.rounded_rectangle(self._box(*geom), radius=r * self.ss, fill=fill,
                                         outline=outline, width=w)
            else:
                self.d.rectangle(self._box(*geom), fill=fill, outline=outline, width=w)
        elif kind == "ellipse":
            self.d.ellipse(self._box(*geom), fill=fill, outline=outline, width=w)
        elif kind == "poly":
            if fill is not None:
                self.d.polygon(self._pts(geom), fill=fill)
            if outline is not None:
                pts = self._pts(geom)
                self.d.line(pts + [pts[0], pts[1]], fill=outline, width=w, joint="curve")

    # -- public shapes -------------------------------------------------------
    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=0, r=0):
        self._shape("rect", (x0, y0, x1, y1), fill, outline, width, r)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=0):
        self._shape("ellipse", (x0, y0, x1, y1), fill, outline, width)

    def circle(self, cx, cy, rad, fill=None, outline=None, width=0):
        self.ellipse(cx - rad, cy - rad, cx + rad, cy + rad, fill, outline, width)

    def poly(self, pts, fill=None, outline=None, width=0):
        self._shape("poly", list(pts), fill, outline, width)

    def line(self, pts, color, width=1, round_caps=True):
        c = rgba(color)
        w = max(1, int(round(width * self.ss)))
        target = self
        if c[3] != 255:
            target = Canvas(self.w, self.h, self.ss)
        p = target._pts(pts)
        target.d.line(p, fill=c[:3] + (255,), width=w, joint="curve")
        if round_caps and width * self.ss >= 3:
            rr = w / 2.0
            for x, y in (p[0], p[-1]):
                target.d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=c[:3] + (255,))
        if target is not self:
            self.composite(target, c[3] / 255.0)

    def composite(self, other, opacity=1.0):
        im = other.im
        if opacity < 1.0:
            a = np.asarray(im).copy()
            a[..., 3] = np.round(a[..., 3].astype(np.float32) * opacity).astype(np.uint8)
            im = Image.fromarray(a, "RGBA")
        self.im.alpha_composite(im)

    def clip_ellipse(self, x0, y0, x1, y1):
        """Keep only what lies inside the ellipse."""
        m = self._mask("ellipse", (x0, y0, x1, y1))
        a = np.asarray(self.im).copy()
        a[..., 3] = (a[..., 3].astype(np.uint16) * np.asarray(m) // 255).astype(np.uint8)
        self.im = Image.fromarray(a, "RGBA")
        self.d = ImageDraw.Draw(self.im)

    def layer(self):
        return Canvas(self.w, self.h, self.ss)

    # -- text ----------------------------------------------------------------
    def text_size(self, s, px, weight="bold", stroke=0):
        f = font(weight, px * self.ss, s)
        b = f.getbbox(s, stroke_width=int(round(stroke * self.ss)))
        return (b[2] - b[0]) / self.ss, (b[3] - b[1]) / self.ss

    def text(self, x, y, s, px, fill=INK, weight="bold", anchor="la", stroke=0,
             stroke_fill=None, sx=1.0, shadow=None):
        """Draw text; (x, y) is placed by the Pillow anchor.  sx squeezes horizontally."""
        if shadow is not None:
            dx, dy, col = shadow
            self.text(x + dx, y + dy, s, px, col, weight, anchor, stroke,
                      col if stroke else None, sx)
        f = font(weight, px * self.ss, s)
        sw = int(round(stroke * self.ss))
        b = f.getbbox(s, anchor=anchor, stroke_width=sw)
        pad = 2 * self.ss
        tw, th = b[2] - b[0] + 2 * pad, b[3] - b[1] + 2 * pad
        tim = Image.new("RGBA", (tw, th), (0, 0, 0, 0))
        td = ImageDraw.Draw(tim)
        td.text((pad - b[0], pad - b[1]), s, font=f, fill=rgba(fill), anchor=anchor,
                stroke_width=sw, stroke_fill=rgba(stroke_fill) if stroke_fill else None)
        ox = x * self.ss + b[0] - pad
        oy = y * self.ss + b[1] - pad
        if sx != 1.0:
            nw = max(1, int(round(tw * sx)))
            # squeeze about the anchor's x
            ax = x * self.ss
            ox = ax + (ox - ax) * sx
            tim = tim.resize((nw, th), Image.LANCZOS)
        self.paste_ss(tim, int(round(ox)), int(round(oy)))

    def paste_ss(self, im, x, y):
        """Alpha-composite an image given in supersampled pixels at supersampled (x, y)."""
        W, H = self.im.size
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(W, x + im.width), min(H, y + im.height)
        if x1 <= x0 or y1 <= y0:
            return
        crop = im.crop((x0 - x, y0 - y, x1 - x, y1 - y))
        self.im.alpha_composite(crop, (x0, y0))

    def paste(self, im, x, y):
        """Composite a final-resolution image at final (x, y) (it is upscaled first)."""
        big = im.resize((im.width * self.ss, im.height * self.ss), Image.LANCZOS)
        self.paste_ss(big, int(round(x * self.ss)), int(round(y * self.ss)))

    # -- result ----------------------------------------------------------------
    def image(self):
        return downsample(self.im, self.ss)


def downsample(im, ss):
    if ss == 1:
        return im.copy()
    W, H = im.size
    w, h = W // ss, H // ss
    src = np.asarray(im)
    out = np.zeros((h, w, 4), dtype=np.uint8)
    step = max(1, 256 // ss)  # rows of output per chunk
    for r0 in range(0, h, step):
        r1 = min(h, r0 + step)
        a = src[r0 * ss:r1 * ss].astype(np.float32)
        alpha = a[..., 3:4] / 255.0
        a[..., :3] *= alpha
        a = a.reshape(r1 - r0, ss, w, ss, 4).mean(axis=(1, 3))
        al = a[..., 3:4]
        rgb = np.where(al > 0, a[..., :3] / np.maximum(al / 255.0, 1e-6), 0)
        out[r0:r1, :, :3] = np.clip(np.round(rgb), 0, 255).astype(np.uint8)
        out[r0:r1, :, 3] = np.clip(np.round(al[..., 0]), 0, 255).astype(np.uint8)
    return Image.fromarray(out, "RGBA")


def wrap_ja(s, px, max_w, weight="regular"):
    """Break Japanese text into lines no wider than max_w (kinsoku for closing marks)."""
    f = font(weight, px)
    no_start = set("、。，．！？）」』ー…・ぁぃぅぇぉっゃゅょァィゥェォッャュョ")
    lines = []
    for para in s.split("\n"):
        # runs of Latin letters and digits (with : and ,) never break
        tokens = []
        for ch in para:
            if tokens and ch.isascii() and (ch.isalnum() or ch in ":,.") and \
                    tokens[-1][-1].isascii() and (tokens[-1][-1].isalnum() or
                                                  tokens[-1][-1] in ":,."):
                tokens[-1] += ch
            else:
                tokens.append(ch)
        cur = ""
        for ch in tokens:
            trial = cur + ch
            if f.getlength(trial) <= max_w or not cur:
                cur = trial
            elif ch in no_start:
                cur = trial  # hang the closing mark
            else:
                lines.append(cur)
                cur = ch
        lines.append(cur)
    return lines


def wrap_en(s, px, max_w, weight="regular"):
    """Break English text into lines no wider than max_w, between words."""
    f = font(weight, px, s)
    lines = []
    for para in s.split("\n"):
        cur = ""
        for word in para.split():
            trial = cur + " " + word if cur else word
            if f.getlength(trial) <= max_w or not cur:
                cur = trial
            else:
                lines.append(cur)
                cur = word
        lines.append(cur)
    return lines


def wrap(s, px, max_w, weight="regular"):
    """Break text into lines in the language being drawn."""
    if _language == "en":
        return wrap_en(s, px, max_w, weight)
    return wrap_ja(s, px, max_w, weight)


def fit_px(s, max_w, max_px, weight="bold", min_px=8):
    px = max_px
    while px > min_px and font(weight, px, s).getlength(s) > max_w:
        px -= 1
    return px


# English lines are not made smaller than this to fit (px of the face)
READABLE_PX = 10


def fit_readable(s, max_w, max_px, weight="bold", min_px=READABLE_PX):
    """fit_px for a line that must stay readable: fails if s only fits below min_px."""
    px = fit_px(s, max_w, max_px, weight, min_px)
    if font(weight, px, s).getlength(s) > max_w:
        raise ValueError(f"{s!r} does not fit {max_w} px at {min_px} px: shorten it")
    return px


def blank(w, h):
    return Image.new("RGBA", (w, h), (0, 0, 0, 0))


def pow2(n):
    p = 1
    while p < n:
        p *= 2
    return p


def on_canvas(content, cw=None, ch=None):
    """Put a picture at the top-left of a transparent power-of-two canvas."""
    cw = cw or pow2(content.width)
    ch = ch or pow2(content.height)
    out = blank(cw, ch)
    out.paste(content, (0, 0))
    return out


def bleed(im, passes=4):
    """Give fully transparent pixels the colour of their visible neighbours so that
    linear filtering at sprite edges does not pull in dark fringes."""
    a = np.asarray(im).astype(np.int32)
    rgb = a[..., :3].copy()
    alpha = a[..., 3]
    known = alpha > 0
    for _ in range(passes):
        if known.all():
            break
        acc = np.zeros_like(rgb)
        cnt = np.zeros(alpha.shape, dtype=np.int32)
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                if dx == 0 and dy == 0:
                    continue
                sk = np.roll(np.roll(known, dy, 0), dx, 1)
                sr = np.roll(np.roll(rgb, dy, 0), dx, 1)
                # no wrap-around across the canvas border
                if dy == 1:
                    sk[0, :] = False
                elif dy == -1:
                    sk[-1, :] = False
                if dx == 1:
                    sk[:, 0] = False
                elif dx == -1:
                    sk[:, -1] = False
                acc += sr * sk[..., None]
                cnt += sk
        fill = (~known) & (cnt > 0)
        rgb[fill] = acc[fill] // cnt[fill][:, None]
        known = known | fill
    out = np.dstack([rgb, alpha]).astype(np.uint8)
    return Image.fromarray(out, "RGBA")


def save(im, path):
    im = bleed(im)
    im.save(path, "PNG", compress_level=9)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180.0 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def fit_words(s, max_w, px, weight="bold", stroke=0, min_px=READABLE_PX):
    """The size to draw s at so that it is no wider than max_w (its stroke included).  The
    Japanese words keep the sizes they were laid out with; English words, longer, are made
    smaller to fit, never below min_px (then the wording must be shortened)."""
    if _language != "en":
        return px
    p = px
    while p > min_px and _width(s, p, weight, stroke) > max_w:
        p -= 0.5
    if _width(s, p, weight, stroke) > max_w:
        raise ValueError(f"{s!r} is {_width(s, p, weight, stroke):.0f} px wide at {p} px, "
                         f"more than {max_w}: shorten it")
    return p


def _width(s, px, weight, stroke):
    ss = 4
    b = font(weight, px * ss, s).getbbox(s, stroke_width=int(round(stroke * ss)))
    return (b[2] - b[0]) / ss
