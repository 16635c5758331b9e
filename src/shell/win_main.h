// Program entry, the window procedure and the small window helpers of the application shell.
#pragma once

#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void SetClientSize(HWND window, int width, int height);
void CaptureDesktop();
void DrawDesktopPicture();
void MoveGameWindows(int dx, int dy);
void ReleaseAllTextures();
// Hands the program's resources (its cursor) to the platform.
void UseProgramResources();

// WinMain's start-up (steps 1 to 14: false when it failed) and shut-down, apart for tools and benchmarks.
bool StartUp(HINSTANCE instance, int cmdShow);
void ShutDown();

// One pass of the main loop's frame (steps 1 to 11): returns false when it ran no frame because the
// device is still lost.
bool RunFrame();

// Releases texture slots first..last (the destructor duty of every scene).
void ReleaseTextureSlots(int first, int last);
// Loads a picture into a texture slot; a file that fails to load leaves the slot empty.
void LoadTextureSlot(int slot, const char* file);
