// Turned and mirrored sprites drawn straight into a 32-bit memory surface: the quads that SDL's
// software renderer would take through its generic triangle loop, drawn a row span at a time.
#pragma once

#include <SDL.h>

namespace platform::raster {

// A picture's quad on the screen: corners 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left of
// its source rectangle, in screen pixels (x, y) and texels (u, v), drawn as the triangles 0-1-2 and
// 0-2-3. The texels are multiplied by the colour (r, g, b, a); blend puts them over the screen by
// their alpha, otherwise they replace it.
struct AffineQuad {
    float x[4], y[4];
    float u[4], v[4];
    Uint8 r = 255, g = 255, b = 255, a = 255;
    bool blend = true;
};

// Draws the quad into target (ARGB8888) within clip, each pixel whose centre the quad covers taking the
// nearest texel of texture (ARGB8888). Returns false, drawing nothing, when either surface is not of
// that format.
bool DrawAffineQuad(SDL_Surface* target, const SDL_Rect& clip, const SDL_Surface* texture,
                    const AffineQuad& q);

}  // namespace platform::raster
