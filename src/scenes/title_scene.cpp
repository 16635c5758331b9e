#include "scenes/title_scene.h"

#include "graphics/sprite_pass.h"
#include "platform/mmaudio.h"
#include "app/game_app.h"
#include "app/input.h"
#include "app/game_windows.h"
#include "graphics/texture_slots.h"
#include "sound/sound_manager.h"

#include <cstring>

namespace {

// Where each entry sits, plain and selected, and which part of the menu picture it shows.
struct EntryLayout {
    int x, y, left, top, right, bottom;
    float scale;
};
const EntryLayout kSelected[3] = {{445, 240, 127, 0, 256, 41, 1.5f},
                                  {445, 297, 127, 41, 265, 90, 1.5f},
                                  {445, 359, 127, 90, 256, 136, 1.5f}};
const EntryLayout kPlain[3] = {
    {472, 240, 0, 0, 127, 41, 1.0f}, {475, 297, 0, 41, 127, 90, 1.0f}, {474, 360, 0, 90, 127, 136, 1.0f}};
// The caption rows of each entry, and how far left it scrolls before it starts again.
const int kCaptionTop[3] = {0, 32, 64};
const int kCaptionBottom[3] = {32, 64, 96};
const int kCaptionRestart[3] = {-530, -323, -270};

bool EnterHeld() {
    return KeyDown(VK_RETURN) || JoyButtons() == 2;
}
bool DownHeld() {
    return KeyDown(VK_DOWN) || JoyDown();
}
bool UpHeld() {
    return KeyDown(VK_UP) || JoyUp();
}

}  // namespace

TitleScene::TitleScene() {
    Load();
}

TitleScene::~TitleScene() {
    music.Stop();
    ReleaseTextureSlots(1, 9);
}

void TitleScene::Load() {
    LoadTextureSlot(1, "Texture/ti_bg.png");
    LoadTextureSlot(2, "Texture/Sl_bg.png");
    LoadTextureSlot(3, "Texture/d.png");
    LoadTextureSlot(4, "Texture/title_icn.png");
    LoadTextureSlot(5, "Texture/title_msk.png");
    LoadTextureSlot(6, "Texture/sc_moji.png");
    LoadTextureSlot(7, "Texture/hari.png");
    LoadTextureSlot(8, "Texture/title_msk.png");
    LoadTextureSlot(9, "Texture/NOWLOAD.png");
    captionX = 640;
    captionTop = 0;
    captionBottom = 32;
    cursor = 0;
    for (int i = 0; i < 3; ++i) {
        itemX[i] = itemY[i] = itemLeft[i] = itemTop[i] = itemRight[i] = itemBottom[i] = 0;
        itemScale[i] = 1.0f;
    }
    repeatCount = 0;
    inputLock = 1;
    nextScene = kSceneNone;
    handAngle = 180;
    fadeAlpha = 0;
    fading = 0;
    MoveGameWindows(0, 0);
    music.Play("BGM/mubel-scene17_a.mid");
}

void TitleScene::Update() {
    for (int i = 0; i < 3; ++i) {
        const EntryLayout& e = (i == cursor) ? kSelected[i] : kPlain[i];
        itemX[i] = e.x;
        itemY[i] = e.y;
        itemLeft[i] = e.left;
        itemTop[i] = e.top;
        itemRight[i] = e.right;
        itemBottom[i] = e.bottom;
        itemScale[i] = e.scale;
        if (i == cursor) {
            captionTop = kCaptionTop[i];
            captionBottom = kCaptionBottom[i];
            if (captionX < kCaptionRestart[i]) captionX = 640;
        }
    }
    captionX -= 2;
    handAngle += 7;
    if (fading == 1) {
        fadeAlpha += 3;
        if (fadeAlpha >= 255) {
            fadeAlpha = 255;
            nextScene = kSceneGame;
        }
    }
}

void TitleScene::Input() {
    const bool free = inputLock == 0;
    if (EnterHeld() && cursor == 0 && free) {
        SoundManager::Instance()->Play("SE/entry.wav");
        fading = 1;
        return;
    }
    if (EnterHeld() && cursor == 1 && free) {
        sndPlaySoundA("SE/entry.wav", SND_ASYNC);
        nextScene = kSceneOption;
        return;
    }
    if (EnterHeld() && cursor == 2 && free) nextScene = kSceneQuit;
    if (DownHeld() && inputLock == 0) {
        sndPlaySoundA("SE/cursor_move.wav", SND_ASYNC);
        cursor += 1;
        captionX = 640;
        inputLock = 1;
    }
    if (UpHeld() && inputLock == 0) {
        sndPlaySoundA("SE/cursor_move.wav", SND_ASYNC);
        cursor -= 1;
        captionX = 640;
        inputLock = 1;
    }
    if (cursor >= 3) cursor = 0;
    if (cursor <= -1) cursor = 2;
    if (inputLock) {
        repeatCount += 1;
        if (repeatCount > 10) {
            repeatCount = 0;
            inputLock = 0;
        }
    }
}

void TitleScene::Draw() {
    {
        SpritePass pass;
        if (pass.Open()) {
            DrawSprite(1, 0, 0, 640, 480, 0.0f, 0.0f);
            DrawSprite(5, 0, 0, 200, 480, 440.0f, 0.0f, 0x78FFFFFF);
            DrawSprite(6, 0, 94, 640, 128, 0.0f, 420.0f);
            DrawSprite(6, 0, captionTop, 530, captionBottom, float(captionX), 422.0f);
            DrawSprite(6, 540, 0, 875, 25, 140.0f, 460.0f);
            // The entries: the selected one stretched sideways.
            for (int i = 0; i < 3; ++i)
                DrawSprite(4, itemLeft[i], itemTop[i], itemRight[i], itemBottom[i], float(itemX[i]),
                           float(itemY[i]), 0xFFFFFFFF, itemScale[i], 1.0f);
            DrawSprite(3, 0, 0, 640, 256, 10.0f, 0.0f);
            // The clock hands turn about their texel (1, 1): the long one 7 degrees a frame, the short one
            // a twelfth as fast.
            DrawTurnedSprite(7, 0, 0, 3, 80, 1.0f, 1.0f, float(handAngle) * kDegreesToRadians, 310.0f,
                             109.0f);
            DrawTurnedSprite(7, 0, 0, 3, 50, 1.0f, 1.0f, float(handAngle / 12 + 15) * kDegreesToRadians,
                             310.0f, 109.0f);
            DrawSprite(8, 0, 0, 640, 480, 0.0f, 0.0f, FadeColor(fadeAlpha));
            DrawSprite(9, 0, 0, 256, 64, 350.0f, 400.0f, FadeColor(fadeAlpha));
        }
    }
    ChangeScene();
}

void TitleScene::ChangeScene() {
    const int request = nextScene;
    if (request != kSceneGame && request != kSceneOption && request != kSceneCharaSelect &&
        request != kSceneQuit && request != kSceneHelp)
        return;
    SwitchScene(request);  // Quit has no scene: the program ends
}
