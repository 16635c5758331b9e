// Making a scene for a request code. Scenes include this instead of each other's headers.
#pragma once

#include "app/scene_base.h"

#include <string>

// A new scene for the code; when this build has no such scene the program ends cleanly (the main
// window is destroyed) and null is returned.
SceneBase* MakeScene(int code);
// Whether this build has a scene for the code.
bool HasScene(int code);
// The code of a scene name without its "Scene" suffix ("Title", "Game", ...), -1 if there is none.
int SceneCodeOf(const std::string& name);
