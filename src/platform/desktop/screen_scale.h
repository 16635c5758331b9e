// The game's screen on the display: the game sees a screen of the display's size over the scale,
// and everything of it is drawn that many times larger, except the desktop picture, which the
// display shows at its own pixels. Internal to the platform layer.
#pragma once

#include <SDL.h>

namespace platform::desktop {

// From the game's screen to the display's pixels: a point, and a rectangle edge by edge (so that
// rectangles that meet on the game's screen still meet).
int ToDisplayX(int x);
int ToDisplayY(int y);
SDL_Rect ToDisplay(const SDL_Rect& r);
// A length such as a font's height, scaled (at least 1).
int ToDisplaySize(int pixels);
// Whether pictures drawn larger or smaller are filtered (a scale of a fraction) rather than drawn
// with the nearest texel (a whole number, or none).
bool SmoothScale();
// A window's point (the mouse's) on the game's screen.
void WindowToScreen(int* x, int* y);
// The real window is now w x h: from the next frame on, the game's screen is drawn as large as it
// holds it (FitView), in its middle, the painted desktop round it.
void WindowResized(int w, int h);
// Where the game's screen is on the display now.
SDL_Rect GameView();
// The game's screen of screenW x screenH on a display of displayW x displayH: a whole-number scale
// where one fits (1, 2, ...), the start's scale where the display still holds it, below one the
// hundredth that fits; centred.
struct ViewFit {
    double scale = 1;
    SDL_Rect view{};
};
ViewFit FitView(int displayW, int displayH, int screenW, int screenH, double startScale);

// What the system says of the size of things on the screen, as a scale (0: it says nothing).
// X11's resource database text ("Xft.dpi:\t144" over 96); the GDK_SCALE of the environment.
double ScaleFromXResources(const char* text);
double ScaleFromEnvironment();

}  // namespace platform::desktop
