// Passers-by: fresh ones and their looks, the waves, their motion, the collisions with the runner,
// homing, and the depth order. (Being written.)
#include "game/game_scene.h"

void GameScene::FreshPasser(int) {}
void GameScene::RedressPasser() {}
void GameScene::MovePassers() {}
void GameScene::Collide() {}
void GameScene::KickDustbox() {}
void GameScene::Home() {}
void GameScene::SpawnWave() {}
void GameScene::SortByDepth() {}
