// The street: placing the scenery apart, recycling scenery and clouds, the flight of the dust box.
// (Being written.)
#include "game/game_scene.h"

int GameScene::PlaceScenery(int i, int* xs, const int*, int) { return xs[i]; }
void GameScene::RecycleScenery() {}
void GameScene::FlyDustbox() {}
