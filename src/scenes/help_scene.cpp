#include "scenes/help_scene.h"

#include "graphics/sprite_pass.h"
#include "app/game_app.h"
#include "app/input.h"
#include "graphics/texture_slots.h"

namespace {

// The pages lie side by side in the help picture, each 361 x 477 on a stride of 370.
constexpr int kPageCount = 7;
constexpr int kPageStride = 370;
constexpr int kPageWidth = 361;
constexpr int kPageHeight = 477;
// Frames between two page turns.
constexpr int kTurnDelay = 20;

}  // namespace

HelpScene::HelpScene() {
    nextScene = kSceneNone;
    Load();
}

HelpScene::~HelpScene() {
    ReleaseTextureSlots(1, 4);
}

void HelpScene::Load() {
    LoadTextureSlot(1, "Texture/sora.png");
    LoadTextureSlot(2, "Texture/title_msk.png");
    LoadTextureSlot(3, "Texture/NOWLOAD.png");
    LoadTextureSlot(4, "Texture/help.png");
    fadeAlpha = 0;
    fadeState = 0;
    // A book just opened listens after ten frames, not twenty.
    inputDelay = 10;
    page = 0;
}

void HelpScene::Input() {
    if (inputDelay < kTurnDelay) return;
    if (KeyDown(VK_RETURN) || JoyButtons() == 2) {
        inputDelay = 0;
        page += 1;
    }
    if ((KeyDown(VK_BACK) || JoyButtons() == 4) && page != 0) {
        inputDelay = 0;
        page -= 1;
    }
    if (KeyDown(VK_ESCAPE) || JoyButtons() == 4) nextScene = kSceneTitle;
    if (KeyDown(VK_SPACE)) fadeState = 1;
}

void HelpScene::Update() {
    if (inputDelay <= kTurnDelay) inputDelay += 1;
    // Turning past the last page closes the book.
    if (page == kPageCount) fadeState = 1;
    if (fadeState == 1) {
        fadeAlpha += 3;
        if (fadeAlpha >= 255) {
            fadeAlpha = 255;
            fadeState = 2;
            nextScene = kSceneGame;
        }
    }
}

void HelpScene::Draw() {
    {
        SpritePass pass;
        if (pass.Open()) {
            DrawSprite(1, 0, 0, 640, 480, 0.0f, 0.0f);
            if (page >= 0 && page < kPageCount)
                DrawSprite(4, kPageStride * page, 0, kPageStride * page + kPageWidth, kPageHeight, 140.0f,
                           2.0f);
            // The closing sheet and its now-loading label; invisible until the fade starts.
            DrawSprite(2, 0, 0, 640, 480, 0.0f, 0.0f, FadeColor(fadeAlpha));
            DrawSprite(3, 0, 0, 256, 64, 350.0f, 400.0f, FadeColor(fadeAlpha));
        }
    }
    ChangeScene();
}

void HelpScene::ChangeScene() {
    const int request = nextScene;
    if (request == kSceneTitle || request == kSceneGame) SwitchScene(request);
}
