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
