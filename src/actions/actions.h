// The game's actions (actions.def), as the table the platform goes by, and its rumbles.
#pragma once

#include "platform/game_keys.h"

#include <vector>

const std::vector<platform::GameKey>& GameActions();
// The sounds the pad rumbles with (rumbles.def).
const std::vector<platform::SoundRumble>& GameRumbles();
// The pictures reduce motion shows faint over the desktop (calm.def).
const std::vector<const char*>& GameCalmPictures();
