// The game's state as one JSON object: the frame, the game context and the current scene.
#pragma once

#include <string>

std::string DumpState();
