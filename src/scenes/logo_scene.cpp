#include "scenes/logo_scene.h"

#include "graphics/sprite_pass.h"
#include "app/game_app.h"
#include "app/input.h"
#include "graphics/texture_slots.h"

LogoScene::LogoScene() {
    Load();
}

LogoScene::~LogoScene() {
    ReleaseTextureSlots(1, 6);
}

void LogoScene::Load() {
    LoadTextureSlot(1, "Texture/title_msk.png");
    LoadTextureSlot(2, "Texture/ti-mu.png");
    LoadTextureSlot(3, "Texture/ti_bg.png");
    LoadTextureSlot(4, "Texture/d.png");
    LoadTextureSlot(5, "Texture/PUSH KEY.png");
    LoadTextureSlot(6, "Texture/hari.png");
    nextScene = kSceneNone;
    frame = 1;
    logoAlpha = 0;
    maskAlpha = 255;
    pushKeyAlpha = 0;
    titleY = -250;
    blinkPhase = 0;
}

void LogoScene::Input() {
    if (KeyDown(VK_RETURN) || JoyButtons() == 4) nextScene = kSceneTitle;
}

void LogoScene::Update() {
    if (frame < 127) logoAlpha += 2;
    if (frame > 150 && frame < 277) logoAlpha -= 2;
    if (frame > 260 && titleY < 0) titleY += 1;
    if (titleY >= -10 && maskAlpha > 0) maskAlpha -= 1;
    if (maskAlpha == 0 && blinkPhase == 0) blinkPhase = 1;
    if (blinkPhase == 1) {
        pushKeyAlpha += 5;
        if (pushKeyAlpha >= 255) blinkPhase = 2;
    }
    if (blinkPhase == 2) {
        pushKeyAlpha -= 5;
        if (pushKeyAlpha <= 0) blinkPhase = 1;
    }
    frame += 1;
}

void LogoScene::Draw() {
    {
        SpritePass pass;
        if (pass.Open()) {
            DrawSprite(3, 0, 0, 640, 480, 0.0f, 0.0f);
            DrawSprite(1, 0, 0, 640, 480, 0.0f, 0.0f, FadeColor(maskAlpha));
            DrawSprite(2, 0, 0, 512, 128, 85.0f, 160.0f, FadeColor(logoAlpha));
            DrawSprite(4, 0, 0, 640, 256, 10.0f, float(titleY));
            // The clock hands turn about their texel (1, 1): the long one to twelve, the short one to seven.
            DrawTurnedSprite(6, 0, 0, 3, 80, 1.0f, 1.0f, 3.1415927f, 310.0f, float(titleY + 109));
            DrawTurnedSprite(6, 0, 0, 3, 50, 1.0f, 1.0f, 0.5235988f, 310.0f, float(titleY + 109));
            DrawSprite(5, 0, 0, 280, 80, 205.0f, 310.0f, FadeColor(pushKeyAlpha));
        }
    }
    ChangeScene();
}

void LogoScene::ChangeScene() {
    if (nextScene == kSceneTitle) SwitchScene(kSceneTitle);
}
