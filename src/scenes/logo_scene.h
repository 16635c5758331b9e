// The opening: a logo fades in and out, the title with its clock slides down, the covering sheet
// fades away and the push-key sign blinks. Enter (or joystick button 3) leaves for the title.
#pragma once

#include "app/scene_base.h"

class LogoScene : public SceneBase {
  public:
    int nextScene;
    int frame;
    int logoAlpha;
    int maskAlpha;
    int pushKeyAlpha;
    int titleY;
    int blinkPhase;

    LogoScene();
    ~LogoScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    virtual void Load();
};
