#include "platform/raster/affine_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform::raster {
namespace {

struct Vec {
    float x, y, u, v;
};

// One triangle's texel mapping: u and v as plane equations of the screen position.
struct Mapping {
    float dudx, dudy, u0, dvdx, dvdy, v0;
};

bool MappingOf(const Vec& a, const Vec& b, const Vec& c, Mapping* m) {
    const float det = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (std::fabs(det) < 1e-6f) return false;
    const float inv = 1.0f / det;
    m->dudx = ((b.u - a.u) * (c.y - a.y) - (c.u - a.u) * (b.y - a.y)) * inv;
    m->dudy = ((c.u - a.u) * (b.x - a.x) - (b.u - a.u) * (c.x - a.x)) * inv;
    m->u0 = a.u - m->dudx * a.x - m->dudy * a.y;
    m->dvdx = ((b.v - a.v) * (c.y - a.y) - (c.v - a.v) * (b.y - a.y)) * inv;
    m->dvdy = ((c.v - a.v) * (b.x - a.x) - (b.v - a.v) * (c.x - a.x)) * inv;
    m->v0 = a.v - m->dvdx * a.x - m->dvdy * a.y;
    return true;
}

// The colour a texel brings once modulated (alpha premultiplied when it blends), and how it lands.
struct Shade {
    Uint32 r, g, b, a;
    bool blend;
    bool modulated;
    bool plain;  // blended and not modulated
};

inline void Put(Uint32* dst, Uint32 texel, const Shade& s) {
    Uint32 sa = texel >> 24;
    if (s.blend && sa == 0) return;
    Uint32 sr = (texel >> 16) & 0xFF, sg = (texel >> 8) & 0xFF, sb = texel & 0xFF;
    if (s.modulated) {
        sr = sr * s.r / 255;
        sg = sg * s.g / 255;
        sb = sb * s.b / 255;
        sa = sa * s.a / 255;
    }
    if (!s.blend) {
        *dst = sa << 24 | sr << 16 | sg << 8 | sb;
        return;
    }
    if (sa == 255) {
        *dst = 0xFF000000u | sr << 16 | sg << 8 | sb;
        return;
    }
    if (sa == 0) return;
    // Over the screen by the texel's alpha, as SDL's software renderer blends.
    sr = sr * sa / 255;
    sg = sg * sa / 255;
    sb = sb * sa / 255;
    const Uint32 d = *dst, k = 255 - sa;
    const Uint32 dr = sr + k * ((d >> 16) & 0xFF) / 255;
    const Uint32 dg = sg + k * ((d >> 8) & 0xFF) / 255;
    const Uint32 db = sb + k * (d & 0xFF) / 255;
    const Uint32 da = sa + k * (d >> 24) / 255;
    *dst = da << 24 | dr << 16 | dg << 8 | db;
}

// Fills the pixels whose centres lie inside the triangle. Rows and columns are half open (a centre on
// a top or left edge is inside, on a bottom or right edge outside), so the two triangles of a quad
// share their diagonal without a gap and without drawing a pixel twice.
void Triangle(SDL_Surface* target, const SDL_Rect& clip, const SDL_Surface* texture, const Vec& a,
              const Vec& b, const Vec& c, const Shade& shade) {
    Mapping m;
    if (!MappingOf(a, b, c, &m)) return;
    const float minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
    const int y0 = std::max(clip.y, int(std::ceil(minY - 0.5f)));
    const int y1 = std::min(clip.y + clip.h - 1, int(std::ceil(maxY - 0.5f)) - 1);
    if (y0 > y1) return;
    const Vec* edges[3][2] = {{&a, &b}, {&b, &c}, {&c, &a}};
    const int tw = texture->w, th = texture->h, tpitch = texture->pitch / 4;
    const Uint32* tex = static_cast<const Uint32*>(texture->pixels);
    Uint32* pixels = static_cast<Uint32*>(target->pixels);
    const int pitch = target->pitch / 4;
    const int clipX0 = clip.x, clipX1 = clip.x + clip.w - 1;
    for (int y = y0; y <= y1; ++y) {
        const float py = float(y) + 0.5f;
        float xs[2];
        int n = 0;
        for (const auto& e : edges) {
            const Vec& p = *e[0];
            const Vec& q = *e[1];
            if (p.y == q.y || py < std::min(p.y, q.y) || py >= std::max(p.y, q.y) || n == 2) continue;
            xs[n++] = p.x + (py - p.y) * (q.x - p.x) / (q.y - p.y);
        }
        if (n < 2) continue;
        const float left = std::min(xs[0], xs[1]), right = std::max(xs[0], xs[1]);
        const int x0 = std::max(clipX0, int(std::ceil(left - 0.5f)));
        const int x1 = std::min(clipX1, int(std::ceil(right - 0.5f)) - 1);
        if (x0 > x1) continue;
        Uint32* row = pixels + y * pitch;
        // Texel coordinates in 16.16 fixed point, stepped along the span.
        const float cx = float(x0) + 0.5f;
        std::int64_t u = std::int64_t(std::floor((m.u0 + m.dudx * cx + m.dudy * py) * 65536.0f));
        std::int64_t v = std::int64_t(std::floor((m.v0 + m.dvdx * cx + m.dvdy * py) * 65536.0f));
        const std::int64_t du = std::llround(m.dudx * 65536.0f), dv = std::llround(m.dvdx * 65536.0f);
        for (int x = x0; x <= x1; ++x, u += du, v += dv) {
            int tu = int(u >> 16), tv = int(v >> 16);
            if (unsigned(tu) >= unsigned(tw)) tu = tu < 0 ? 0 : tw - 1;
            if (unsigned(tv) >= unsigned(th)) tv = tv < 0 ? 0 : th - 1;
            const Uint32 texel = tex[tv * tpitch + tu];
            if (shade.plain) {
                // Unmodulated and blended: the common case of the figures' parts.
                const Uint32 sa = texel >> 24;
                if (sa == 255)
                    row[x] = texel;
                else if (sa != 0)
                    Put(row + x, texel, shade);
            } else {
                Put(row + x, texel, shade);
            }
        }
    }
}

}  // namespace

bool DrawAffineQuad(SDL_Surface* target, const SDL_Rect& clip, const SDL_Surface* texture,
                    const AffineQuad& q) {
    // The real window's surface may have no alpha channel (RGB888): the same layout, its top byte unused.
    if (!target || !texture || texture->format->format != SDL_PIXELFORMAT_ARGB8888 ||
        (target->format->format != SDL_PIXELFORMAT_ARGB8888 &&
         target->format->format != SDL_PIXELFORMAT_RGB888))
        return false;
    SDL_Rect area{0, 0, target->w, target->h}, c;
    if (!SDL_IntersectRect(&clip, &area, &c)) return true;
    if (q.blend && q.a == 0) return true;
    const bool modulated = q.r != 255 || q.g != 255 || q.b != 255 || q.a != 255;
    Shade s{q.r, q.g, q.b, q.a, q.blend, modulated, q.blend && !modulated};
    Vec v[4];
    for (int i = 0; i < 4; ++i) v[i] = {q.x[i], q.y[i], q.u[i], q.v[i]};
    const bool lockTarget = SDL_MUSTLOCK(target);
    if (lockTarget && SDL_LockSurface(target) != 0) return false;
    Triangle(target, c, texture, v[0], v[1], v[2], s);
    Triangle(target, c, texture, v[0], v[2], v[3], s);
    if (lockTarget) SDL_UnlockSurface(target);
    return true;
}

}  // namespace platform::raster
