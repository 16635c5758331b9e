// Drawing the run: the desktop pass around the windows and the game-window pass. (Being written.)
#include "game/game_scene.h"

void GameScene::Draw() {
    DrawDesktop();
    DrawGameWindow();
    ChangeScene();
}
void GameScene::DrawDesktop() {}
void GameScene::DrawGameWindow() {}
