// The program's own resources, as a resource script would compile them into the executable.
#pragma once

namespace platform {

// A 32 x 32 one-bit cursor: each row is 32 characters, '#' black, '.' white, ' ' transparent.
struct CursorResource {
    int id;
    int hotX, hotY;
    const char* rows[32];
};

// Defined by the program; null when it has no cursor of that number.
const CursorResource* FindCursorResource(int id);

}  // namespace platform
