#include "scenes/chara_select_scene.h"

#include "shell/game_app.h"
#include "shell/input.h"
#include "shell/scene_factory.h"
#include "shell/win_main.h"

CharaSelectScene::CharaSelectScene() {
    nextScene = kSceneNone;
    Load();
}

CharaSelectScene::~CharaSelectScene() { ReleaseTextureSlots(1, 1); }

void CharaSelectScene::Load() { LoadTextureSlot(1, "Texture/charaselect.png"); }

void CharaSelectScene::Update() {}

void CharaSelectScene::Input() {
    // The title check comes second, so joystick button 3 (which answers both) and Space held with
    // Escape end at the title.
    if (KeyDown(VK_SPACE) || JoyButtons() == 4) nextScene = kSceneHelp;
    if (KeyDown(VK_ESCAPE) || JoyButtons() == 4) nextScene = kSceneTitle;
}

void CharaSelectScene::Draw() {
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
            D3DXMATRIX m;
            SetRect(&src, 0, 0, 640, 480);
            D3DXMatrixIdentity(&m);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[1], &src, nullptr, nullptr, 0xFFFFFFFF);
            sprite->End();
        }
        device->EndScene();
    }
    ChangeScene();
}

void CharaSelectScene::ChangeScene() {
    const int request = nextScene;
    if (request != kSceneTitle && request != kSceneHelp) return;
    GameApp& app = GameApp::Get();
    delete app.scene;
    app.scene = nullptr;
    app.scene = MakeScene(request);
}
