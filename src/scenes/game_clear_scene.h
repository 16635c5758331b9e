// The result screen after each leg: the leg's score, the lines that appear one after another, the
// total counting up, and the way on to the second leg or back to the title. A late leg shows the
// game-over picture instead.
#pragma once

#include "app/scene_base.h"

class GameClearScene : public SceneBase {
  public:
    int rank;           // 1 late (and the end picture), 2..5 first leg in time, 6 second leg in time
    int nextScene;      // -1 stay, 0 title, 1 the second leg
    int elapsed;        // game clock used in the leg, thousandths of a minute
    int frames;         // frame counter; stops at 251
    int shownScore;     // the total on screen, counting up to GameApp::totalScore
    int previousScore;  // second leg: the total before it
    int fadeAlpha;      // alpha of the closing white-out
    int fading;         // 1 once the white-out runs
    int trainX;         // the train along the bottom (first leg)

    GameClearScene();
    ~GameClearScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    void Load();
};
