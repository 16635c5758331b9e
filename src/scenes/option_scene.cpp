#include "scenes/option_scene.h"

#include "graphics/sprite_pass.h"
#include "platform/shellapi.h"
#include "app/game_app.h"
#include "app/input.h"
#include "app/game_windows.h"
#include "graphics/texture_slots.h"

int g_testIniValue = 0;

OptionScene::OptionScene() {
    nextScene = kSceneNone;
    Load();
}

OptionScene::~OptionScene() {
    ReleaseTextureSlots(1, 1);
}

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
    {
        SpritePass pass;
        if (pass.Open()) {
            DrawSprite(1, 0, 0, 640, 480, 0.0f, 0.0f);
            // The gauge: the strip from x 682 of the picture, as long as it is set.
            DrawSprite(1, 682, 0, gaugeRight, 24, 152.0f, 124.0f);
        }
    }
    ChangeScene();
}

void OptionScene::ChangeScene() {
    if (nextScene == kSceneTitle) SwitchScene(kSceneTitle);
}

void ReadTestIni() {
    g_testIniValue = int(GetPrivateProfileIntA("TEST", "test", 0, "D/test.ini"));
    MessageBoxA(GameApp::Get().gameWindow, g_testIniValue != 0 ? "OK" : "NO", "", MB_OK);
}
