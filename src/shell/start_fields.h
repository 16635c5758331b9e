// The fields of the game context that a run can be started with (--set FIELD=VALUE), each with the
// values the game itself can come to and the result screen can show.
#pragma once

#include <span>
#include <string_view>

class GameApp;

struct StartField {
    const char* name;
    int min, max;
    void (*set)(GameApp& app, int value);
};

// Every field, in the order --help names them.
std::span<const StartField> StartFields();
// The field of that name; null when there is none.
const StartField* FindStartField(std::string_view name);
