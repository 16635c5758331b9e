// Passers-by: fresh ones and their looks, the waves, their motion, the collisions with the runner,
// homing, and the depth order.
#include "game/game_scene.h"

#include "game/random.h"
#include "app/game_app.h"
#include "sound/sound_manager.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The first texture slot of each of the three looks (t1_, t2_ and t3_ pictures).
constexpr int kLookSlotBase[3] = {30, 37, 46};

// Distances at which the six waves of four passers-by come.
bool WaveDue(int wave, int distance) {
    switch (wave) {
        case 0:
            return distance > 5000;
        case 1:
            return distance > 10000;
        case 2:
            return distance > 14000;
        case 3:
            return distance > 18000;
        case 4:
            return distance > 23000;
        case 5:
            return distance >= 28001;
        default:
            return false;
    }
}

// Nearer figures are drawn bigger: full size on the front line 310.
float ScaleForGround(int groundY) {
    return float(1.0 - (310 - groundY) * 0.004);
}

// A passer-by counts as on screen while any of it can be inside the game window.
bool OnScreen(const DrawCharacter& p) {
    return p.x > -80 && p.x < 640;
}

bool Attacking(int pose) {
    return pose == kPoseAttack1 || pose == kPoseAttack2 || pose == kPoseAttack3;
}

void Play(const char* file) {
    SoundManager::Instance()->Play(file);
}

}  // namespace

void GameScene::FreshPasser(int i) {
    DrawCharacter& p = passers[i];
    p.x = GameRand() % 2600 + 700;
    p.y = p.groundY = GameRand() % 70 + 240;
    p.facingLeft = 1;
    p.flying = 0;
    p.pose = kPoseWalk;
    p.frame = GameRand() % 20;
    p.frameBack = GameRand() % 2;
    p.dx = -1;
    p.dy = 0;
    p.vx = -16;
    p.vy = 0;
    p.scale = ScaleForGround(p.groundY);
    p.isPlayer = 0;
    currentPasser = i;
    RedressPasser();
}

void GameScene::RedressPasser() {
    DrawCharacter& p = passers[currentPasser];
    passerLook = GameRand() % 3;
    p.heldItem = 0;
    for (int k = 0; k < kPartCount; ++k) p.partSlots[k] = kLookSlotBase[passerLook] + k;
}

void GameScene::MovePassers() {
    GameApp& app = GameApp::Get();
    for (int i = 0; i < passerCount; ++i) {
        DrawCharacter& p = passers[i];

        // Walkers keep their pace; everyone else slows down, and the knocked-away fall.
        if (p.pose != kPoseWalk || p.flying > 0) {
            if (p.vx >= 4)
                p.vx -= 4;
            else if (p.vx <= -4)
                p.vx += 4;
            if (p.flying > 0 && p.vx >= -3 && p.vx <= 3) p.vx = 0;
            if (p.flying > 0 && p.y < p.groundY) p.vy += 6;
        }

        p.dx = p.vx / 16;
        p.dy = p.vy / 16;
        p.x += p.dx;
        p.y += p.dy;

        if (p.pose == kPoseKnockedAway) p.frameBack = 0;
        const int step = p.frameBack == 0 ? 1 : -1;
        p.frame += step;
        if (p.pose == kPoseKnockedAway && p.frame >= 20) p.frame = 0;  // the tumble loops
        if (p.frame < 0 || p.frame > 19) {
            // A stumble or a slide ends at the end of its frames: back on the feet, a little hurried.
            if ((p.pose == kPoseStumble || p.pose == kPoseSlide) && p.flying == 0) {
                p.y = p.groundY;
                p.pose = kPoseWalk;
                p.vx = -32;
            }
            p.frame -= step;
            p.frameBack = p.frameBack == 0 ? 1 : 0;
        }

        if (p.pose == kPoseSlide) {
            p.y += 8;
            // The runner's follow-through holds while a victim slides.
            if (player.frame == 18) player.frame = 17;
        }

        p.scale = ScaleForGround(p.groundY);

        if (p.x < -399 || p.x >= 1200) {
            // Gone from the field: one knocked away in flight scores.
            if (p.flying > 0) app.resultCount += 1;
            FreshPasser(i);
        }
    }
}

void GameScene::Collide() {
    GameApp& app = GameApp::Get();
    for (int i = 0; i < passerCount; ++i) {
        DrawCharacter& p = passers[i];

        // The runner's kick.
        if (Attacking(player.pose) && p.y - 160 < player.y && player.y < p.y + 60 &&
            std::abs(p.groundY - player.groundY) < 15 &&
            ((player.facingLeft == 0 && player.x < p.x && p.x < player.x + 80 && p.flying == 0) ||
             (player.facingLeft != 0 && player.x - 80 < p.x && p.x < player.x && p.flying == 0))) {
            p.flying = 1;
            p.pose = kPoseKnockedAway;
            if (gauge >= 0 && gauge <= 95 && powerMode == 0) gauge += 1;
            Play("SE/蹴る(強).wav");
            const int power = GameRand() % 3 + comboStage;
            p.vx = power * player.dx * (GameRand() % 30 + 20);
            p.vy = -((GameRand() % 20 + 40) * comboStage) - 160;
        }

        // Running into someone: both stumble.
        if (std::abs(player.x - p.x) < 40 && std::abs(player.y - p.y) < 150 &&
            std::abs(p.groundY - player.groundY) < 15 && p.pose == kPoseWalk && player.pose != kPoseStumble &&
            player.pose != kPoseDash && player.pose != kPoseSpecial) {
            player.pose = kPoseStumble;
            player.frame = 0;
            player.frameBack = 0;
            comboStage = 0;
            comboQueued = 0;
            player.vx = player.vx < 0 ? 64 : -64;
            p.pose = kPoseStumble;
            p.frame = 0;
            p.frameBack = 0;
            p.vx = (p.x - player.x) * 5;
            if (powerMode == 0 && gauge >= 0 && gauge <= 93) gauge += 3;
            Play("SE/crash.wav");
        }

        // The special move blows away everyone on screen who stands on the street.
        if (OnScreen(p) && player.pose == kPoseSpecial && specialTimer >= 100 && specialTimer < 300 &&
            p.y == p.groundY) {
            currentPasser = i;
            const int r1 = GameRand();
            const int r2 = GameRand();
            p.vx = (r2 % 400) * (r1 % 2 == 1 ? 1 : -1);
            const int lift = GameRand() % 3 + 1;
            p.vy = -(lift * (GameRand() % 20 + 40)) - 160;
            p.flying = 1;
            p.pose = kPoseKnockedAway;
        }
    }

    for (int i = 0; i < passerCount; ++i) {
        DrawCharacter& p = passers[i];

        // Off the edges of the screen (the window at rest): back they come, and the desktop shakes.
        if (p.flying > 0 && p.pose == kPoseKnockedAway && (p.x < -308 || p.x + 50 > app.screenWidth - 308)) {
            p.flying = 2;
            p.vx = -p.vx;
            desktopShake = 1;
        }

        // Back down on the street: a slide.
        if (p.groundY - 20 <= p.y && p.y <= p.groundY && OnScreen(p) && p.flying > 0 && p.vy > 0 &&
            specialTimer < 100) {
            p.flying = 0;
            p.pose = kPoseSlide;
            p.vy = 0;
            p.vx = 4 * p.vx;
            if (p.vx > 128) p.vx = 128;
            if (p.vx < -128) p.vx = -128;
            p.y = p.groundY;
        }

        // Fallen to the bottom of the screen: it runs off to the left, still counted as flying.
        if (p.flying > 0 && p.y + 260 >= app.screenHeight) {
            p.pose = kPoseWalk;
            p.vx = -128;
            p.vy = 0;
        }
    }

    KickDustbox();
}

void GameScene::KickDustbox() {
    if (!Attacking(player.pose) || std::abs(dustboxTop - player.groundY) >= 15) return;
    const int boxX = sceneryX[4];
    if (player.x + 40 < boxX + 128 && boxX < player.x + 80 && player.facingLeft == 0) dustboxKicked = 1;
    if (player.x < boxX + 128 && boxX < player.x - 40 && player.facingLeft != 0) dustboxKicked = 2;
}

void GameScene::Home() {
    const bool right = player.facingLeft == 0;
    auto ahead = [&](const DrawCharacter& p) { return right ? p.x > player.x : p.x < player.x; };
    auto reach = [&](const DrawCharacter& p) {
        return std::abs(p.x - player.x) + std::abs(p.groundY - player.groundY);
    };

    // The nearest walker ahead; passer-by 0 stands in when there is none.
    int target = 0;
    for (int i = 0; i < passerCount; ++i) {
        const DrawCharacter& p = passers[i];
        if (reach(p) < reach(passers[target]) && p.flying == 0 && ahead(p)) target = i;
    }
    const DrawCharacter& t = passers[target];
    if (t.flying != 0) return;

    if (!ahead(t) || (t.x == player.x && t.y == player.groundY)) {
        player.vx = right ? 68 : -68;
        return;
    }

    player.dx = t.x - player.x;
    player.dy = t.y - player.groundY;
    homingAngle = int(std::atan2(double(player.dy), double(player.dx)) * 180.0 / kPi);
    if (homingAngle < 0) homingAngle += 360;
    const double a = homingAngle * kPi / 180.0;
    player.vx = int((std::cos(a) * 11 + 1) * 16);
    player.y += int(std::sin(a) * 6 + 1);
    player.groundY = player.y;
}

void GameScene::SpawnWave() {
    if (!WaveDue(wave, distance)) return;
    const int count = passerCount + 4 < kMaxPassers ? passerCount + 4 : kMaxPassers;
    for (int i = passerCount; i < count; ++i) FreshPasser(i);
    passerCount = count;
    wave += 1;
}

void GameScene::SortByDepth() {
    for (int i = 0; i < passerCount; ++i) {
        drawOrderKey[i] = passers[i].groundY;
        drawOrder[i] = i;
    }
    // Farthest first, so that nearer figures cover farther ones.
    for (int i = 0; i < passerCount; ++i) {
        for (int j = i + 1; j < passerCount; ++j) {
            if (drawOrderKey[j] < drawOrderKey[i]) {
                scratch = drawOrderKey[i];
                drawOrderKey[i] = drawOrderKey[j];
                drawOrderKey[j] = scratch;
                scratch = drawOrder[i];
                drawOrder[i] = drawOrder[j];
                drawOrder[j] = scratch;
            }
        }
    }
}
