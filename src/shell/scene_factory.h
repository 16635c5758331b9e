// Making a scene for a request code. Scenes include this instead of each other's headers.
#pragma once

#include "shell/scene_base.h"

#include <string>

// A new scene for the code; when this build has no such scene the program ends cleanly (the main
// window is destroyed) and null is returned.
SceneBase* MakeScene(int code);
// The current scene makes way for the scene of the code: it is deleted (and its pictures released)
// before the new one loads. Called from the current scene's own ChangeScene, which must touch nothing
// of itself afterwards. A code without a scene (Quit) ends the program.
void SwitchScene(int code);
// Whether this build has a scene for the code.
bool HasScene(int code);
// The code of a scene name without its "Scene" suffix ("Title", "Game", ...), -1 if there is none.
int SceneCodeOf(const std::string& name);
