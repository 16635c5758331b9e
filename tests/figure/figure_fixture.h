// A headless graphics device with small blank pictures in the texture slots the figure reads, and a
// sprite log that keeps every sprite the figure draws.
#pragma once

#include "figure/draw_character.h"
#include "platform/d3dx9.h"
#include "platform/runtime.h"
#include "app/game_app.h"

#include <gtest/gtest.h>

#include <vector>

namespace figure_test {

// Texture slots as the game scene fills them: the player's parts, a passer-by's parts, the held
// items and the player's two other heads.
constexpr int kPlayerParts[kPartCount] = {5, 6, 7, 11, 9, 12, 8};
constexpr int kPasserParts[kPartCount] = {30, 31, 32, 33, 34, 35, 36};
constexpr int kBagSlot = 56;
constexpr int kUmbrellaSlot = 57;

// Painter's order of the sprites with something in the hand.
// clang-format off
enum SpriteIndex {
    kFarLowerArm, kFarUpperArm, kFarLowerLeg, kFarUpperLeg, kNearLowerLeg, kNearUpperLeg,
    kHip, kBody, kHead, kItem, kNearUpperArm, kNearLowerArm,
};
// clang-format on

struct ScreenPoint {
    float x, y;
};

// Where the texel (u, v) of a sprite's picture lands on the screen.
inline ScreenPoint Place(const D3DXMATRIX& m, float u, float v) {
    return {u * m._11 + v * m._21 + m._41, u * m._12 + v * m._22 + m._42};
}

class FigureTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A full-size figure at (x, y) facing right, set up as the game scene sets up the player.
    DrawCharacter Player(int x, int y, float scale = 1.0f);
    // A passer-by of the first look, empty-handed.
    DrawCharacter Passer(int x, int y, float scale = 1.0f);
    // Draws the figure inside a sprite pass and returns what it drew.
    std::vector<SpriteDrawRecord> Draw(DrawCharacter& figure);
    // The records of a drawing with an item, indexed as SpriteIndex; without one, the item's index is
    // skipped.
    static const SpriteDrawRecord& Sprite(const std::vector<SpriteDrawRecord>& drawn, SpriteIndex index);

    IDirect3DTexture9* Slot(int slot) const { return GameApp::Get().textures[slot]; }

  private:
    HWND window_ = nullptr;
    std::vector<int> filled_;
};

}  // namespace figure_test
