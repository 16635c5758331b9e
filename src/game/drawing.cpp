// Drawing the run. Each frame is drawn twice: first the whole screen behind the game window (the
// desktop picture, the minimap, the trains, the hands of the special move and whatever has been
// knocked out of the window), presented to the background window; then the street, the figures and
// the displays into the game window, which the main loop presents.
#include "game/game_scene.h"

#include "game/random.h"
#include "graphics/sprite_pass.h"
#include "app/game_app.h"

namespace {

constexpr float kQuarterTurn = 0.78539816f;  // pi / 4

// A figure drawn with an offset added to its position for the draw only.
void DrawShifted(DrawCharacter& figure, int dx, int dy) {
    figure.x += dx;
    figure.y += dy;
    figure.draw();
    figure.x -= dx;
    figure.y -= dy;
}

// The street objects in their drawing order (far buildings first, the dust box last), with the
// height they stand at and the part of their picture that shows. Objects 2 and 5 are never drawn.
struct SceneryLook {
    int index, slot, y, width, height;
};
const SceneryLook kSceneryLooks[] = {
    {6, 18, 25, 920, 360},  {7, 19, -260, 450, 640}, {8, 20, -70, 1580, 455},
    {9, 21, 60, 360, 320},  {10, 22, -30, 680, 414}, {0, 13, 230, 124, 174},
    {1, 14, -30, 125, 441}, {3, 16, 285, 72, 128},   {4, 17, 0, 87, 110},  // the dust box: y is dustboxY
};

}  // namespace

void GameScene::Draw() {
    DrawDesktop();
    DrawGameWindow();
    ChangeScene();
}

void GameScene::DrawDesktop() {
    GameApp& app = GameApp::Get();
    IDirect3DDevice9* device = app.graphics.device;
    // Everything out here sits at its game-window position plus where the (shaking) window is.
    const int ox = windowOrigin.x + shakeX;
    const int oy = windowOrigin.y + shakeY;
    {
        SpritePass pass;
        if (pass.Open()) {
            // The desktop picture; a passer-by hitting the screen edge shakes it for 20 frames.
            int shiftX = 0, shiftY = 0;
            if (desktopShake != 0) {
                const int a = GameRand();
                const int b = GameRand();
                shiftX = b % 100 - 50;
                shiftY = a % 80 - 40;
                desktopShake += 1;
                if (desktopShake > 20) desktopShake = 0;
            }
            DrawSprite(0, 0, 0, app.screenWidth, app.screenHeight, float(shiftX), float(shiftY));

            // The two giant hands of the special move reach in from the screen edges; the right one is
            // the left one mirrored.
            if (specialTimer != 0) {
                const float top = float(shakeY + 3);
                DrawSprite(72, 0, 0, 512, 512, float(ox - handOffset - 605), top, 0xFFFFFFFF, 2.0f, 2.0f);
                const float right = float(app.screenWidth + shakeX + handOffset - windowOrigin.x + 570);
                DrawSprite(72, 0, 0, 512, 512, right, top, 0xFFFFFFFF, -2.0f, 2.0f);
            }

            // The minimap above the window, the runner's pin on it, and in the first leg the train.
            if (nextScene != kSceneTitle && nextScene != kSceneGameClear) {
                DrawSprite(64, 0, 0, 640, 64, float(ox), float(oy - 85));
                DrawSprite(65, 0, 0, 640, 64, float(ox + distance * 560 / 32300 + 25), float(oy - 75));
                if (app.gameMode == 0) DrawSprite(70, 0, 0, 1024, 64, float(trainX), float(oy - 90));
            }

            // Whatever flies has left the window: it goes on across the desktop.
            for (int i = 0; i < passerCount; ++i)
                if (passers[i].flying != 0) DrawShifted(passers[i], ox, oy);
            if (dustboxKicked != 0)
                DrawSprite(17, 0, 0, 128, 137, float(sceneryX[4] + ox), float(dustboxY + oy));
        }
    }
    if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) app.graphics.deviceLost = 1;
}

void GameScene::DrawGameWindow() {
    GameApp& app = GameApp::Get();
    ID3DXSprite* sprite = app.graphics.sprite;
    SpritePass pass;
    if (pass.Open()) {
        // Sky, clouds and the sidewalk, each tiled to scroll without a seam.
        DrawSprite(2, 0, 0, 640, 480, float(-skyScroll), 0.0f);
        DrawSprite(2, 0, 0, 640, 480, float(640 - skyScroll), 0.0f);
        for (int i = 0; i < 5; ++i) DrawSprite(68, 0, 0, 128, 128, float(cloudX[i]), float(cloudY[i]));
        for (int k = 0; k < 3; ++k) DrawSprite(4, 0, 0, 391, 101, float(390 * k - pavementScroll), 380.0f);

        for (const SceneryLook& s : kSceneryLooks) {
            const int y = s.index == 4 ? dustboxY : s.y;
            DrawSprite(s.slot, 0, 0, s.width, s.height, float(sceneryX[s.index]), float(y));
        }

        // The goal building, and in the second leg the station the run set out from.
        DrawSprite(26, 0, 0, 962, 562, float(goalX), -65.0f);
        if (app.gameMode == 1) DrawSprite(73, 0, 0, 962, 562, float(startStationX), -65.0f);

        // Count-in: the first sign blinks every 30 frames (its other cell is empty), then the second.
        if (runFrames < 180) {
            const int k = (runFrames / 30) % 2;
            DrawSprite(1, k * 200, 0, 200, 50, 250.0f, 200.0f);
        } else if (runFrames < 220) {
            DrawSprite(1, 0, 50, 120, 100, 270.0f, 200.0f);
        }

        // The power gauge: once full, the bar flashes between two rows every 25 frames.
        DrawSprite(27, 0, 0, 202, 56, 2.0f, 2.0f);
        DrawSprite(27, 0, 56, 191, 86, 8.0f, 22.0f, 0x64FFFFFF);
        if (gauge < 0) {
            DrawSprite(27, 0, 176, 202, 236, 5.0f, 18.0f);
        } else if (gaugeBar > 190) {
            const int t = ((runFrames - 300) / 25) * 30;
            DrawSprite(27, 0, t + 116, gaugeBar, t + 146, 8.0f, 22.0f);
        } else {
            DrawSprite(27, 0, 86, gaugeBar, 116, 8.0f, 22.0f);
        }

        // The item window and what the runner holds; the umbrella leans by 45 degrees.
        DrawSprite(55, 107, -3, 216, 110, 5.0f, 60.0f, 0x50FFFFFF);
        DrawSprite(55, 0, 0, 105, 110, 5.0f, 60.0f);
        const int item = player.heldItem;
        if (item == 1) {
            DrawSprite(56, 0, 0, 128, 128, 25.0f, 67.0f);
        } else if (item == 2) {
            DrawTurnedSprite(57, 0, 0, 128, 128, 0.0f, 0.0f, kQuarterTurn, 15.0f, 37.0f);
        } else if (item != 0) {
            DrawSprite(55 + item, 0, 0, 128, 128, 10.0f, 80.0f);
        }

        // The clock; past the deadline its digits come from the second strip.
        DrawSprite(54, 0, 0, 110, 48, 500.0f, 5.0f, 0x64FFFFFF);
        DrawSprite(53, 0, 0, 128, 64, 495.0f, 0.0f);
        const int digits = 44 + lateDigits;
        const int minutes = clock % 60000;
        const int shown[3] = {clock / 60000, minutes / 10000, (minutes % 10000) / 1000};
        const float xs[3] = {525.0f, 555.0f, 570.0f};
        for (int k = 0; k < 3; ++k)
            DrawSprite(digits, 15 * shown[k] + 2, 0, 15 * shown[k] + 17, 32, xs[k], 20.0f);
        DrawSprite(44, 155, 0, 170, 32, 540.0f, 20.0f);

        // The station board of the first leg: the current line, and the next one sliding in.
        if (app.gameMode == 0) {
            const int k = boardMessage;
            DrawSprite(63, 0, 0, 160, 100, 477.0f, 55.0f);
            DrawSprite(63, 162, 20 * k + 1, 292, 20 * k + 18, 487.0f, 66.0f);
            DrawSprite(63, 162, 20 * k + 21, 162 + boardReveal, 20 * k + 38, float(boardX + 47), 101.0f);
        }

        // The special move has no figure of the runner: he is not drawn while it lasts (nor in the
        // last frame of a leg that ended during it, when the timer is already cleared).
        const bool special = specialTimer != 0;
        const bool runnerShown = !special && player.pose != kPoseSpecial;

        // Shadows on the ground lines.
        for (int i = 0; i < passerCount; ++i) {
            const DrawCharacter& p = passers[i];
            if (p.x > -80 && p.x < 640 && p.groundY + 150 >= p.y) {
                D3DXMATRIX m;
                D3DXMatrixTranslation(&m, float(p.x - 35), float(p.groundY + 150), 0.0f);
                sprite->SetTransform(&m);
                sprite->Draw(app.textures[23], nullptr, nullptr, nullptr, 0x64FFFFFF);
            }
        }
        if (!special) {
            D3DXMATRIX m;
            D3DXMatrixTranslation(&m, float(player.x - 35), float(player.groundY + 155), 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(app.textures[23], nullptr, nullptr, nullptr, 0x64FFFFFF);
        }

        // The figures from the farthest ground line forward; the runner in front of anyone on his own
        // line.
        for (int k = 0; k < passerCount; ++k) {
            DrawCharacter& p = passers[drawOrder[k]];
            if (p.groundY <= player.groundY) p.draw();
        }
        if (runnerShown) {
            player.draw();
            if (powerMode)
                DrawSprite(69, 0, 0, 128, 256, float(player.x - 25), float(player.joints[kJointHead].y - 30),
                           0x64FFFFFF, player.scale, player.scale);
        }
        for (int k = 0; k < passerCount; ++k) {
            DrawCharacter& p = passers[drawOrder[k]];
            if (p.groundY > player.groundY) p.draw();
        }

        // The spinning arrow over the runner's head.
        if (runnerShown) {
            const POINT head = player.joints[kJointHead];
            DrawSprite(71, 0, 0, 32, 32, float(head.x) + 15.0f + (10.0f - 11.0f * arrowSpin),
                       float(head.y - 30), 0xFFFFFFFF, arrowSpin, 1.0f);
        }

        // The late stamp, then the closing white-out over everything.
        if (app.arrivalRank != 0)
            DrawSprite(67, 0, 0, 512, 512, float(stampX), float(stampY), 0xFFFFFFFF, stampScaleX,
                       stampScaleY);
        DrawSprite(66, 0, 0, 640, 480, 0.0f, 0.0f, FadeColor(fadeAlpha));
    }
}
