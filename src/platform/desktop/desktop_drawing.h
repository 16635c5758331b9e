// Drawing shared by the parts of the desktop: filled rectangles and text on the screen's renderer,
// text on surfaces, the message box, the desktop picture. Internal to the platform layer.
#pragma once

#include "platform/desktop/desktop.h"
#include "platform/common/sdl_handles.h"

#include <string>

namespace platform::desktop {

// compositor.cpp: a rectangle in one colour (0xAARRGGBB), blended unless it is opaque.
void FillScreenRect(SDL_Renderer* r, SDL_Rect rect, Uint32 argb);

// text.cpp: text at (x, y) on a renderer, centred in centreWidth pixels when that is given; at
// least kLeastTextPixels high, whatever the scale.
constexpr int kLeastTextPixels = 9;
void DrawTextAt(SDL_Renderer* r, const std::string& text, int size, SDL_Color colour, int x, int y,
                bool bold = false, int centreWidth = 0);
// text.cpp: text blended onto a surface at (x, y), or centred on x.
void BlitText(SDL_Surface* dst, const std::string& text, int size, SDL_Color color, int x, int y,
              bool centreX = false, bool bold = false);

// message_box_view.cpp: the open box, its caption, icon, text and buttons.
void DrawMessageBox(SDL_Renderer* r, const MessageBoxView& m);

// desktop_picture.cpp: the part `area` of a photograph of the real screen (black where the
// photograph does not reach), or null when there is no photograph or it shows nothing (one colour
// all over, as an empty virtual display).
sdl::SurfacePtr ScreenPartOf(SDL_Surface* captured, SDL_Rect area);
// desktop_picture.cpp: a painted desktop of w x h for screens that cannot be photographed, its
// icons, texts and task bar drawn scale times their size.
// Unfurnished, only its wallpaper: no icons, no task bar (the margins round the game's screen, whose
// own desktop has them already).
sdl::SurfacePtr PaintedDesktop(int w, int h, double scale = 1, bool furnished = true);
// desktop_picture.cpp: the desktop picture on the game's screen, when the display's is larger or
// smaller (see State::screenPicture).
void MakeScreenPicture();

}  // namespace platform::desktop
