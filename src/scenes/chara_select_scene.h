// The character select screen: one picture of the runner, Space to the help book and Escape back to
// the title. It stores no choice: the run always uses the same runner.
#pragma once

#include "app/scene_base.h"

class CharaSelectScene : public SceneBase {
  public:
    int nextScene;

    CharaSelectScene();
    ~CharaSelectScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    virtual void Load();
};
