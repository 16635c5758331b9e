// The help book: seven picture pages over the sky. Enter turns forward, Backspace back; paging past
// the last page or pressing Space fades in the now-loading sheet and starts the run; Escape goes back
// to the title.
#pragma once

#include "app/scene_base.h"

class HelpScene : public SceneBase {
  public:
    int nextScene;
    int fadeAlpha;   // alpha of the closing sheet and its label, 0 to 255
    int fadeState;   // 0 paging, 1 fading in the sheet, 2 sheet complete
    int inputDelay;  // frames since the last page turn; keys count from 20 on; stops at 21
    int page;        // 0 to 6; 7 and beyond show no page

    HelpScene();
    ~HelpScene() override;
    void Update() override;
    void Draw() override;
    void Input() override;
    void ChangeScene() override;
    virtual void Load();
};
