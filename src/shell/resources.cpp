// The program's resources: the cursor shown over the game's windows.
#include "platform/resources.h"
#include "shell/win_main.h"

namespace {
const platform::CursorResource kCursors[] = {
#include "shell/cursor_resource.inc"
};
}  // namespace

void UseProgramResources() {
    platform::SetCursorResources(kCursors, int(sizeof kCursors / sizeof kCursors[0]));
}
