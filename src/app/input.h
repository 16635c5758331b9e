// Keyboard and joystick sampling helpers of the application shell.
#pragma once

#include "platform/win32.h"

void InitJoystick();
void CheckJoystick();

// Tests used by the scenes: a key is down when bit 0x80 of its sampled byte is set; a joystick
// direction counts only at the extremes of its axis.
bool KeyDown(int vkey);
bool JoyLeft();
bool JoyRight();
bool JoyUp();
bool JoyDown();
unsigned JoyButtons();
