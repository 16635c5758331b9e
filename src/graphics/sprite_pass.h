// The sprite pass that every picture of the game is drawn in, and the ways one sprite is placed.
#pragma once

#include "platform/d3dx9.h"

// Turns are kept in degrees and drawn in radians.
constexpr float kDegreesToRadians = 0.017453292f;

// Opens a frame's drawing on the device the same way for every screen: the scene begun and cleared
// (target and depth), the sprite begun with alpha blending, the blend states set, sampler 0 filtering
// linearly without mip levels, and the identity transform. Leaving scope ends the sprite and the scene.
class SpritePass {
  public:
    explicit SpritePass(D3DCOLOR clearColor = 0xFF000000);
    ~SpritePass();
    SpritePass(const SpritePass&) = delete;
    SpritePass& operator=(const SpritePass&) = delete;
    // Whether sprites can be drawn (the scene and the sprite both began).
    bool Open() const { return spriteBegun_; }

  private:
    bool sceneBegun_ = false;
    bool spriteBegun_ = false;
};

// The cut (left, top, right, bottom) of a texture slot, scaled by (sx, sy) about its top-left corner,
// then put at (x, y). An empty slot draws nothing.
void DrawSprite(int slot, int left, int top, int right, int bottom, float x, float y,
                D3DCOLOR color = 0xFFFFFFFF, float sx = 1.0f, float sy = 1.0f);
// The cut of a texture slot turned by angle radians (clockwise on screen) about its texel (px, py),
// which then lands at (x + px, y + py).
void DrawTurnedSprite(int slot, int left, int top, int right, int bottom, float px, float py, float angle,
                      float x, float y, D3DCOLOR color = 0xFFFFFFFF);
