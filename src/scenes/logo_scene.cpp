#include "scenes/logo_scene.h"

#include "shell/game_app.h"
#include "shell/input.h"
#include "shell/scene_factory.h"
#include "shell/win_main.h"

LogoScene::LogoScene() { Load(); }

LogoScene::~LogoScene() { ReleaseTextureSlots(1, 6); }

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
    GameApp& app = GameApp::Get();
    IDirect3DDevice9* device = app.graphics.device;
    ID3DXSprite* sprite = app.graphics.sprite;
    if (SUCCEEDED(device->BeginScene())) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        if (sprite && SUCCEEDED(sprite->Begin(D3DXSPRITE_ALPHABLEND))) {
            app.graphics.SetAlphaBlend();
            device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
            device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
            RECT src;
            D3DXMATRIX m, t;

            SetRect(&src, 0, 0, 640, 480);
            D3DXMatrixIdentity(&m);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[3], &src, nullptr, nullptr, 0xFFFFFFFF);
            sprite->Draw(app.textures[1], &src, nullptr, nullptr, FadeColor(maskAlpha));

            SetRect(&src, 0, 0, 512, 128);
            D3DXMatrixIdentity(&m);
            m *= *D3DXMatrixTranslation(&t, 85.0f, 160.0f, 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[2], &src, nullptr, nullptr, FadeColor(logoAlpha));

            SetRect(&src, 0, 0, 640, 256);
            D3DXMatrixIdentity(&m);
            m *= *D3DXMatrixTranslation(&t, 10.0f, float(titleY), 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[4], &src, nullptr, nullptr, 0xFFFFFFFF);

            // The clock hands turn about their texel (1, 1): the long one to twelve, the short one to seven.
            const float hands[2][2] = {{80.0f, 3.1415927f}, {50.0f, 0.5235988f}};
            for (const auto& hand : hands) {
                SetRect(&src, 0, 0, 3, int(hand[0]));
                D3DXMatrixIdentity(&m);
                m *= *D3DXMatrixTranslation(&t, -1.0f, -1.0f, 0.0f);
                m *= *D3DXMatrixRotationZ(&t, hand[1]);
                m *= *D3DXMatrixTranslation(&t, 1.0f, 1.0f, 0.0f);
                m *= *D3DXMatrixTranslation(&t, 310.0f, float(titleY + 109), 0.0f);
                sprite->SetTransform(&m);
                sprite->Draw(app.textures[6], &src, nullptr, nullptr, 0xFFFFFFFF);
            }

            SetRect(&src, 0, 0, 280, 80);
            D3DXMatrixIdentity(&m);
            m *= *D3DXMatrixTranslation(&t, 205.0f, 310.0f, 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[5], &src, nullptr, nullptr, FadeColor(pushKeyAlpha));
            sprite->End();
        }
        device->EndScene();
    }
    ChangeScene();
}

void LogoScene::ChangeScene() {
    if (nextScene != kSceneTitle) return;
    GameApp& app = GameApp::Get();
    if (app.scene) {
        delete app.scene;
        app.scene = nullptr;
    }
    app.scene = MakeScene(kSceneTitle);
}
