// What the parts of the desktop share: the one State of the screen, from Init to Shutdown.
// Internal to the platform layer.
#pragma once

#include "platform/desktop/desktop.h"
#include "platform/common/sdl_handles.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace platform::desktop {

struct OverlayView;

// A renderer of ours, the memory surface it draws on when it draws off screen, and its generation
// (see raster::NewGeneration). Closing it ends the generation and destroys the renderer before its
// surface.
struct OwnedRenderer {
    sdl::SurfacePtr surface;  // declared first: it goes after the renderer that draws on it
    sdl::RendererPtr renderer;
    unsigned generation = 0;
    // The memory the renderer draws on when it draws in software (its own surface, or the real
    // window's), so that turned pictures can be drawn there directly; null for a renderer on
    // graphics hardware.
    SDL_Surface* target = nullptr;
    SDL_Window* presentsTo = nullptr;  // the window whose surface it draws on

    OwnedRenderer() = default;
    OwnedRenderer(const OwnedRenderer&) = delete;
    OwnedRenderer& operator=(const OwnedRenderer&) = delete;
    ~OwnedRenderer() { Close(); }

    // A software renderer on a new w x h memory surface; false when either cannot be made.
    bool OpenSoftware(int w, int h);
    // Takes a renderer made on the real window; false for none.
    bool Adopt(sdl::RendererPtr made);
    // A software renderer on the real window's own surface, shown with SDL_UpdateWindowSurface.
    bool OpenOnWindow(SDL_Window* window);
    // Shows what was drawn (the real window's surface is handed to the display: only the areas
    // given, when there are some).
    void Present(const std::vector<SDL_Rect>* areas = nullptr);
    // The renderer lost its textures (a device reset): uploads start again in a new generation.
    void Renew();
    void Close();
};

// What a target showed at its last composition, item by item (a window's caption, each command of
// its picture, the message box), to find what a new one changes.
struct ScreenItem {
    SDL_Rect box;     // the screen pixels it may touch
    bool wholeOnly;   // drawn right only whole (scaled, turned, lines): a change next to it takes it all
    std::string key;  // everything that decides its pixels
};
struct ScreenMemory {
    std::vector<ScreenItem> items;
    unsigned generation = 0;  // the target's renderer they were drawn with (0: nothing yet)
    int width = 0, height = 0;
};
// A window's picture drawn at its own size, to be shown larger (or smaller) on the display; only
// what changed in it is drawn again.
struct WindowCanvas {
    OwnedRenderer canvas;
    ScreenMemory drawn;
};
struct State {
    bool initialised = false;
    HeldKeys heldFromBox;  // keys down as the last message box closed, not yet released
    bool headless = true;
    int screenW = 1280, screenH = 720;    // the game's screen
    int displayW = 1280, displayH = 720;  // the display's pixels: the real window's, screenshots'
    SDL_Rect view{};  // where the game's screen is on them once the window changed size (0 x 0: all)
    // The window as the player leaves it: its size and place in a window (for Alt+Enter back from full
    // screen, and for the next start), whether the player changed it, and when the screen last
    // switched (the focus comes and goes then: no pause for that).
    int windowedW = 0, windowedH = 0, windowedX = 0, windowedY = 0;
    bool windowedPlaced = false, windowChanged = false;
    Uint32 shownAt = 0, switchedAt = 0;
    // The painted desktop round the game's screen then, at the display's pixels.
    std::shared_ptr<raster::TextureData> margin;
    double scale = 1;       // display pixels per pixel of the game's screen
    sdl::WindowPtr window;  // declared before the renderers on it, so that it goes after them
    bool windowShown = false;
    sdl::SurfacePtr picture;  // the desktop at start-up, at the display's pixels
    // The same on the game's screen, as the game photographs it (none while the two are one size);
    // the texels the game copies from it are shown from the display's own picture, finePicture.
    sdl::SurfacePtr screenPicture;
    std::shared_ptr<raster::TextureData> finePicture;
    OwnedRenderer device;  // the device's renderer (on a memory surface when headless)
    OwnedRenderer shot;    // for screenshots of a real window: a software renderer off screen
    ScreenMemory shown;    // what the real window shows, to draw and hand over only what changes
    std::map<const WindowObject*, WindowCanvas> canvases;  // the game's windows at their own size
    bool showWhole = true;   // the display asked for all of it (shown, exposed, resized)
    double flashLevel = -1;  // reduce flashing: the brightness shown last (0 to 255), -1 none yet
    unsigned resetCount = 0;
    bool minimized = false;
    bool displayAway = false;
    std::vector<WindowObject*> windows;
    MessageBoxView* messageBox = nullptr;
    OverlayView* overlay = nullptr;  // the pause or the help book, while the game stands still
    // Presses since the keyboard and the pad were last sampled for a frame: a key or button that went
    // down and up between two samples still reads as down for one.
    HeldKeys tapped;
    Uint32 padTapped = 0;  // SDL's game controller buttons, bit by button
    Uint32 joyTapped = 0;  // a plain joystick's buttons
    // The pad's buttons down as an overlay closed: the overlay's, not the game's, until released.
    Uint32 padHeld = 0, joyHeld = 0;
    // Start (the pause) and Back (the help book) count when pressed and released alone.
    bool startDown = false, startAlone = false, backDown = false, backAlone = false;
    bool escapeOwed = false;
    std::vector<std::string> notice;  // the start-up problems said on screen, until noticeUntil
    Uint32 noticeUntil = 0;           // "Back to the title": the game reads Escape in its next frame
    sdl::GameControllerPtr controller;
    sdl::JoystickPtr joystick;
    std::string fontFile;
    bool fontSearched = false;
    std::map<std::pair<int, bool>, sdl::FontPtr> fonts;  // by pixel height and boldness
};

// The screen's state, in the program's part of the owner (common/owner.h): never destroyed at exit,
// since SDL may be gone by then. Shutdown frees what it holds, in order and before SDL_Quit, and
// starts a fresh one.
State& TheScreen();

// Composites every visible window and the open message box onto a renderer of the screen's size
// (only inside area, when given: the rest of the target is left as it was).
void Compose(const OwnedRenderer& target, const SDL_Rect* area = nullptr);

// The screen's items as they are now.
std::vector<ScreenItem> ScreenItems();
// The parts of the screen that differ between two compositions: every item that is not the same at
// the same place in both, grown until no item that draws right only whole is cut, merged into a
// few rectangles.
std::vector<SDL_Rect> ChangedAreas(const std::vector<ScreenItem>& before, const std::vector<ScreenItem>& now,
                                   int width, int height);
// Composes only what changed since the target's last composition (all of it the first time, or
// after whole is asked for), and returns those rectangles.
std::vector<SDL_Rect> ComposeChanges(const OwnedRenderer& target, ScreenMemory& memory, bool whole = false);

// Reads the players' pad mappings and opens the first game controller or joystick present.
void OpenFirstJoystick();

// Shows and raises the real window (which exists only when there is a display).
void ShowRealWindow();

// A 32-bit ARGB surface.
sdl::SurfacePtr NewSurface(int w, int h);

}  // namespace platform::desktop
