// The game's texture slots (GameApp::textures): loading a picture into one and releasing them.
#pragma once

// Releases texture slots first..last (the destructor duty of every scene).
void ReleaseTextureSlots(int first, int last);
void ReleaseAllTextures();
// Loads a picture into a texture slot; a file that fails to load leaves the slot empty.
void LoadTextureSlot(int slot, const char* file);
