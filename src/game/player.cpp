// The runner: the nine action flags, and the update of one frame with everything that moves him —
// walking, the depth move, the jump, the three-stage attack, the dash, power mode, the special move,
// friction, gravity and the scrolling street.
#include "game/game_scene.h"

#include "game/random.h"
#include "app/game_app.h"
#include "app/input.h"
#include "app/game_windows.h"
#include "sound/sound_manager.h"

#include <cstdlib>

namespace {

// Whether button b (a single bit) is held in a joystick mask, found the way the game has always
// searched the mask from the highest button down.
bool JoyButtonHeld(unsigned mask, unsigned b) {
    unsigned remaining = mask;
    for (unsigned c = 512; c >= 1; c >>= 1) {
        if (remaining >= c) {
            if (b == c) return true;
            remaining -= c;
        }
    }
    return false;
}

void Play(const char* file) {
    SoundManager::Instance()->Play(file);
}

}  // namespace

void GameScene::Input() {
    GameApp& app = GameApp::Get();
    if (KeyDown(VK_ESCAPE)) {
        if (MessageBoxA(app.gameWindow, "タイトルに戻りますか？", "確認", MB_YESNO | MB_ICONQUESTION) ==
            IDYES)
            nextScene = kSceneTitle;
    }
    if (app.joyInfo.wButtons == 0x3F0) nextScene = kSceneTitle;
    if (runFrames < 200) return;
    if (app.gameMode == 0 && clock > kClockLegOneDeadline - 1) return;
    if (app.gameMode == 1 && clock > kClockLegTwoDeadline - 1) return;
    const unsigned buttons = app.joyInfo.wButtons;
    input[kActionUp] = KeyDown(VK_UP) || JoyUp();
    input[kActionDown] = KeyDown(VK_DOWN) || JoyDown();
    input[kActionLeft] = KeyDown(VK_LEFT) || JoyLeft();
    input[kActionRight] = KeyDown(VK_RIGHT) || JoyRight();
    input[kActionDash] = KeyDown('S') || JoyButtonHeld(buttons, 1);
    input[kActionAttack] = KeyDown('D') || JoyButtonHeld(buttons, 2);
    input[kActionJump] = KeyDown('A') || JoyButtonHeld(buttons, 4);
    input[kActionPower] = KeyDown('F') || JoyButtonHeld(buttons, 8);
    input[kActionSpecial] = KeyDown(VK_SPACE) || JoyButtonHeld(buttons, 64);
}

void GameScene::AdvancePlayerFrame() {
    player.frame += 1;
    if (player.frame == 20) player.frame = 0;
}

void GameScene::WalkAnimation() {
    const int step = player.frameBack == 0 ? 1 : -1;
    player.frame += step;
    if (player.frame < 0 || player.frame > 19) {
        player.frame -= step;
        player.frameBack = player.frameBack == 0 ? 1 : 0;
    }
    if (player.frame == 11 && player.vx != 0) Play("SE/se_asioto_isi01.wav");
}

bool GameScene::SteerStep() {
    if (input[kActionRight]) {
        player.facingLeft = 0;
        if (player.vx < 0) player.vx += 8;
        if (player.vx < 128) player.vx += 4;
        if (player.vx < 5) player.vx += 4;
        return true;
    }
    if (input[kActionLeft]) {
        player.facingLeft = 1;
        if (player.vx > 0) player.vx -= 8;
        if (player.vx > 0) player.vx -= 4;
        if (player.vx > -128) player.vx -= 4;
        return true;
    }
    return false;
}

bool GameScene::DepthStep() {
    if (input[kActionUp] && player.groundY > 240) {
        player.y -= 1;
        player.groundY = player.y;
        return true;
    }
    if (input[kActionDown] && player.groundY < 300) {
        player.y += 1;
        player.groundY = player.y;
        return true;
    }
    return false;
}

void GameScene::Jump() {
    if (!input[kActionJump] || powerMode != 0 || player.pose == kPoseJump) return;
    player.vy = -160;
    player.y -= 4;
    player.pose = kPoseJump;
    player.frame = 0;
    input[kActionDash] = 0;
    input[kActionAttack] = 0;
    comboStage = 0;
    comboQueued = 0;
    Play("SE/se_asioto_isi01.wav");
}

void GameScene::AttackCombo() {
    const bool attack = input[kActionAttack] != 0;
    // The key asks for the next stage once; the stage starts when the key is let go.
    if (attack && comboStage == comboQueued) comboQueued = comboStage + 1;
    if (!attack && comboQueued > 0 &&
        (comboStage == 0 || (comboStage < 3 && player.frame >= 16 && comboStage == comboQueued - 1))) {
        comboStage = comboQueued;
        player.pose = comboStage + 2;
        player.frame = 0;
    }
    if (comboStage > 0 && (comboStage > 3 || (player.frame == 19 &&
                                              (comboQueued == comboStage || comboQueued > 3 || attack)))) {
        comboStage = 0;
        comboQueued = 0;
        player.pose = kPoseWalk;
        player.frame = 11;
    }
    if (comboStage > 0) {
        if (powerMode == 0)
            player.vx = player.facingLeft ? -52 : 52;
        else
            Home();
    }
}

void GameScene::Dash() {
    if (input[kActionDash] && dashTimer == 0 &&
        (comboStage == 0 || (player.frame > 15 && comboStage == comboQueued))) {
        dashTimer = 1;
        player.pose = kPoseDash;
        player.frame = 0;
        player.vx = player.facingLeft ? -192 : 192;
        Play("SE/dash1.wav");
    }
    if (dashTimer == 1) {
        if (player.frame % 8 == 0 && std::abs(player.vx) >= 160) Play("SE/dash2.wav");
        if (player.vx != 0) player.vx += player.facingLeft ? -3 : 3;
        // At full speed the runner shakes up and down.
        if (std::abs(player.vx) >= 160) {
            player.y = player.y + GameRand() % 13 - 6;
            player.groundY = player.y;
        }
        if ((!player.facingLeft && player.vx == 96) || (player.facingLeft && player.vx == -96)) {
            dashTimer = 2;
            player.pose = kPoseWalk;
        }
    }
    if (dashTimer > 1 || (dashTimer == 1 && player.pose != kPoseDash)) {
        dashTimer += 1;
        if (dashTimer >= 300) dashTimer = 0;
    }
}

void GameScene::PowerMode() {
    if (input[kActionPower] && player.frame % 19 != 0 && gauge >= 96) {
        powerMode = 1;
        comboQueued = comboStage + 1;
        gauge = 0;
        Play("SE/eva.wav");
    }
    // The runner attacks without pause while power mode lasts.
    if (powerMode && player.y == player.groundY && (player.frame > 15 || comboStage == 0)) {
        comboStage = 3;
        player.pose = kPoseAttack3;
        player.frame = 0;
    }
    if (powerMode && gaugeBar == 0) {
        powerMode = 0;
        gauge = 0;
        comboStage = 0;
        player.pose = kPoseWalk;
        player.frame = 11;
    }
}

void GameScene::SpecialMove() {
    if (input[kActionSpecial] && player.pose != kPoseJump && gauge >= 0) {
        specialTimer = 1;
        powerMode = 0;
        gauge = -1;  // used for the rest of the leg
        player.pose = kPoseSpecial;
        player.frame = 0;
        Play("SE/eva.wav");
    }
    if (specialTimer != 0 && player.y == player.groundY) {
        const int t = specialTimer;
        if (t <= 50) handOffset -= 12;
        if (t >= 100 && t < 300) {
            shakeX = GameRand() % 50 - 25;
            shakeY = GameRand() % 50 - 25;
        }
        if (t == 300) shakeX = shakeY = 0;
        if (t >= 300 && handOffset < 600) handOffset += 6;
        specialTimer += 1;
    }
    if (specialTimer > 400) {
        specialTimer = 0;
        player.pose = kPoseWalk;
        player.frame = 11;
    }
}

void GameScene::ScrollAndBounds() {
    if (player.pose != kPoseJump) {
        if (player.groundY < 240) player.y = player.groundY = 240;
        if (player.groundY > 300) player.y = player.groundY = 300;
    }
    if (player.x < 0) player.x = 0;
    if (player.x > 240 && distance <= 32300) {
        // The runner stays in the left part of the window: the street moves instead.
        const int dx = player.dx;
        pavementScroll += dx;
        skyScroll += 1;
        player.x -= dx;
        for (int& x : sceneryX) x -= dx;
        if (dustboxKicked != 0) sceneryX[4] += dx;
        for (int i = 0; i < passerCount; ++i)
            if (passers[i].flying == 0) passers[i].x -= dx;
        for (int& x : cloudX) x -= dx;
        if (distance > 30000) goalX -= dx;
        startStationX -= dx;
    }
    if (player.x > 240) player.x = 241;
}

void GameScene::Update() {
    GameApp& app = GameApp::Get();
    MoveGameWindows(shakeX, shakeY);

    if (powerMode) {
        for (int f = 0; f <= 6; ++f) input[f] = 0;
        input[kActionSpecial] = 0;
    }

    switch (player.pose) {
        case kPoseWalk:
        case kPoseStand:
            WalkAnimation();
            break;
        case kPoseJump:
            for (int f : {kActionUp, kActionDown, kActionDash, kActionAttack, kActionJump, kActionPower})
                input[f] = 0;
            break;
        case kPoseStumble:
            for (int f = 0; f <= 6; ++f) input[f] = 0;
            AdvancePlayerFrame();
            if (player.frame > 18 && player.y == player.groundY) {
                player.vx = 0;
                player.pose = kPoseWalk;
                player.frame = 11;
            }
            break;
        case kPoseAttack1:
        case kPoseAttack2:
        case kPoseAttack3:
            for (int f : {kActionUp, kActionDown, kActionLeft, kActionRight, kActionJump}) input[f] = 0;
            AdvancePlayerFrame();
            break;
        case kPoseDash:
            for (int f = 0; f <= 7; ++f) input[f] = 0;
            AdvancePlayerFrame();
            break;
        case kPoseSpecial:
            for (int f = 0; f < kActionCount; ++f) input[f] = 0;
            AdvancePlayerFrame();
            if (player.frame == 19) player.frame = 18;
            break;
        default:
            break;
    }

    // Steering and the depth move: one step, and a second one unless the runner came to rest.
    if (!SteerStep() && player.vx == 0 && player.pose == kPoseWalk) {
        player.pose = kPoseStand;
    } else if (SteerStep() && player.pose == kPoseStand) {
        player.pose = kPoseWalk;
    }
    if (!DepthStep() && player.vx == 0 && player.pose == kPoseWalk) {
        player.pose = kPoseStand;
    } else if (DepthStep() && player.pose == kPoseStand) {
        player.pose = kPoseWalk;
    }

    Jump();
    AttackCombo();
    Dash();
    PowerMode();
    SpecialMove();

    // Friction.
    if (player.vx >= 4)
        player.vx -= 4;
    else if (player.vx <= -4)
        player.vx += 4;
    if (player.vx >= -3 && player.vx <= 3) player.vx = 0;

    player.dx = player.vx / 16;
    if (player.dx == 0 && player.pose == kPoseWalk) player.dx = 1 - 2 * player.facingLeft;
    player.x += player.dx;

    // Gravity.
    if (player.y < player.groundY) {
        player.dy = player.vy / 16;
        player.y += player.vy / 16;
        player.vy += 4;
        if (player.y >= player.groundY) {
            player.pose = kPoseWalk;
            player.y = player.groundY;
            player.vy = 0;
            player.frame = 0;
        }
    }

    ScrollAndBounds();

    if (player.x > 0 && player.x <= 240 && distance <= 32350) distance += player.dx;

    MovePassers();
    player.scale = float(1.0 - (310 - player.groundY) * 0.004);

    Collide();
    RecycleScenery();
    FlyDustbox();
    SpawnWave();
    SortByDepth();

    StepClock();

    if (gaugeBar < 2 * gauge)
        gaugeBar += 1;
    else if (gaugeBar > 2 * gauge)
        gaugeBar -= 1;

    runFrames += 1;
    if (runFrames > 348) runFrames = 300;

    if (app.gameMode == 0) StepBoard();
    StepStamp();
    StepFade();

    if (app.gameMode == 0 && app.screenWidth >= trainX) trainX += 8;

    arrowSpin -= 0.02f;
    if (arrowSpin <= -1.0f) arrowSpin = 1.0f;

    CheckArrival();

    if (nextScene == kSceneTitle || nextScene == kSceneGameClear) {
        passerCount = 0;
        specialTimer = 0;
        shakeX = shakeY = 0;
        desktopShake = 0;
        handOffset = 600;
        MoveGameWindows(0, 0);
    }
}
