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

// The current scene makes way for the scene of the code: it is deleted (and its pictures released)
// before the new one loads. Called from the current scene's own ChangeScene, which must touch nothing
// of itself afterwards. A code without a scene (Quit) ends the program. (The shell's scene factory
// makes the scenes: it is the one part that knows them all.)
void SwitchScene(int code);

// The fade colour of the scenes: white with the low eight bits of an alpha counter.
inline unsigned FadeColor(int alpha) {
    return ((unsigned(alpha) & 0xFFu) << 24) | 0x00FFFFFFu;
}
