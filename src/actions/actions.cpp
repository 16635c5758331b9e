#include "actions/actions.h"

#include "platform/win32.h"

const std::vector<platform::GameKey>& GameActions() {
    static const std::vector<platform::GameKey> actions = {
#define RUSHMORA_ACTION(name, key, defaultKey, padButton, japanese, english) \
    {#name, key, defaultKey, padButton, japanese, english},
#include "actions/actions.def"
#undef RUSHMORA_ACTION
    };
    return actions;
}

const std::vector<platform::SoundRumble>& GameRumbles() {
    static const std::vector<platform::SoundRumble> rumbles = {
#define RUSHMORA_RUMBLE(sound, strength, milliseconds) {sound, strength, milliseconds},
#include "actions/rumbles.def"
#undef RUSHMORA_RUMBLE
    };
    return rumbles;
}

const std::vector<const char*>& GameCalmPictures() {
    static const std::vector<const char*> pictures = {
#define RUSHMORA_CALM(picture) picture,
#include "actions/calm.def"
#undef RUSHMORA_CALM
    };
    return pictures;
}
