// Helpers for driving the street and the passers-by of a live game scene step by step.
#pragma once

#include "game/game_scene.h"
#include "game/random.h"
#include "app/game_app.h"
#include "support/game_run.h"

namespace street_support {

inline GameScene* LiveScene() {
    return dynamic_cast<GameScene*>(GameApp::Get().scene);
}

// A game scene after its first frame (still in the count-in), ready to have its steps called by hand.
inline GameScene* FirstFrame(long seed = 11, long frames = 1) {
    testing_support::RunSetup setup;
    setup.scene = "Game";
    setup.frames = frames;
    setup.seed = seed;
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
    testing_support::RunGame(setup);
    return LiveScene();
}

// Makes passer-by i a walker at x on ground line groundY and the last live one.
inline DrawCharacter& Walker(GameScene& g, int i, int x, int groundY) {
    DrawCharacter& p = g.passers[i];
    p.x = x;
    p.y = p.groundY = groundY;
    p.pose = kPoseWalk;
    p.flying = 0;
    p.frame = 5;
    p.frameBack = 0;
    p.vx = -16;
    p.vy = 0;
    g.passerCount = i + 1;
    return p;
}

// Whether two street objects take up some of the same stretch of street.
inline bool Overlap(const int* xs, const int* widths, int a, int b) {
    return xs[a] < xs[b] + widths[b] && xs[b] < xs[a] + widths[a];
}

}  // namespace street_support
