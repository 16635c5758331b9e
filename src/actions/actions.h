// The game's actions (actions.def), as the table the platform goes by.
#pragma once

#include "platform/game_keys.h"

#include <vector>

const std::vector<platform::GameKey>& GameActions();
