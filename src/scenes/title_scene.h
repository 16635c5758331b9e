// The main menu: start a run, the option screen, or quit; with the turning clock, the scrolling
// caption of the selected entry and the title music.
#pragma once

#include "app/scene_base.h"
#include "sound/music_player.h"

class TitleScene : public SceneBase {
  public:
    int captionX;
    int captionTop;
    int captionBottom;
    int cursor;
    int itemX[3];
    int itemY[3];
    int itemLeft[3];
    int itemTop[3];
    int itemRight[3];
    int itemBottom[3];
    float itemScale[3];
    int repeatCount;
    int inputLock;
    int nextScene;
    int handAngle;
    int fadeAlpha;
    int fading;
    MusicPlayer music;

    TitleScene();
    ~TitleScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    virtual void Load();
};
