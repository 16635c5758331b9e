// The game's pseudo-random numbers (its rand() and srand()): one generator of our own, so that a run
// seeded with the same value plays the same everywhere.
#pragma once

// The next value, 0..32767.
int GameRand();
void GameSrand(unsigned seed);
