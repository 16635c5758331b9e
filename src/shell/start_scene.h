// The first scene of a run: the logo scene, or another one that a replay or test asks for, with
// fields of the game context set before it is made.
#pragma once

#include "app/scene_base.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct StartRequest {
    std::string scene = "Logo";
    std::vector<std::pair<std::string, int>> fields;  // GameApp fields set before the scene is made
    std::function<SceneBase*()> make;                 // when set, makes the first scene instead
};

void SetStartRequest(const StartRequest& request);

// Scene names without the "Scene" suffix that a run can start in: the logo and every scene a
// request code makes (not Quit).
bool KnownScene(const std::string& name);
// Sets a field of the game context by its name in StartFields(); false for a name that is not one.
bool SetAppField(const std::string& name, int value);

// Makes the first scene of the run.
SceneBase* CreateStartScene();
