#include "app/input.h"

#include "app/game_app.h"

void InitJoystick() {
    GameApp& app = GameApp::Get();
    app.joyDeviceCount = int(joyGetNumDevs());
    if (app.joyDeviceCount >= 1) {
        app.joyId = -1;
        if (joyGetPos(JOYSTICKID1, &app.joyInfo) == JOYERR_NOERROR) {
            app.joyId = 0;
            if (joyGetDevCapsA(JOYSTICKID1, &app.joyCaps, 404) != JOYERR_NOERROR) app.joyId = -2;
        }
    }
    // Centred until the first read of a frame succeeds.
    app.joyInfo.wXpos = 32511;
    app.joyInfo.wYpos = 32511;
}

void CheckJoystick() {
    GameApp& app = GameApp::Get();
    if (app.joyNoticeShown) return;
    if (app.joyId == -2) {
        MessageBoxA(app.gameWindow, "情報取得に失敗しました。", "JOY_MESSAGE", MB_OK);
        app.joyNoticeShown = 1;
    } else if (app.joyId == -1) {
        app.joyNoticeShown = 1;
    }
}

bool KeyDown(int vkey) {
    return (GameApp::Get().keys[vkey & 0xFF] & 0x80) != 0;
}
bool JoyLeft() {
    return GameApp::Get().joyInfo.wXpos == 0;
}
bool JoyRight() {
    return GameApp::Get().joyInfo.wXpos == 0xFFFF;
}
bool JoyUp() {
    return GameApp::Get().joyInfo.wYpos == 0;
}
bool JoyDown() {
    return GameApp::Get().joyInfo.wYpos == 0xFFFF;
}
unsigned JoyButtons() {
    return GameApp::Get().joyInfo.wButtons;
}
