// Textures and draw lists on an SDL renderer: the pixels of a texture uploaded to each renderer
// that draws it, and a window's draw list rasterized into its place on the screen.
#include "platform/raster/draw_list.h"
#include "platform/common/owner.h"

#include "platform/raster/affine_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace platform::raster {
namespace {

// The renderers' generations, and how turned pictures are drawn: the program's (a texture may still
// be let go of while the program exits).
struct Generations {
    unsigned counter = 0;
    std::set<unsigned> live;
    bool ownTriangles = true;
};

Generations& TheGenerations() {
    return owner::Part<Generations>(owner::Life::Program);
}

std::set<unsigned>& LiveGenerations() {
    return TheGenerations().live;
}

bool Live(unsigned generation) {
    return LiveGenerations().count(generation) != 0;
}

}  // namespace

unsigned NewGeneration() {
    unsigned g = ++TheGenerations().counter;
    LiveGenerations().insert(g);
    return g;
}

void EndGeneration(unsigned generation) {
    LiveGenerations().erase(generation);
}
void EndAllGenerations() {
    LiveGenerations().clear();
}

TextureData::TextureData(int width, int height)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, std::max(1, width), std::max(1, height), 32,
                                             SDL_PIXELFORMAT_ARGB8888)) {
    // SDL hands the pixels over cleared: every texel starts transparent black.
}

TextureData::~TextureData() {
    for (auto& u : uploaded)
        if (u.second.texture && Live(u.second.generation)) SDL_DestroyTexture(u.second.texture);
}

void TextureData::Changed() {
    ++version;
}

bool TextureData::ShareFrom(std::shared_ptr<const void> owner, const std::uint32_t* pixels, int width,
                            int height) {
    // The surface only reads them; MakeOwn copies before any write.
    sdl::SurfacePtr shown(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (!shown) return false;
    surface = std::move(shown);
    sharedPixels = std::move(owner);
    Changed();
    return true;
}

bool TextureData::MakeOwn() {
    if (!sharedPixels || !surface) return true;
    sdl::SurfacePtr own(
        SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!own) return false;
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(static_cast<Uint8*>(own->pixels) + y * own->pitch,
                    static_cast<const Uint8*>(surface->pixels) + y * surface->pitch,
                    std::size_t(surface->w) * 4);
    surface = std::move(own);
    sharedPixels.reset();
    Changed();
    return true;
}

SDL_Texture* TextureData::For(SDL_Renderer* renderer, unsigned generation) {
    if (!surface) return nullptr;
    Uploaded& u = uploaded[renderer];
    if (u.texture && u.generation == generation && u.version == version) return u.texture;
    if (u.texture && u.generation == generation) {
        SDL_UpdateTexture(u.texture, nullptr, surface->pixels, surface->pitch);
        u.version = version;
        return u.texture;
    }
    if (u.texture && Live(u.generation)) SDL_DestroyTexture(u.texture);
    u.texture = SDL_CreateTextureFromSurface(renderer, surface.get());
    u.generation = generation;
    u.version = version;
    return u.texture;
}

bool FinerSource(const TextureData& texture, float u0, float v0, float w, float h, TextureData** from,
                 SDL_Rect* rect) {
    const TextureData::Finer* f = texture.finer.get();
    if (!f || !f->picture || f->version != texture.version || !f->picture->surface) return false;
    const SDL_Rect& t = f->texels;
    if (u0 < float(t.x) || v0 < float(t.y) || u0 + w > float(t.x + t.w) || v0 + h > float(t.y + t.h))
        return false;
    const float left = (u0 - float(t.x) + float(f->fromX)) * f->scaleX;
    const float top = (v0 - float(t.y) + float(f->fromY)) * f->scaleY;
    *rect = SDL_Rect{int(std::lround(left)), int(std::lround(top)),
                     int(std::lround(left + w * f->scaleX)) - int(std::lround(left)),
                     int(std::lround(top + h * f->scaleY)) - int(std::lround(top))};
    *from = f->picture.get();
    return true;
}

namespace {

// An upright picture's texels resampled (linearly) to the size the command gives it in the back
// buffer, with the quad's texel corners moved onto the new picture; null when that cannot be made.
// The texture keeps the last one made.
const SDL_Surface* SizedAsDrawn(const DrawCmd& c, AffineQuad* q) {
    const float u0 = std::min(c.u[0], c.u[1]), v0 = std::min(c.v[0], c.v[3]);
    const float uw = std::fabs(c.u[1] - c.u[0]), vh = std::fabs(c.v[3] - c.v[0]);
    const int w = int(std::lround(std::fabs(c.x[1] - c.x[0]))),
              h = int(std::lround(std::fabs(c.y[3] - c.y[0])));
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192 || uw < 1.0f || vh < 1.0f) return nullptr;
    SDL_Surface* texture = c.texture->surface.get();
    SDL_Rect from{int(std::lround(u0)), int(std::lround(v0)), int(std::lround(uw)), int(std::lround(vh))};
    const SDL_Rect all{0, 0, texture->w, texture->h};
    if (!SDL_IntersectRect(&from, &all, &from)) return nullptr;
    TextureData& t = *c.texture;
    if (!t.resampled || !SDL_RectEquals(&t.resampled->from, &from) || t.resampled->width != w ||
        t.resampled->height != h || t.resampled->version != t.version) {
        t.resampled.reset();
        sdl::SurfacePtr sized(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
        if (!sized || SDL_SoftStretchLinear(texture, &from, sized.get(), nullptr) != 0) return nullptr;
        t.resampled.reset(new TextureData::Resampled{from, w, h, t.version, std::move(sized)});
    }
    for (int i = 0; i < 4; ++i) {
        q->u[i] = (c.u[i] - u0) * float(w) / uw;
        q->v[i] = (c.v[i] - v0) * float(h) / vh;
    }
    return t.resampled->surface.get();
}

}  // namespace

void UseOwnTriangles(bool on) {
    TheGenerations().ownTriangles = on;
}

void RenderList(SDL_Renderer* r, unsigned generation, const DrawList& list, const SDL_Rect& source,
                const SDL_Rect& dest, SDL_Surface* softwareTarget, const SDL_Rect* area, bool smooth) {
    if (!TheGenerations().ownTriangles) softwareTarget = nullptr;
    if (source.w <= 0 || source.h <= 0) return;
    SDL_Rect clip = dest;
    if (area && !SDL_IntersectRect(&dest, area, &clip)) return;
    SDL_RenderSetClipRect(r, &clip);
    const float sx = float(dest.w) / float(source.w), sy = float(dest.h) / float(source.h);
    const bool scaled = std::fabs(sx - 1.0f) > 1e-6f || std::fabs(sy - 1.0f) > 1e-6f;
    auto mapX = [&](float x) { return dest.x + (x - source.x) * sx; };
    auto mapY = [&](float y) { return dest.y + (y - source.y) * sy; };
    for (const DrawCmd& c : list.cmds) {
        const Uint8 a = c.color >> 24, cr = (c.color >> 16) & 0xFF, cg = (c.color >> 8) & 0xFF,
                    cb = c.color & 0xFF;
        if (c.kind == DrawCmd::kClear) {
            SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(r, cr, cg, cb, 255);
            SDL_RenderFillRect(r, &clip);
            continue;
        }
        if (c.kind == DrawCmd::kLine) {
            SDL_SetRenderDrawBlendMode(r, a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(r, cr, cg, cb, a);
            SDL_RenderDrawLineF(r, mapX(c.x[0]), mapY(c.y[0]), mapX(c.x[1]), mapY(c.y[1]));
            continue;
        }
        if (a == 0 || !c.texture || !c.texture->surface) continue;
        const bool opaque = c.texture->opaque && a == 255;
        float X[4], Y[4];
        for (int i = 0; i < 4; ++i) X[i] = mapX(c.x[i]), Y[i] = mapY(c.y[i]);
        // Corners: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left of the source rectangle.
        const bool axisAligned = X[0] == X[3] && X[1] == X[2] && Y[0] == Y[1] && Y[2] == Y[3] &&
                                 c.u[0] == c.u[3] && c.u[1] == c.u[2] && c.v[0] == c.v[1] && c.v[2] == c.v[3];
        // A picture shown larger than the back buffer (the display's scale, a whole number): the
        // renderer would make a stretched copy of it before blending it, the span loop draws it in one
        // go, with the nearest texels.
        const bool ownSize = std::fabs(std::fabs(c.x[1] - c.x[0]) - std::fabs(c.u[1] - c.u[0])) < 1e-3f &&
                             std::fabs(std::fabs(c.y[3] - c.y[0]) - std::fabs(c.v[3] - c.v[0])) < 1e-3f;
        const bool finer = c.texture->finer && c.texture->finer->version == c.texture->version;
        const bool stretched = axisAligned && (scaled || (!ownSize && c.linear)) && !smooth && !finer;
        if ((!axisAligned || stretched) && softwareTarget) {
            // Turned, mirrored or stretched on the processor: straight into the memory, after what the
            // renderer still has queued.
            AffineQuad q;
            for (int i = 0; i < 4; ++i) q.x[i] = X[i], q.y[i] = Y[i], q.u[i] = c.u[i], q.v[i] = c.v[i];
            q.r = cr, q.g = cg, q.b = cb, q.a = a;
            q.blend = !opaque;
            SDL_RenderFlush(r);
            // A picture the game itself scales (with its filtering) is first resampled to its size in
            // the back buffer (once for as long as it keeps that size), and that is drawn: at the
            // display's scale, as the game's own screen would be, enlarged.
            const SDL_Surface* texels = c.texture->surface.get();
            if (stretched && !ownSize && !(texels = SizedAsDrawn(c, &q))) continue;
            if (DrawAffineQuad(softwareTarget, clip, texels, q)) continue;
        }
        TextureData* texture = c.texture.get();
        const float u0 = std::min(c.u[0], c.u[1]), v0 = std::min(c.v[0], c.v[3]);
        const float uw = std::fabs(c.u[1] - c.u[0]), vh = std::fabs(c.v[3] - c.v[0]);
        SDL_Rect src{int(std::lround(u0)), int(std::lround(v0)), int(std::lround(uw)), int(std::lround(vh))};
        if (axisAligned) FinerSource(*c.texture, u0, v0, uw, vh, &texture, &src);
        SDL_Texture* tex = texture->For(r, generation);
        if (!tex) continue;
        SDL_SetTextureBlendMode(tex, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(tex, c.linear || smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        if (axisAligned) {
            // The copy path: an upright rectangle, possibly mirrored.
            float left = std::min(X[0], X[1]), top = std::min(Y[0], Y[3]);
            SDL_FRect dst{left, top, std::fabs(X[1] - X[0]), std::fabs(Y[3] - Y[0])};
            int flip = SDL_FLIP_NONE;
            if ((X[1] < X[0]) != (c.u[1] < c.u[0])) flip |= SDL_FLIP_HORIZONTAL;
            if ((Y[3] < Y[0]) != (c.v[3] < c.v[0])) flip |= SDL_FLIP_VERTICAL;
            SDL_SetTextureColorMod(tex, cr, cg, cb);
            SDL_SetTextureAlphaMod(tex, a);
            if (flip == SDL_FLIP_NONE)
                SDL_RenderCopyF(r, tex, &src, &dst);
            else
                SDL_RenderCopyExF(r, tex, &src, &dst, 0.0, nullptr, SDL_RendererFlip(flip));
            continue;
        }
        // A quarter turn leaves an upright rectangle with its picture on its side. SDL's software
        // renderer takes such triangles for a plain copy and gets the mirrored ones wrong; a
        // 1/256-pixel nudge of one corner keeps them on the triangle path.
        if (X[0] == X[1] && X[2] == X[3] && Y[0] == Y[3] && Y[1] == Y[2]) X[2] += 1.0f / 256.0f;
        SDL_SetTextureColorMod(tex, 255, 255, 255);
        SDL_SetTextureAlphaMod(tex, 255);
        const float tw = float(c.texture->Width()), th = float(c.texture->Height());
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i) {
            v[i].position = {X[i], Y[i]};
            v[i].color = {cr, cg, cb, a};
            v[i].tex_coord = {c.u[i] / tw, c.v[i] / th};
        }
        static const int indices[6] = {0, 1, 2, 0, 2, 3};
        SDL_RenderGeometry(r, tex, v, 4, indices, 6);
    }
    SDL_RenderSetClipRect(r, nullptr);
}

}  // namespace platform::raster
