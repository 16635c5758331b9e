// Pictures of what the game shows, as PNG files.
#pragma once

#include <string>

class IDirect3DDevice9;

namespace platform {

// The whole composited screen as a player sees it now. False when the file could not be written in
// full (opening, writing, flushing or closing it), with why if asked for.
bool SaveScreenPng(const std::string& file, std::string* why = nullptr);
// Puts the whole screen together in memory with the software renderer, as a screenshot would, but
// writes no file (for measuring what a frame costs to show).
bool ComposeScreen();
// Turned pictures drawn by SDL's own triangle loop instead of the platform's span drawing (for
// comparing the two on the same frames).
void DrawTurnedPicturesWithSdl(bool withSdl);
// The device's back buffer as drawn so far (for tools that draw off screen).
bool SaveBackBufferPng(IDirect3DDevice9* device, const std::string& file, std::string* why = nullptr);

}  // namespace platform
