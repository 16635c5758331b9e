// The program's own resources, as a resource script would compile them into the executable.
#pragma once

namespace platform {

// A 32 x 32 one-bit cursor: each row is 32 characters, '#' black, '.' white, ' ' transparent.
struct CursorResource {
    int id;
    int hotX, hotY;
    const char* rows[32];
};

// The program hands its resources over at start-up, as Windows would find them in the executable.
void SetCursorResources(const CursorResource* cursors, int count);
// Null when the program has no cursor of that number.
const CursorResource* FindCursorResource(int id);

}  // namespace platform
