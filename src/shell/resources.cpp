// The program's resources: the cursor shown over the game's windows.
#include "platform/resources.h"

namespace {
const platform::CursorResource kCursors[] = {
#include "shell/cursor_resource.inc"
};
}  // namespace

namespace platform {

const CursorResource* FindCursorResource(int id) {
    for (const CursorResource& c : kCursors)
        if (c.id == id) return &c;
    return nullptr;
}

}  // namespace platform
