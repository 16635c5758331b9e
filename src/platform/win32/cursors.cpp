// Cursors and icons: the program's own cursor resources made into SDL cursors, the system arrow,
// and the cursor in use.
#include "platform/desktop/desktop.h"
#include "platform/common/owner.h"
#include "platform/resources.h"
#include "platform/common/sdl_handles.h"
#include "platform/win32/win32_internal.h"

#include <map>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

struct CursorObject {
    sdl::CursorPtr cursor;  // none when headless
    int resourceId = 0;
};

namespace {

// The program's cursors: the resources the game brings, the cursors made so far by resource number
// (negative for the system's; never destroyed at exit, since SDL may be gone by then: FreeCursors
// lets go of them at shut-down), the one shown, and the icon.
struct CursorState {
    const platform::CursorResource* resources = nullptr;
    int resourceCount = 0;
    HCURSOR current = nullptr;
    std::map<int, CursorObject> made;
    CursorObject icon;
};

CursorState& TheCursors() {
    return platform::owner::Part<CursorState>(platform::owner::Life::Program);
}

std::map<int, CursorObject>& Cursors() {
    return TheCursors().made;
}

sdl::CursorPtr MakeCursor(const platform::CursorResource& res) {
    Uint8 data[32 * 4] = {}, mask[32 * 4] = {};
    for (int y = 0; y < 32; ++y) {
        const char* row = res.rows[y];
        for (int x = 0; x < 32 && row && row[x]; ++x) {
            const int byte = y * 4 + x / 8, bit = 0x80 >> (x % 8);
            if (row[x] == '#') data[byte] |= bit, mask[byte] |= bit;
            if (row[x] == '.') mask[byte] |= bit;
        }
    }
    return sdl::CursorPtr(SDL_CreateCursor(data, mask, 32, 32, res.hotX, res.hotY));
}

}  // namespace

namespace platform {
void SetCursorResources(const CursorResource* cursors, int count) {
    TheCursors().resources = cursors;
    TheCursors().resourceCount = cursors ? count : 0;
}

const CursorResource* FindCursorResource(int id) {
    const CursorState& c = TheCursors();
    for (int i = 0; i < c.resourceCount; ++i)
        if (c.resources[i].id == id) return &c.resources[i];
    return nullptr;
}
}  // namespace platform

namespace platform::win32 {
void FreeCursors() {
    TheCursors().current = nullptr;
    Cursors().clear();
}
}  // namespace platform::win32

HICON LoadIconA(HINSTANCE, LPCSTR) {
    return &TheCursors().icon;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    auto& cursors = Cursors();
    if (!IS_INTRESOURCE(name)) return nullptr;
    const int id = int(reinterpret_cast<std::uintptr_t>(name));
    const int key = instance ? id : -id;  // system cursors and program resources apart
    auto it = cursors.find(key);
    if (it != cursors.end()) return &it->second;
    CursorObject c;
    c.resourceId = id;
    if (instance) {
        const platform::CursorResource* res = platform::FindCursorResource(id);
        if (!res) return nullptr;
        if (!desktop::Headless()) c.cursor = MakeCursor(*res);
    } else if (!desktop::Headless()) {
        c.cursor.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW));
    }
    return &(cursors[key] = std::move(c));
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = TheCursors().current;
    TheCursors().current = cursor;
    if (cursor && cursor->cursor) SDL_SetCursor(cursor->cursor.get());
    return previous;
}
