// What the platform shows over the game while the game stands still: the pause (a dimmed screen with
// Resume, Back to the title, Settings and Quit) and the help book (the pages of the game's own help
// picture). Asked for by the event pump, shown by run/ between two frames, drawn by the compositor
// over the game's windows. Internal to the platform layer.
#pragma once

#include "platform/common/sdl_handles.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace platform::desktop {

enum class OverlayKind { kNone, kPause, kHelp };

// What the pause offers, in the menu's order.
enum PauseItem { kResume = 0, kBackToTitle, kSettings, kQuit, kPauseItems };

struct OverlayView {
    OverlayKind kind = OverlayKind::kNone;
    int focus = 0;           // the pause menu's highlighted item
    int page = 0;            // the help book's page
    int pages = 7;           // and how many it has
    int result = -1;         // the pause item chosen, or kResume for a closed book; -1 while open
    bool automatic = false;  // the pause came by itself (the window left, the program stopped)
    Uint32 openedAt = 0;     // SDL ticks: input from before belongs to the game
    bool mouseDownIn = false;
    int stickY = 0;  // the pad's stick: -1 up, 1 down, 0 between (a push moves the highlight once)
    int stickX = 0;
    SDL_Rect area{};  // the game's window it stands over, on the game's screen
    SDL_Rect panel{};
    std::vector<SDL_Rect> items;  // the menu's items (the book's: back, forward, close)
    sdl::SurfacePtr book;         // the help picture, its pages side by side; null without one
    unsigned version = 0;         // every change of what it shows
    unsigned prompts = 0;         // the key caps' KeyPromptsVersion the book's picture shows
};

// The pause or the help book is asked for (by a key, a pad button, the window left, a stop); the
// first asking stands until it is taken. Automatic ones are dropped while the player's settings
// say not to pause by themselves, and while a message box is open (the game's question runs on).
void AskOverlay(OverlayKind kind, bool automatic);
OverlayKind TakeAskedOverlay(bool* automatic);
void ClearAskedOverlay();

// The help book opens on the screens that teach nothing else: the title and the option screen
// (the screen shows one of their pictures).
bool HelpBookHere();

// Lays the view out over the game's window (the top one shown), in the run's language; a help book
// reads its picture.
void LayOutOverlay(OverlayView* view);
// While an overlay is open the compositor draws it over the game, and it takes the input.
void SetOverlay(OverlayView* view);
OverlayView* OpenOverlay();
void OverlayEvent(OverlayView& view, const SDL_Event& e);
void DrawOverlay(SDL_Renderer* r, const OverlayView& view);

// The start-up problems of a window run (a damaged settings file, a pad mapping SDL cannot read, no
// font), said on screen once: a notice at the top of the display, over everything, for
// kNoticeMs or until a key or a click; the game goes on under it. At most kNoticeLines of them,
// then how many more the terminal has.
constexpr Uint32 kNoticeMs = 15000;
constexpr std::size_t kNoticeLines = 6;
void ShowNotice(const std::vector<std::string>& lines);
// The notice's lines while it shows (empty when none), and its end.
std::vector<std::string> NoticeShown();
void EndNotice();
void DrawNotice(SDL_Renderer* r, const std::vector<std::string>& lines);

// The pages of a help picture: each 361 x 477 on a stride of 370, as many as its width holds.
constexpr int kBookPageW = 361, kBookPageH = 477, kBookStride = 370;
int BookPages(int pictureWidth);

}  // namespace platform::desktop
