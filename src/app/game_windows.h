// The game's windows on the desktop: the frame window's place and size, and moving the frame and
// game windows together.
#pragma once

#include "platform/win32.h"

// The frame window around the game's 640 x 480 picture, at its place on the desktop.
constexpr int kFrameWindowX = 300;
constexpr int kFrameWindowY = 129;
constexpr int kFrameWindowWidth = 640;
constexpr int kFrameWindowHeight = 501;

// Moves the frame window and the game window inside it by (dx, dy) from their places.
void MoveGameWindows(int dx, int dy);
