#include "game/random.h"

namespace {
unsigned g_state = 1;
}

// A linear congruential generator giving the high 15 bits of its state.
int GameRand() {
    g_state = g_state * 214013u + 2531011u;
    return int((g_state >> 16) & 0x7FFF);
}

void GameSrand(unsigned seed) {
    g_state = seed;
}
