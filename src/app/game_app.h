// The process-wide context of the game: everything more than one part of the program reaches.
#pragma once

#include "graphics/graphics_device.h"
#include "platform/mmsystem.h"
#include "app/scene_base.h"

#include <cstdint>

class GameApp {
  public:
    SceneBase* scene;
    GraphicsDevice graphics;
    D3DXMATRIX view;
    D3DXMATRIX projection;
    IDirect3DTexture9* textures[100];
    int screenWidth;
    int screenHeight;
    RECT gameWindowRect;
    int mouseX;
    int mouseY;
    HINSTANCE instance;
    HWND mainWindow;
    HWND gameWindow;
    HWND frameWindow;
    RECT frameClientRect;
    POINT frameClientOrigin;
    MCI_OPEN_PARMS musicOpenParams;
    MCI_PLAY_PARMS musicPlayParams;
    JOYINFO joyInfo;
    JOYCAPSA joyCaps;
    int joyId;
    int joyDeviceCount;
    int joyNoticeShown;
    BYTE keys[256];
    int arrivalRank;
    int elapsedClock;
    int resultCount;
    int totalScore;
    std::int16_t gameMode;

    static GameApp& Get();
    // Back to the state before start-up (for running the program more than once in one process).
    static void Reset();

  private:
    GameApp();
};
