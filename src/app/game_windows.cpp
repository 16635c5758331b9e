#include "app/game_windows.h"

#include "app/game_app.h"

void MoveGameWindows(int dx, int dy) {
    GameApp& app = GameApp::Get();
    MoveWindow(app.frameWindow, kFrameWindowX + dx, kFrameWindowY + dy, kFrameWindowWidth, kFrameWindowHeight,
               TRUE);
    MoveWindow(app.gameWindow, app.frameClientOrigin.x + dx, app.frameClientOrigin.y + dy,
               app.frameClientRect.right, app.frameClientRect.bottom, TRUE);
}
