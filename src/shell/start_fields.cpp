#include "shell/start_fields.h"

#include "app/game_app.h"

#include <cstdint>

namespace {

const StartField kFields[] = {
    // The first leg, or the second.
    {"gameMode", 0, 1, [](GameApp& app, int v) { app.gameMode = std::int16_t(v); }},
    {"arrivalRank", 0, 6, [](GameApp& app, int v) { app.arrivalRank = v; }},
    // A day of the game clock either way.
    {"elapsedClock", -1440000, 1440000, [](GameApp& app, int v) { app.elapsedClock = v; }},
    // The four places of the count line.
    {"resultCount", 0, 9999, [](GameApp& app, int v) { app.resultCount = v; }},
    // The six places of the score line.
    {"totalScore", -999999, 999999, [](GameApp& app, int v) { app.totalScore = v; }},
};

}  // namespace

std::span<const StartField> StartFields() {
    return kFields;
}

const StartField* FindStartField(std::string_view name) {
    for (const StartField& field : kFields)
        if (name == field.name) return &field;
    return nullptr;
}
