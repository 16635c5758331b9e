// The game clock, the station board of the first leg, arrival and ranking, the late stamp, the closing
// white-out, and the end of the scene.
#include "game/game_scene.h"

#include "platform/mmsystem.h"
#include "app/game_app.h"

namespace {

// Departure bands of the first leg: the rank an arrival time earns.
int LegOneRank(int clock) {
    if (clock >= 475000) return 1;
    if (clock >= 460000) return 2;
    if (clock >= 443000) return 3;
    if (clock >= 435000) return 4;
    return 5;
}

// The station board: in each phase, the clock window that brings the next message.
struct BoardRow {
    int phase, from, to, message, next;
};
const BoardRow kBoard[] = {
    {1, 431000, 434999, 1, 2}, {3, 435000, 442999, 2, 4},      {5, 443000, 459999, 3, 6},
    {7, 460000, 474999, 4, 8}, {9, 475000, 0x7FFFFFFF, 5, 11},
};

}  // namespace

void GameScene::StepClock() {
    GameApp& app = GameApp::Get();
    if (tickPrev == 0 && runFrames == 200) tickPrev = timeGetTime();
    if (runFrames > 200 && clock > 0 && app.arrivalRank == 0) {
        tickNow = timeGetTime();
        clock += int((tickNow - tickPrev) / 4u);
        tickPrev = tickNow;
        if (clock <= 0) clock = 0;
    }
    const int limit = app.gameMode == 0 ? kClockLegOneDeadline : kClockLegTwoDeadline;
    lateDigits = clock > limit ? 1 : 0;
}

void GameScene::CheckArrival() {
    GameApp& app = GameApp::Get();
    const bool atGoal = distance >= kGoalDistance;
    if (app.gameMode == 0) {
        if (clock >= kClockLegOneDeadline) {
            powerMode = 0;
            app.arrivalRank = 1;
        }
        if (atGoal && app.arrivalRank == 0) {
            powerMode = 0;
            app.arrivalRank = LegOneRank(clock);
            app.elapsedClock = clock - kClockLegOneStart;
        }
    } else {
        if (clock >= kClockLegTwoDeadline) {
            powerMode = 0;
            app.arrivalRank = 1;
        } else if (atGoal && app.arrivalRank == 0) {
            app.elapsedClock = clock - LegTwoStartClock(legOneRank);
            app.arrivalRank = 6;
        }
    }
}

void GameScene::StepBoard() {
    for (const BoardRow& row : kBoard) {
        if (boardPhase == row.phase && clock >= row.from && clock <= row.to) {
            boardMessage = row.message;
            boardReveal = 0;
            boardX = 582;
            trainX = -800;
            boardPhase = row.next;
            break;
        }
    }
    if (boardPhase % 2 == 0) {
        boardReveal += 1;
        boardX -= 1;
        if (boardReveal >= 130 && boardX <= 440) boardPhase += 1;
    }
}

void GameScene::StepStamp() {
    if (GameApp::Get().arrivalRank != 1 || fadeAlpha != 0) return;
    stampScaleX *= 1.4f;
    stampScaleY *= 1.4f;
    stampX -= 12;
    stampY -= 12;
    if (stampScaleX >= 1.0f) stampScaleX = stampScaleY = 1.0f;
    if (stampX <= 88) {
        stampX = 88;
        stampY = 0;
    }
    if (stampScaleX == 1.0f && stampX == 88) fadeAlpha = 1;
}

void GameScene::StepFade() {
    GameApp& app = GameApp::Get();
    if (app.arrivalRank == 1 && fadeAlpha != 0) {
        boardPhase += 1;
        if (boardPhase >= 350) fadeAlpha += 2;
    }
    if (app.arrivalRank > 1) fadeAlpha += 1;
    if (fadeAlpha > 254) {
        fadeAlpha = 255;
        passerCount = 0;
        nextScene = kSceneGameClear;
    }
}

void GameScene::ChangeScene() {
    const int request = nextScene;
    if (request == kSceneTitle || request == kSceneGameClear) SwitchScene(request);
}
