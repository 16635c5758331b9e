// The scene interface: every screen of the game is a scene that the main loop drives frame by frame
// and that replaces itself when it asks for another screen.
#pragma once

// Scene request codes of nextScene.
enum SceneRequest {
    kSceneNone = -1,
    kSceneTitle = 0,
    kSceneGame = 1,
    kSceneOption = 2,
    kSceneCharaSelect = 3,
    kSceneQuit = 4,
    kSceneHelp = 5,
    kSceneGameClear = 6,
};

class SceneBase {
  public:
    virtual ~SceneBase() = default;
    virtual void Update() = 0;
    virtual void Draw() = 0;
    virtual void Input() = 0;
    virtual void ChangeScene() = 0;
};

// The fade colour of the scenes: white with the low eight bits of an alpha counter.
inline unsigned FadeColor(int alpha) {
    return ((unsigned(alpha) & 0xFFu) << 24) | 0x00FFFFFFu;
}
