// The screen: SDL started and stopped, the real window covering the display (none when headless),
// the desktop picture, and the list of the game's windows composited on it.
#include "platform/locale/language.h"
#include "platform/common/owner.h"
#include "platform/desktop/desktop_capture.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screen_scale.h"
#include "platform/runtime.h"
#include "platform/settings/settings.h"

#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <optional>

namespace raster = platform::raster;

namespace platform::desktop {
namespace {

// The screen's state, a part of the program's: Shutdown frees what it holds, in order and before
// SDL_Quit, and starts a fresh one for a next start.
struct Screen {
    std::optional<State> state{std::in_place};
};

std::optional<State>& Holder() {
    return owner::Part<Screen>(owner::Life::Program).state;
}

// Opens the real window over the display and takes the desktop picture from the screen as it was
// before. False with a message when there is no display a player would see.
// What to do without a display, on this kind of system.
#ifdef _WIN32
constexpr const char* kNoDisplayAdvice =
    "Run rushmora-console.exe --headless for a run without a display, or start the game on the Windows "
    "desktop; --window WxH opens a plain window.";
#else
constexpr const char* kNoDisplayAdvice =
    "Run with --headless for a run without a display, or start it inside an X or Wayland session "
    "(Xvfb works too); --window WxH opens a plain window.";
#endif

// Room kept above a plain window for a window manager's title bar.
constexpr int kTitleBarAllowance = 40;

bool OpenRealScreen(const platform::RuntimeOptions& options, std::string* error) {
    State& s = TheScreen();
    const ScreenBefore before = LookAtScreen();  // before any window of ours is mapped
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Alt+F4 is the game's own close request (events.cpp); on Windows SDL would send one more.
    SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
    // Without a session bus (a bare X server, Xvfb) D-Bus would try to start one for SDL, which
    // costs a third of a second of start-up and brings nothing the game uses.
    if (!SDL_getenv("DBUS_SESSION_BUS_ADDRESS")) SDL_setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER |
                 SDL_INIT_JOYSTICK) != 0) {
        *error = std::string("no display to open a window on (") + SDL_GetError() + "). " + kNoDisplayAdvice;
        return false;
    }
    // Where there is no display SDL may fall back to a driver that draws where nobody sees it.
    if (!ShowsWindows(SDL_GetCurrentVideoDriver())) {
        *error = std::string("no display to open a window on (SDL found only its \"") +
                 (SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") + "\" video driver). " +
                 kNoDisplayAdvice;
        SDL_Quit();
        return false;
    }
    // Drawn in software, the screen goes to an X display as it is: no OpenGL texture in between,
    // which without graphics hardware would cost more than the drawing. A Wayland client has no
    // such way: SDL hands its window's surface to the compositor through a renderer of its own.
    const bool wayland = SDL_strcasecmp(SDL_GetCurrentVideoDriver(), "wayland") == 0;
    if (!wayland) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_DisplayMode mode;
    if (SDL_GetDisplayBounds(0, &bounds) != 0 && SDL_GetDesktopDisplayMode(0, &mode) == 0)
        bounds = {0, 0, mode.w, mode.h};
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (options.windowWidth > 0) {
        s.displayW = options.windowWidth;
        s.displayH = options.windowHeight;
        // A window no larger than the screen can hold, its title bar on it (larger, it would reach
        // off the screen and cost memory for nothing: a window of 16384x16384 takes gigabytes).
        SDL_Rect usable{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0) usable = bounds;
        const int titleBar = before.windowManager ? kTitleBarAllowance : 0;
        if (usable.w > 0 && usable.h > titleBar &&
            (s.displayW > usable.w || s.displayH > usable.h - titleBar)) {
            s.displayW = std::min(s.displayW, usable.w);
            s.displayH = std::min(s.displayH, usable.h - titleBar);
            x = usable.x + (usable.w - s.displayW) / 2;
            y = usable.y + titleBar + (usable.h - titleBar - s.displayH) / 2;
            platform::Warn("the window " + std::to_string(options.windowWidth) + "x" +
                           std::to_string(options.windowHeight) + " is larger than the screen; it is " +
                           std::to_string(s.displayW) + "x" + std::to_string(s.displayH));
        }
    } else {
        s.displayW = bounds.w > 0 ? bounds.w : 1280;
        s.displayH = bounds.h > 0 ? bounds.h : 720;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (options.windowWidth > 0) {
        // A window like any other: it can be resized and maximized (the game's screen is then drawn as
        // large as it holds), and it comes back where the player left it.
        flags |= SDL_WINDOW_RESIZABLE;
        const platform::settings::Settings& settings = platform::settings::CurrentSettings();
        SDL_Rect place{settings.windowX, settings.windowY, s.displayW, s.displayH}, inside;
        SDL_Rect usable{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0) usable = bounds;
        if (settings.windowPlaced && settings.windowWidth == options.windowWidth &&
            settings.windowHeight == options.windowHeight && SDL_IntersectRect(&place, &usable, &inside) &&
            inside.w >= 64 && inside.h >= 64) {
            x = settings.windowX;
            y = settings.windowY;
        }
        s.windowedW = s.displayW;
        s.windowedH = s.displayH;
    } else {
        flags |= SDL_WINDOW_BORDERLESS;
        if (before.windowManager) {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        } else {
            x = bounds.x;
            y = bounds.y;
        }
    }
    s.window.reset(SDL_CreateWindow(platform::locale::Translated("Rushmora ～走れ若者～").c_str(), x, y,
                                    s.displayW, s.displayH, flags));
    if (!s.window) {
        *error = std::string("cannot open a window: ") + SDL_GetError() +
                 ". Run with --headless for a run without a display.";
        SDL_Quit();
        return false;
    }
    // The scale: the command line's, else the system's (Xft.dpi, the monitor's DPI), else GDK_SCALE.
    // Under Wayland the display is counted in the output's points: SDL's window surface has the
    // window's size in points, and the output's scale enlarges all of it (the game's world with the
    // rest), so the game takes no scale of its own there.
    double systemScale = wayland ? 1.0 : before.scale;
    if (systemScale <= 0) systemScale = ScaleFromEnvironment();
    const platform::ScreenFit fit =
        platform::FitScreen(s.displayW, s.displayH, options.scale > 0 ? options.scale : systemScale,
                            options.leastScreenWidth, options.leastScreenHeight);
    s.scale = fit.scale;
    s.screenW = fit.width;
    s.screenH = fit.height;
    // The part of the captured screen that our screen covers.
    s.picture = ScreenPartOf(before.picture.get(), SDL_Rect{bounds.x, bounds.y, s.displayW, s.displayH});
    // The joystick in use is the first one present now, or the first connected later.
    OpenFirstJoystick();
    return true;
}

// Text and pictures: without them the game goes on as it would with the font or the picture files
// missing.
void StartTextAndPictures() {
    if (TTF_Init() != 0)
        platform::WarnPlayer(std::string("cannot start SDL_ttf (") + TTF_GetError() +
                             "): texts of the platform stay blank");
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0)
        platform::WarnPlayer(std::string("cannot start SDL_image for PNG pictures (") + IMG_GetError() +
                             "): the game goes on without its pictures");
}

}  // namespace

State& TheScreen() {
    return *Holder();
}

sdl::SurfacePtr NewSurface(int w, int h) {
    return sdl::SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
}

bool Init(const platform::RuntimeOptions& options, std::string* error, int* exitCode) {
    State& s = TheScreen();
    s.headless = options.headless;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (s.headless) {
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            *error = std::string("cannot start SDL: ") + SDL_GetError();
            *exitCode = 1;
            return false;
        }
        s.displayW = options.screenWidth;
        s.displayH = options.screenHeight;
        const platform::ScreenFit fit = platform::FitScreen(
            s.displayW, s.displayH, options.scale, options.leastScreenWidth, options.leastScreenHeight);
        s.scale = fit.scale;
        s.screenW = fit.width;
        s.screenH = fit.height;
    } else if (!OpenRealScreen(options, error)) {
        *exitCode = 1;
        return false;
    }
    StartTextAndPictures();
    if (!s.picture) s.picture = PaintedDesktop(s.displayW, s.displayH, s.scale);
    MakeScreenPicture();
    s.initialised = true;
    return true;
}

void Shutdown() {
    State& s = TheScreen();
    if (!s.initialised) return;
    // What SDL made goes before SDL itself: the fonts, the renderers (the textures uploaded to them
    // go with them) and their surfaces, the devices, the window.
    s.fonts.clear();
    raster::EndAllGenerations();
    s.shot.Close();
    s.canvases.clear();
    s.device.Close();
    s.controller.reset();
    s.joystick.reset();
    s.window.reset();
    s.picture.reset();
    for (WindowObject* w : s.windows) delete w;
    Holder().emplace();  // a fresh State for a next start
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
}

bool Headless() {
    return TheScreen().headless;
}

bool OnHandheld() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* deck = std::getenv("SteamDeck");
    // XDG_CURRENT_DESKTOP is a list (KDE:gamescope); gamescope names itself in it.
    std::string list = desktop ? desktop : "";
    std::transform(list.begin(), list.end(), list.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return list.find("gamescope") != std::string::npos || (deck && std::string(deck) == "1");
}
int ScreenWidth() {
    return TheScreen().screenW;
}
int ScreenHeight() {
    return TheScreen().screenH;
}
int DisplayWidth() {
    return TheScreen().displayW;
}
int DisplayHeight() {
    return TheScreen().displayH;
}
double DisplayScale() {
    return TheScreen().scale;
}
SDL_Surface* ScreenPicture() {
    State& s = TheScreen();
    return s.screenPicture ? s.screenPicture.get() : s.picture.get();
}
std::vector<WindowObject*>& Windows() {
    return TheScreen().windows;
}

WindowObject* TopEnabledWindow() {
    auto& ws = TheScreen().windows;
    for (auto it = ws.rbegin(); it != ws.rend(); ++it)
        if (!(*it)->destroyed && !((*it)->style & WS_DISABLED)) return *it;
    return nullptr;
}

void ShowRealWindow() {
    State& s = TheScreen();
    SDL_ShowWindow(s.window.get());
    SDL_RaiseWindow(s.window.get());
    s.windowShown = true;
    s.shownAt = SDL_GetTicks();
}

bool FullScreen() {
    const State& s = TheScreen();
    return s.window &&
           (SDL_GetWindowFlags(s.window.get()) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP));
}

void ToggleFullScreen() {
    State& s = TheScreen();
    if (s.headless || !s.window) return;
    SDL_Window* w = s.window.get();
    s.switchedAt = SDL_GetTicks();
    s.windowChanged = true;
    if (!FullScreen()) {
        // The window's size and place come back with the next switch.
        SDL_GetWindowSize(w, &s.windowedW, &s.windowedH);
        SDL_GetWindowPosition(w, &s.windowedX, &s.windowedY);
        s.windowedPlaced = true;
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowBordered(w, SDL_TRUE);
    SDL_SetWindowResizable(w, SDL_TRUE);
    if (s.windowedW <= 0 || s.windowedH <= 0) {
        // Started in full screen: a window of three quarters of the screen, in its middle.
        SDL_Rect usable{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(w), &usable) != 0 || usable.w <= 0)
            usable = SDL_Rect{0, 0, s.displayW, s.displayH};
        s.windowedW = std::max(320, usable.w * 3 / 4);
        s.windowedH = std::max(240, usable.h * 3 / 4);
        s.windowedPlaced = false;
    }
    SDL_SetWindowSize(w, s.windowedW, s.windowedH);
    if (s.windowedPlaced)
        SDL_SetWindowPosition(w, s.windowedX, s.windowedY);
    else
        SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void KeepWindowForNextStart(const std::string& settingsFile) {
    State& s = TheScreen();
    if (s.headless || !s.window || !s.windowChanged || settingsFile.empty()) return;
    const platform::settings::Settings& base = platform::settings::CurrentSettings();
    platform::settings::Settings mine = base;
    if (FullScreen()) {
        mine.windowWidth = mine.windowHeight = 0;
    } else {
        SDL_Window* w = s.window.get();
        int width = 0, height = 0, x = 0, y = 0;
        SDL_GetWindowSize(w, &width, &height);
        SDL_GetWindowPosition(w, &x, &y);
        if (width < 320 || height < 240) return;  // minimized, or being shown: nothing to keep
        mine.windowWidth = width;
        mine.windowHeight = height;
        // An X window manager puts a new window's frame where it asks to be: the place kept is the
        // frame's (elsewhere the window's own).
        int top = 0, left = 0;
        if (SDL_strcasecmp(SDL_GetCurrentVideoDriver(), "x11") == 0 &&
            SDL_GetWindowBordersSize(w, &top, &left, nullptr, nullptr) == 0) {
            x -= left;
            y -= top;
        }
        mine.windowPlaced = true;
        mine.windowX = x;
        mine.windowY = y;
    }
    if (mine == base) return;
    platform::settings::Settings saved;
    std::string why;
    if (!platform::settings::SaveSettingsChanges(settingsFile, base, mine, &saved, &why))
        platform::Warn("cannot keep the window's size and place in " + settingsFile +
                       (why.empty() ? "" : ": " + why));
}

void RealWindowVisibility() {
    State& s = TheScreen();
    if (!s.window) return;
    bool any = false;
    for (WindowObject* w : s.windows) any = any || (w->visible && !w->destroyed);
    if (any && !s.windowShown) {
        ShowRealWindow();
    } else if (!any && s.windowShown) {
        SDL_HideWindow(s.window.get());
        s.windowShown = false;
    }
}

bool ShowsWindows(const char* videoDriver) {
    if (!videoDriver || !*videoDriver) return false;
    return SDL_strcasecmp(videoDriver, "offscreen") != 0 && SDL_strcasecmp(videoDriver, "dummy") != 0 &&
           SDL_strcasecmp(videoDriver, "evdev") != 0;
}

}  // namespace platform::desktop

namespace platform::desktop {

void ShowStartWarnings(const std::string& text) {
    // (Its callers show it only in a window; the screen may not be set up yet: a program without
    // its data says so before it opens any.)
    // Unparented: the game's full-screen window may not be shown yet, and the box must not hide
    // behind it once it is.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Rushmora", text.c_str(), nullptr) != 0)
        std::fprintf(stderr, "rushmora: cannot show the start-up warnings in a box: %s\n", SDL_GetError());
    HoldKeysDownNow();
}

}  // namespace platform::desktop
