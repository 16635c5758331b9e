// Program entry, the window procedure and the small window helpers of the application shell.
#pragma once

#include "app/game_windows.h"
#include "graphics/texture_slots.h"
#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void CaptureDesktop();
void DrawDesktopPicture();
// Hands the program's resources (its cursor) to the platform.
void UseProgramResources();

// WinMain's start-up: the window class, the three windows, the graphics device, the sound device,
// the desktop picture and the first scene; false when the device could not be made. And its
// shut-down. Apart from WinMain for tools and benchmarks.
bool StartUp(HINSTANCE instance, int cmdShow);
void ShutDown();

// One frame of the main loop: recover a lost device, sample the keyboard and joystick, set the camera,
// run the scene's input, update and drawing, present, and sleep out the rest of the 16 ms. Returns
// false when it ran no frame because the device is still lost.
bool RunFrame();
