#include "shell/win_main.h"

#include "app/game_windows.h"
#include "graphics/sprite_pass.h"
#include "graphics/texture_slots.h"
#include "platform/runtime.h"
#include "app/game_app.h"
#include "app/input.h"
#include "shell/start_scene.h"
#include "sound/music_player.h"
#include "sound/sound_manager.h"

#include <cstdio>

void CaptureDesktop() {
    GameApp& app = GameApp::Get();
    D3DXCreateTexture(app.graphics.device, UINT(app.screenWidth), UINT(app.screenHeight), 1, 0,
                      D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &app.textures[0]);
    if (!app.textures[0]) return;
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(app.textures[0]->GetSurfaceLevel(0, &surface))) return;
    HDC surfaceDc = nullptr;
    if (SUCCEEDED(surface->GetDC(&surfaceDc))) {
        HDC screenDc = GetWindowDC(nullptr);
        BitBlt(surfaceDc, 0, 0, app.screenWidth, app.screenHeight, screenDc, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screenDc);
        surface->ReleaseDC(surfaceDc);
    }
    surface->Release();
}

void DrawDesktopPicture() {
    GameApp& app = GameApp::Get();
    {
        SpritePass pass;
        if (pass.Open()) DrawSprite(0, 0, 0, app.screenWidth, app.screenHeight, 0.0f, 0.0f);
    }
    if (app.graphics.device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST)
        app.graphics.deviceLost = 1;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    GameApp& app = GameApp::Get();
    switch (msg) {
        case WM_CREATE:
            InitJoystick();
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_CLOSE:
            if (MessageBoxA(app.gameWindow, "終了しますか？", "確認", MB_YESNO | MB_ICONQUESTION) != IDYES)
                return 0;
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(app.mainWindow, &ps);
            if (app.graphics.device) DrawDesktopPicture();
            EndPaint(app.mainWindow, &ps);
            break;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorA(app.instance, MAKEINTRESOURCEA(106)));
                return 0;
            }
            break;
        case MM_MCINOTIFY:
            HandleMusicNotify(wParam, lParam);
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool RunFrame() {
    GameApp& app = GameApp::Get();
    if (app.graphics.deviceLost) {
        if (app.graphics.Recover() != 0) return false;
        app.graphics.deviceLost = 0;
    }
    platform::FrameBegin();
    const DWORD start = timeGetTime();

    GetWindowRect(app.gameWindow, &app.gameWindowRect);
    char caption[128];
    std::snprintf(caption, sizeof caption, "WIN_TOP=%d WIN_LEFT=%d MX=%d MY=%d", int(app.gameWindowRect.top),
                  int(app.gameWindowRect.left), app.mouseX, app.mouseY);
    SetWindowTextA(app.gameWindow, caption);

    GetKeyboardState(app.keys);

    D3DXMatrixPerspectiveFovLH(&app.projection, 0.7853982f, 1.3333334f, 0.1f, 1000.0f);
    app.graphics.device->SetTransform(D3DTS_PROJECTION, &app.projection);
    app.graphics.SetDirectionalLight(0, D3DXVECTOR3(0.2f, -0.5f, 0.5f), D3DCOLORVALUE{0.9f, 0.9f, 0.9f, 0.0f},
                                     D3DCOLORVALUE{0.2f, 0.2f, 0.2f, 0.0f},
                                     D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.0f});
    const D3DXVECTOR3 eye(0.0f, 1.0f, -10.0f), at(1000.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&app.view, &eye, &at, &up);
    app.graphics.device->SetTransform(D3DTS_VIEW, &app.view);

    joyGetPos(UINT(app.joyId), &app.joyInfo);
    CheckJoystick();

    if (app.scene) app.scene->Input();
    if (app.scene) app.scene->Update();
    if (app.scene) app.scene->Draw();

    RECT src;
    SetRect(&src, 0, 0, 640, 480);
    if (app.graphics.device->Present(&src, nullptr, app.gameWindow, nullptr) == D3DERR_DEVICELOST)
        app.graphics.deviceLost = 1;
    platform::FrameEnd();

    const DWORD elapsed = timeGetTime() - start;
    if (elapsed < 16) Sleep(16 - elapsed);
    return true;
}

bool StartUp(HINSTANCE instance, int cmdShow) {
    GameApp& app = GameApp::Get();
    app.instance = instance;
    UseProgramResources();

    WNDCLASSEXA wc;
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = 0;
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconA(nullptr, IDI_WINLOGO);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = "Window";
    if (!RegisterClassExA(&wc)) return false;

    app.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    app.screenHeight = GetSystemMetrics(SM_CYSCREEN);

    app.mainWindow = CreateWindowExA(0, "Window", "Rushmora_GameWindow", WS_POPUP | WS_SYSMENU, 0, 0,
                                     app.screenWidth, app.screenHeight, nullptr, nullptr, instance, nullptr);
    SetClientSize(app.mainWindow, app.screenWidth, app.screenHeight);

    if (!app.graphics.Init(app.mainWindow, app.screenWidth, app.screenHeight, D3DFMT_X8R8G8B8, 0)) {
        MessageBoxA(app.gameWindow, "DirectGraphics初期化に失敗", "EROOR", MB_OK);
        return false;
    }
    app.graphics.ApplyRenderStates();

    SoundManager::Instance()->Init(app.mainWindow);

    app.frameWindow = CreateWindowExA(0, "Window", "Rushmora ～走れ若者～", WS_DISABLED | WS_DLGFRAME,
                                      kFrameWindowX, kFrameWindowY, kFrameWindowWidth, kFrameWindowHeight,
                                      app.mainWindow, nullptr, instance, nullptr);
    GetClientRect(app.frameWindow, &app.frameClientRect);
    POINT origin{0, 0};
    ClientToScreen(app.frameWindow, &origin);
    app.frameClientOrigin = origin;

    app.gameWindow = CreateWindowExA(0, "Window", "GameWindow", WS_POPUPWINDOW, app.frameClientOrigin.x,
                                     app.frameClientOrigin.y, app.frameClientRect.right,
                                     app.frameClientRect.bottom, app.mainWindow, nullptr, instance, nullptr);

    CaptureDesktop();

    ShowWindow(app.mainWindow, cmdShow);
    ShowWindow(app.frameWindow, cmdShow);
    ShowWindow(app.gameWindow, cmdShow);
    UpdateWindow(app.mainWindow);

    timeBeginPeriod(1);

    app.gameMode = 0;
    app.arrivalRank = 0;
    app.totalScore = 0;

    app.scene = CreateStartScene();
    return true;
}

void ShutDown() {
    GameApp& app = GameApp::Get();
    app.graphics.Release();
    SoundManager::Instance()->ReleaseBuffers();
    SoundManager::Instance()->ReleaseDevice();
    SoundManager::DestroyInstance();
    ReleaseAllTextures();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    if (!StartUp(instance, cmdShow)) return 0;

    MSG msg{};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        RunFrame();
    }

    ShutDown();
    return int(msg.wParam);
}
