// The option screen: a gauge to lengthen and shorten, the key-configuration program on F5, a test
// entry written to an INI file on F2, and Escape back to the title.
#pragma once

#include "app/scene_base.h"

class OptionScene : public SceneBase {
  public:
    int gaugeRight;
    int nextScene;

    OptionScene();
    ~OptionScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    virtual void Load();
};

// Reads the test entry back and says whether it was there; nothing in the game calls it.
void ReadTestIni();
// The value ReadTestIni read last.
extern int g_testIniValue;
