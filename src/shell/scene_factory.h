// Making a scene for a request code. Scenes include this instead of each other's headers.
#pragma once

#include "app/scene_base.h"

#include <string>

// A new scene for the code; a code without a scene (Quit) ends the program cleanly (the main
// window is destroyed) and null is returned.
SceneBase* MakeScene(int code);
// The code of a scene name without its "Scene" suffix ("Title", "Game", ...), -1 if there is none.
int SceneCodeOf(const std::string& name);
