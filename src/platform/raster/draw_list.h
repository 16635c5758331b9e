// What the Direct3D stand-in records and the desktop rasterizes: textures and draw lists.
#pragma once

#include "platform/d3d9.h"
#include "platform/common/sdl_handles.h"

#include <SDL.h>

#include <map>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::raster {

// Renderers are told apart by generation. A texture uploaded to a renderer carries the renderer's
// generation and is freed by its owner only while that generation lives: when a renderer is
// destroyed or reset, its generation ends, and its textures went with it.
unsigned NewGeneration();
void EndGeneration(unsigned generation);
void EndAllGenerations();

// The pixels of a texture (32-bit ARGB, premultiplied by nothing) and the renderer copies of them.
struct TextureData {
    sdl::SurfacePtr surface;  // width x height, the full power-of-two size
    bool opaque = false;      // every texel's alpha is 255 (or the format has no alpha)
    unsigned version = 0;     // bumped whenever the pixels change
    std::string file;         // the picture file it was made from, as the game named it ("" for none)
    bool screenCopy = false;  // the game copied the screen's picture into it (its desktop)
    struct Uploaded {
        SDL_Texture* texture = nullptr;  // the renderer's; freed here only while its generation lives
        unsigned version = 0;
        unsigned generation = 0;
    };
    std::map<SDL_Renderer*, Uploaded> uploaded;

    // Pixels shown straight from a decoded picture kept by the picture cache, until someone writes.
    std::shared_ptr<const void> sharedPixels;

    // Texels copied from a picture that the display has in finer pixels (the desktop, when the game's
    // screen is smaller than the display): while they stay as copied, they are drawn from that one.
    struct Finer {
        std::shared_ptr<TextureData> picture;  // the display's own
        SDL_Rect texels;                       // the part of this texture copied
        int fromX, fromY;                      // where texels.x, texels.y came from on the game's picture
        float scaleX, scaleY;                  // the fine picture's pixels per pixel of the game's
        unsigned version;                      // this texture's version right after the copy
    };
    std::shared_ptr<const Finer> finer;

    // The last part of it resampled to another size (a picture the game draws larger or smaller for a
    // while keeps it from one frame to the next).
    struct Resampled {
        SDL_Rect from;
        int width, height;
        unsigned version;
        sdl::SurfacePtr surface;
    };
    std::unique_ptr<Resampled> resampled;

    TextureData(int width, int height);
    ~TextureData();
    // Shows the picture's pixels (width x height ARGB8888, rows packed) without copying them.
    bool ShareFrom(std::shared_ptr<const void> owner, const std::uint32_t* pixels, int width, int height);
    // Before the pixels are written: a texture that shows shared pixels takes a copy of its own.
    bool MakeOwn();
    TextureData(const TextureData&) = delete;
    TextureData& operator=(const TextureData&) = delete;
    int Width() const { return surface->w; }
    int Height() const { return surface->h; }
    void Changed();
    // The renderer's copy of the pixels, made or refreshed on demand.
    SDL_Texture* For(SDL_Renderer* renderer, unsigned rendererGeneration);
};

struct DrawCmd {
    enum Kind { kClear, kQuad, kLine } kind;
    D3DCOLOR color;
    std::shared_ptr<TextureData> texture;  // quads only
    float x[4], y[4];                      // back-buffer pixels (lines use two points)
    float u[4], v[4];                      // texels
    bool linear;                           // filtering of the quad
};

// Where a command's upright copy of texels [u0, u0 + w) x [v0, v0 + h) is drawn from: the texture's
// finer picture when it has one for them (true, with that texture and the rectangle there), or the
// texture itself (false).
bool FinerSource(const TextureData& texture, float u0, float v0, float w, float h, TextureData** from,
                 SDL_Rect* rect);

struct DrawList {
    std::vector<DrawCmd> cmds;
};

// One window's picture: the list last presented into it, and which part of the back buffer it shows.
struct Presented {
    std::shared_ptr<const DrawList> list;
    SDL_Rect source;  // back-buffer pixels
};

// Rasterizes a list: the source rectangle of the back buffer lands on dest (screen pixels), clipped to dest
// (and to area, when given: only that part of the screen is drawn anew). smooth: every picture is
// filtered, as the screen is drawn at a scale of a fraction.
// softwareTarget is the memory a software renderer draws on: turned pictures are then drawn there
// directly, a row span at a time, instead of through the renderer's generic triangle loop.
void RenderList(SDL_Renderer* renderer, unsigned generation, const DrawList& list, const SDL_Rect& source,
                const SDL_Rect& dest, SDL_Surface* softwareTarget = nullptr, const SDL_Rect* area = nullptr,
                bool smooth = false);
// Whether RenderList draws turned pictures itself on software targets (on unless switched off, for
// comparing with SDL's own triangles).
void UseOwnTriangles(bool on);

}  // namespace platform::raster
