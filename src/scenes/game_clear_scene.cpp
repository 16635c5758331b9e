#include "scenes/game_clear_scene.h"

#include "graphics/sprite_pass.h"
#include "app/game_app.h"
#include "app/input.h"
#include "app/game_windows.h"
#include "graphics/texture_slots.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Where the total counts up, where the lines start, and when the screen lets go.
constexpr int kFirstLineFrame = 49;
constexpr int kTimeLineFrame = 89;
constexpr int kCountLineFrame = 129;
constexpr int kScoreLineFrame = 189;
constexpr int kSkipFrame = 220;
constexpr int kReadyFrame = 250;

// The departure of the train each first-leg rank caught.
int DepartureOf(int rank) {
    switch (rank) {
        case 2:
            return 475000;  // 7:55
        case 3:
            return 460000;  // 7:40
        case 4:
            return 443000;  // 7:23
        case 5:
            return 435000;  // 7:15
        default:
            return -1;
    }
}

// The pad confirms with button 2, as on the title and in the help book, and goes back with
// button 3, as on every other screen.
bool Confirm() {
    return KeyDown(VK_RETURN) || JoyButtons() == 2;
}
bool Cancel() {
    return KeyDown(VK_ESCAPE) || JoyButtons() == 4;
}

// A score as an int: the nearest one, for sums no game could reach.
int ScoreWithin(std::int64_t score) {
    return int(std::clamp<std::int64_t>(score, INT_MIN, INT_MAX));
}

// One digit of the result strip at (x, y).
void Digit(int d, int x, int y) {
    DrawSprite(4, 15 * d + 2, 0, 15 * d + 17, 32, float(x), float(y));
}

// A number of `places` digits from x on, one every 15 pixels, most significant first; leading zeros
// are left out (the last place always shows) and a negative value shows as 0.
void Number(int value, int places, int x, int y) {
    if (value < 0) value = 0;
    int divisor = 1;
    for (int p = 1; p < places; ++p) divisor *= 10;
    for (int p = 0; p < places; ++p, divisor /= 10) {
        if (p < places - 1 && value <= divisor - 1) continue;
        Digit((value / divisor) % 10, x + 15 * p, y);
    }
}

}  // namespace

GameClearScene::GameClearScene() {
    Load();
}

GameClearScene::~GameClearScene() {
    ReleaseTextureSlots(1, 7);
}

void GameClearScene::Load() {
    GameApp& app = GameApp::Get();
    LoadTextureSlot(1, "Texture/densya.png");
    LoadTextureSlot(2, "Texture/GAMEOVER.png");
    LoadTextureSlot(3, "Texture/BB.png");
    LoadTextureSlot(4, "Texture/suuji3.png");
    LoadTextureSlot(5, "Texture/NOWLOAD.png");
    LoadTextureSlot(6, "Texture/jikoku_g.png");
    LoadTextureSlot(7, "Texture/title_msk.png");
    rank = app.arrivalRank;
    elapsed = app.elapsedClock;
    nextScene = kSceneNone;
    frames = 0;
    shownScore = 0;
    previousScore = 0;
    fadeAlpha = 0;
    fading = 0;
    trainX = -800;

    // Every passer-by sent flying is worth 100; every thousandth of a minute used costs one. Summed
    // 64 bits wide and held within an int, so that no count or time the context holds overflows.
    const std::int64_t legScore = std::int64_t(app.resultCount) * 100 - elapsed + 60000;
    if (app.gameMode == 0) {
        app.totalScore = ScoreWithin(legScore);
    } else if (app.gameMode == 1) {
        previousScore = app.totalScore;
        app.totalScore = ScoreWithin(app.totalScore + legScore);
    }
    MoveGameWindows(0, 0);
}

void GameClearScene::Update() {
    GameApp& app = GameApp::Get();
    if (frames <= kReadyFrame) frames += 1;
    if (frames > kScoreLineFrame && shownScore != app.totalScore) {
        shownScore += 1;
        if (shownScore >= app.totalScore) shownScore = app.totalScore;
    }
    if (fading == 1) {
        fadeAlpha += 5;
        if (fadeAlpha > 254) {
            fadeAlpha = 255;
            if (app.gameMode == 0)
                nextScene = kSceneGame;  // on to the second leg
            else
                rank = 1;  // the run is over: the end picture
        }
    }
    trainX += 1;
    if (trainX >= 640) trainX = -800;
}

void GameClearScene::Input() {
    GameApp& app = GameApp::Get();
    const bool confirm = Confirm();
    if (confirm && frames >= kReadyFrame && shownScore == app.totalScore && rank != 1) fading = 1;
    if (confirm && frames > kScoreLineFrame && rank != 1) {
        // Skip the count-up and show every line.
        frames = kSkipFrame;
        shownScore = app.totalScore;
    }
    if (confirm && rank == 1) nextScene = kSceneTitle;
    if (Cancel()) nextScene = kSceneTitle;
}

void GameClearScene::Draw() {
    GameApp& app = GameApp::Get();
    {
        // The result screen alone is cleared to white.
        SpritePass pass(0xFFFFFFFF);
        if (pass.Open()) {
            const bool legOne = app.gameMode == 0;

            if (rank == 1) {
                DrawSprite(2, 0, 0, 512, 128, 115.0f, 200.0f, 0xFFFFFFFF);
            } else if (rank >= 2 && rank <= 6) {
                // The first leg's picture names the train caught, the second leg's the total so far.
                DrawSprite(rank == 6 ? 3 : 6, 0, 0, 640, 480, 0.0f, 0.0f, 0xFFFFFFFF);

                if (frames > kFirstLineFrame) {
                    if (legOne) {
                        const int time = DepartureOf(rank);
                        if (time >= 0) {
                            const int minutes = time % 60000;
                            Digit(time / 60000, 265, 60);
                            Digit(minutes / 10000, 355, 60);
                            Digit((minutes % 10000) / 1000, 370, 60);
                        }
                    } else {
                        Number(previousScore, 6, 285, 60);
                    }
                }
                if (frames > kTimeLineFrame) {
                    const int minutes = elapsed % 60000;
                    const int seconds = (elapsed % 1000) * 60 / 1000;
                    Digit(minutes / 10000, 265, 130);
                    Digit((minutes % 10000) / 1000, 280, 130);
                    Digit(seconds / 10, 355, 130);
                    Digit(seconds % 10, 370, 130);
                }
                if (frames > kCountLineFrame) Number(app.resultCount, 4, 320, 208);
                if (frames > kScoreLineFrame) Number(shownScore, 6, 310, 325);
            }

            if (rank > 1) {
                if (legOne) {
                    DrawSprite(1, 0, 0, 1024, 64, float(trainX), 425.0f, 0xFFFFFFFF);
                }
                DrawSprite(7, 0, 0, 640, 480, 0.0f, 0.0f, FadeColor(fadeAlpha));
                if (legOne) {
                    DrawSprite(5, 0, 0, 256, 64, 350.0f, 400.0f, FadeColor(fadeAlpha));
                }
            }
        }
    }
    ChangeScene();
}

void GameClearScene::ChangeScene() {
    const int request = nextScene;
    if (request != kSceneTitle && request != kSceneGame) return;
    GameApp& app = GameApp::Get();
    app.gameMode = request == kSceneTitle ? 0 : 1;
    SwitchScene(request);
}
