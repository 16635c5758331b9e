#include "scenes/option_scene.h"

#include "platform/shellapi.h"
#include "shell/game_app.h"
#include "shell/input.h"
#include "shell/scene_factory.h"
#include "shell/win_main.h"

int g_testIniValue = 0;

OptionScene::OptionScene() {
    nextScene = kSceneNone;
    Load();
}

OptionScene::~OptionScene() { ReleaseTextureSlots(1, 1); }

void OptionScene::Load() {
    LoadTextureSlot(1, "Texture/Option.png");
    MoveGameWindows(0, 0);
    gaugeRight = 1024;
}

void OptionScene::Update() {}

void OptionScene::Input() {
    GameApp& app = GameApp::Get();
    if (GetAsyncKeyState(VK_ESCAPE) < 0 || JoyButtons() == 4) nextScene = kSceneTitle;
    if (GetAsyncKeyState(VK_F5) < 0) {
        MessageBoxA(app.gameWindow, "KeyConfigを開こうとしています", "確認", MB_OK);
        ShellExecuteA(app.mainWindow, "open", "KeyConfig1.exe", nullptr, nullptr, SW_SHOW);
    }
    if (GetAsyncKeyState(VK_LEFT) < 0) {
        gaugeRight -= 2;
        if (gaugeRight <= 682) gaugeRight = 682;
    }
    if (GetAsyncKeyState(VK_RIGHT) < 0) {
        gaugeRight += 2;
        if (gaugeRight >= 1024) gaugeRight = 1024;
    }
    if (GetAsyncKeyState(VK_F2) < 0) {
        BOOL written = WritePrivateProfileStringA("TEST", "velkoro", "100", "D:/test.ini");
        MessageBoxA(app.gameWindow, written ? "OK" : "NO", "", MB_OK);
    }
}

void OptionScene::Draw() {
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
            // The gauge: the strip from x 682 of the picture, as long as it is set.
            SetRect(&src, 682, 0, gaugeRight, 24);
            D3DXMatrixTranslation(&m, 152.0f, 124.0f, 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[1], &src, nullptr, nullptr, 0xFFFFFFFF);
            sprite->End();
        }
        device->EndScene();
    }
    ChangeScene();
}

void OptionScene::ChangeScene() {
    if (nextScene != kSceneTitle) return;
    GameApp& app = GameApp::Get();
    delete app.scene;
    app.scene = nullptr;
    app.scene = MakeScene(kSceneTitle);
}

void ReadTestIni() {
    g_testIniValue = int(GetPrivateProfileIntA("TEST", "test", 0, "D/test.ini"));
    MessageBoxA(GameApp::Get().gameWindow, g_testIniValue != 0 ? "OK" : "NO", "", MB_OK);
}
