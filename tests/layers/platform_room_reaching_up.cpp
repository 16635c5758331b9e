// Built only by the layer test, as a file of the platform's files/ room: it must not compile, as the
// desktop is a room above files/ and a room includes only its own and the rooms below it.
#include "platform/desktop/desktop.h"

int PlatformRoomReachingUp() {
    return platform::desktop::ScreenWidth();
}
