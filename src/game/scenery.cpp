// The street: placing the scenery apart, recycling scenery and clouds, the flight of the dust box.
#include "game/game_scene.h"

#include "game/random.h"

namespace {

constexpr int kDustbox = 4;
constexpr int kDustboxRestY = 290;

bool Overlap(const int* xs, const int* widths, int a, int b) {
    return xs[a] < xs[b] + widths[b] && xs[b] < xs[a] + widths[a];
}

}  // namespace

int GameScene::PlaceScenery(int i, int* xs, const int* widths, int count) {
    // Somewhere right of the window; behind whatever it runs into on the way.
    xs[i] = GameRand() % 1000 + 640;
    scratch = xs[0] + widths[0];
    for (int j = 0; j < count; ++j) {
        if (j != i && Overlap(xs, widths, i, j)) xs[i] = GameRand() % 1000 + xs[j] + widths[j];
        if (xs[j] + widths[j] > scratch) scratch = xs[j] + widths[j];
    }
    // Still in the way of something: past the far edge of the whole street.
    for (int j = 0; j < count; ++j) {
        if (j != i && Overlap(xs, widths, i, j)) {
            xs[i] = GameRand() % 1000 + scratch;
            break;
        }
    }
    return xs[i];
}

void GameScene::RecycleScenery() {
    if (pavementScroll >= 390) pavementScroll = 0;
    if (skyScroll > 638) skyScroll = 0;

    for (int i = 0; i < 11; ++i) {
        if (sceneryX[i] >= -1599) continue;
        // Near the goal the street empties: what has gone by stays gone.
        if (distance > 22999)
            sceneryX[i] = -1600;
        else
            PlaceScenery(i, sceneryX, sceneryWidth, 11);
    }

    for (int i = 0; i < 5; ++i) {
        if (cloudX[i] >= -127) continue;
        cloudX[i] = GameRand() % 500 + 680;
        cloudY[i] = GameRand() % 150 - 20;
    }
}

void GameScene::FlyDustbox() {
    if (dustboxKicked == 1) {
        sceneryX[kDustbox] += 10;
        dustboxY -= 6;
    } else if (dustboxKicked == 2) {
        sceneryX[kDustbox] -= 10;
        dustboxY -= 6;
    }
    // Out of sight: a new box stands further up the street.
    if (dustboxKicked != 0 && (sceneryX[kDustbox] > 1000 || sceneryX[kDustbox] < -400)) {
        dustboxKicked = 0;
        PlaceScenery(kDustbox, sceneryX, sceneryWidth, 11);
        dustboxY = kDustboxRestY;
    }
}
