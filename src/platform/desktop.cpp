#include "platform/desktop.h"

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#ifdef RUSHMORA_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace desktop {
namespace {

struct State {
    bool initialised = false;
    bool headless = true;
    int screenW = 1280, screenH = 720;
    SDL_Window* window = nullptr;
    bool windowShown = false;
    SDL_Surface* picture = nullptr;  // the desktop at start-up
    // The device's renderer and, when it draws to a memory surface, that surface.
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* rendererSurface = nullptr;
    unsigned rendererGeneration = 0;
    // For screenshots of a real window: a software renderer on a memory surface.
    SDL_Renderer* shotRenderer = nullptr;
    SDL_Surface* shotSurface = nullptr;
    unsigned shotGeneration = 0;
    unsigned resetCount = 0;
    bool minimized = false;
    bool displayAway = false;
    std::vector<WindowObject*> windows;
    MessageBoxView* messageBox = nullptr;
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;
    std::string fontFile;
    bool fontSearched = false;
    std::map<std::pair<int, bool>, TTF_Font*> fonts;
};

State& S() {
    static State s;
    return s;
}

unsigned g_generationCounter = 0;
std::set<unsigned> g_liveGenerations;

unsigned NewGeneration() {
    unsigned g = ++g_generationCounter;
    g_liveGenerations.insert(g);
    return g;
}

// ---- the desktop picture --------------------------------------------------------------------

SDL_Surface* NewSurface(int w, int h) {
    return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
}

#ifdef RUSHMORA_HAVE_X11
// Takes the real screen, before any window of ours is mapped. Null when there is no X server.
SDL_Surface* CaptureX11Screen() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    Window root = DefaultRootWindow(display);
    XWindowAttributes attrs;
    SDL_Surface* out = nullptr;
    if (XGetWindowAttributes(display, root, &attrs) && attrs.width > 0 && attrs.height > 0) {
        XImage* image = XGetImage(display, root, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
        if (image) {
            out = NewSurface(attrs.width, attrs.height);
            if (out) {
                for (int y = 0; y < attrs.height; ++y) {
                    auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + y * out->pitch);
                    for (int x = 0; x < attrs.width; ++x) {
                        unsigned long p = XGetPixel(image, x, y);
                        unsigned r = (p & image->red_mask) >> __builtin_ctzl(image->red_mask | 1);
                        unsigned g = (p & image->green_mask) >> __builtin_ctzl(image->green_mask | 1);
                        unsigned b = (p & image->blue_mask) >> __builtin_ctzl(image->blue_mask | 1);
                        row[x] = 0xFF000000u | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
                    }
                }
            }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return out;
}
#endif

bool IsBlank(SDL_Surface* s) {
    if (!s) return true;
    const Uint32 first = *static_cast<Uint32*>(s->pixels);
    for (int y = 0; y < s->h; y += 7) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; x += 5)
            if (row[x] != first) return false;
    }
    return true;
}

void FillRect(SDL_Surface* s, int x, int y, int w, int h, Uint32 argb) {
    SDL_Rect r{x, y, w, h};
    SDL_FillRect(s, &r, argb);
}

void BlitText(SDL_Surface* dst, const std::string& text, int size, SDL_Color color, int x, int y,
              bool centreX = false, bool bold = false) {
    SDL_Surface* t = RenderText(text, size, color, bold);
    if (!t) return;
    SDL_Rect r{centreX ? x - t->w / 2 : x, y, t->w, t->h};
    SDL_SetSurfaceBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_BlitSurface(t, nullptr, dst, &r);
    SDL_FreeSurface(t);
}

// A calm desktop for screens we cannot photograph (headless, Wayland, a blank virtual display):
// a wallpaper, a few icons and a task bar.
SDL_Surface* DrawDesktopPicture(int w, int h) {
    SDL_Surface* s = NewSurface(w, h);
    if (!s) return nullptr;
    for (int y = 0; y < h; ++y) {
        float t = float(y) / float(std::max(1, h - 1));
        int r = int(58 + t * (24 - 58)), g = int(110 + t * (160 - 110)), b = int(165 + t * (150 - 165));
        FillRect(s, 0, y, w, 1, 0xFF000000u | (r << 16) | (g << 8) | b);
    }
    // Soft hills across the lower part of the wallpaper.
    for (int x = 0; x < w; ++x) {
        double fx = double(x) / w;
        int top = int(h * (0.70 + 0.06 * std::sin(fx * 6.3 + 1.0) + 0.03 * std::sin(fx * 17.0)));
        for (int y = top; y < h; ++y) {
            float t = float(y - top) / float(std::max(1, h - top));
            int g = int(150 - 40 * t), r = int(70 - 20 * t), b = int(90 - 30 * t);
            FillRect(s, x, y, 1, 1, 0xFF000000u | (r << 16) | (g << 8) | b);
        }
    }
    const char* labels[] = {"マイ コンピュータ", "マイ ドキュメント", "ごみ箱", "メモ帳"};
    const Uint32 colours[] = {0xFF6C8EBF, 0xFFE8C15A, 0xFF9AA5AE, 0xFFF4F4F4};
    SDL_Color white{255, 255, 255, 255};
    for (int i = 0; i < 4; ++i) {
        int ix = 28, iy = 24 + i * 92;
        if (iy + 80 > h - 40) break;
        FillRect(s, ix + 2, iy + 2, 40, 36, 0xFF203040);
        FillRect(s, ix, iy, 40, 36, colours[i]);
        FillRect(s, ix + 4, iy + 4, 32, 6, 0xFFFFFFFF);
        BlitText(s, labels[i], 12, white, ix + 20, iy + 44, true);
    }
    // Task bar with a start button and a clock.
    int bar = std::min(30, h / 10);
    FillRect(s, 0, h - bar, w, bar, 0xFF24457A);
    FillRect(s, 0, h - bar, w, 1, 0xFF5C84C8);
    FillRect(s, 2, h - bar + 3, 90, bar - 6, 0xFF3C8C3C);
    BlitText(s, "スタート", 14, white, 47, h - bar + (bar - 16) / 2, true, true);
    FillRect(s, w - 80, h - bar + 3, 78, bar - 6, 0xFF1A3560);
    BlitText(s, "7:00", 13, white, w - 41, h - bar + (bar - 15) / 2, true);
    return s;
}

// ---- keyboard ----------------------------------------------------------------------------------

int VirtualKeyOf(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    switch (sc) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_SPACE: return VK_SPACE;
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_LEFT: return VK_LEFT;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT;
        case SDL_SCANCODE_UP: return VK_UP;
        case SDL_SCANCODE_DOWN: return VK_DOWN;
        case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
        case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
        case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
        case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
        case SDL_SCANCODE_LALT: return VK_LMENU;
        case SDL_SCANCODE_RALT: return VK_RMENU;
        default: return 0;
    }
}

WindowObject* WindowAt(int x, int y) {
    auto& ws = S().windows;
    for (auto it = ws.rbegin(); it != ws.rend(); ++it) {
        WindowObject* w = *it;
        if (!w->visible || w->destroyed) continue;
        if (x >= w->rect.left && x < w->rect.right && y >= w->rect.top && y < w->rect.bottom) return w;
    }
    return nullptr;
}

// ---- compositing -----------------------------------------------------------------------------------

void FillScreenRect(SDL_Renderer* r, SDL_Rect rect, Uint32 argb) {
    SDL_SetRenderDrawBlendMode(r, (argb >> 24) == 0xFF ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
    SDL_RenderFillRect(r, &rect);
}

void DrawTextAt(SDL_Renderer* r, const std::string& text, int size, SDL_Color colour, int x, int y,
                bool bold = false, int centreWidth = 0) {
    SDL_Surface* t = RenderText(text, size, colour, bold);
    if (!t) return;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(r, t);
    if (tex) {
        SDL_Rect dst{centreWidth ? x + (centreWidth - t->w) / 2 : x, y, t->w, t->h};
        SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
        SDL_RenderCopy(r, tex, nullptr, &dst);
        SDL_DestroyTexture(tex);
    }
    SDL_FreeSurface(t);
}

void DrawCaption(SDL_Renderer* r, const WindowObject& w) {
    const int width = w.rect.right - w.rect.left;
    for (int x = 0; x < width; x += 4) {
        float t = float(x) / float(std::max(1, width));
        int red = int(10 + t * (166 - 10)), green = int(36 + t * (202 - 36)), blue = int(106 + t * (240 - 106));
        FillScreenRect(r, {w.rect.left + x, w.rect.top, std::min(4, width - x), w.captionHeight},
                       0xFF000000u | (red << 16) | (green << 8) | blue);
    }
    DrawTextAt(r, w.text, 13, SDL_Color{255, 255, 255, 255}, w.rect.left + 6, w.rect.top + 3, true);
}

void DrawMessageBox(SDL_Renderer* r, const MessageBoxView& m) {
    SDL_Rect shadow{m.box.x + 4, m.box.y + 4, m.box.w, m.box.h};
    FillScreenRect(r, shadow, 0x60000000);
    FillScreenRect(r, m.box, 0xFFECE9D8);
    FillScreenRect(r, {m.box.x, m.box.y, m.box.w, 22}, 0xFF0A246A);
    DrawTextAt(r, m.caption, 13, SDL_Color{255, 255, 255, 255}, m.box.x + 6, m.box.y + 3, true);
    SDL_SetRenderDrawColor(r, 0x40, 0x40, 0x40, 0xFF);
    SDL_RenderDrawRect(r, &m.box);
    int textX = m.box.x + 20;
    UINT icon = m.type & 0xF0;
    if (icon) {
        SDL_Rect ic{m.box.x + 18, m.box.y + 38, 32, 32};
        Uint32 colour = icon == MB_ICONERROR ? 0xFFD03030 : icon == MB_ICONQUESTION ? 0xFF2E64C8 : 0xFFE0B020;
        FillScreenRect(r, ic, colour);
        DrawTextAt(r, icon == MB_ICONERROR ? "×" : icon == MB_ICONQUESTION ? "?" : "!", 22,
                   SDL_Color{255, 255, 255, 255}, ic.x, ic.y + 3, true, 32);
        textX += 44;
    }
    DrawTextAt(r, m.text, 14, SDL_Color{0, 0, 0, 255}, textX, m.box.y + 46);
    for (size_t i = 0; i < m.buttons.size(); ++i) {
        const SDL_Rect& b = m.buttons[i].first;
        FillScreenRect(r, b, 0xFFF4F3EE);
        SDL_SetRenderDrawColor(r, 0x30, 0x30, 0x30, 0xFF);
        SDL_RenderDrawRect(r, &b);
        if (int(i) == m.focus) {
            SDL_Rect inner{b.x + 3, b.y + 3, b.w - 6, b.h - 6};
            SDL_SetRenderDrawColor(r, 0x2E, 0x64, 0xC8, 0xFF);
            SDL_RenderDrawRect(r, &inner);
        }
        int result = m.buttons[i].second;
        const char* label = result == IDYES ? "はい(Y)" : result == IDNO ? "いいえ(N)" : "OK";
        DrawTextAt(r, label, 13, SDL_Color{0, 0, 0, 255}, b.x, b.y + (b.h - 15) / 2, false, b.w);
    }
}

// Whether a renderer draws on graphics hardware. OpenGL drivers that rasterize on the processor
// (llvmpipe, softpipe) count as software: SDL's own software renderer is faster than they are.
bool IsHardware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if (!(info.flags & SDL_RENDERER_ACCELERATED) || std::strcmp(info.name, "software") == 0) return false;
    if (std::strncmp(info.name, "opengl", 6) == 0) {
        using GetString = const unsigned char* (*)(unsigned);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
        if (name) {
            const std::string n = reinterpret_cast<const char*>(name);
            if (n.find("llvmpipe") != std::string::npos || n.find("softpipe") != std::string::npos ||
                n.find("Software Rasterizer") != std::string::npos)
                return false;
        }
    }
    return true;
}

TTF_Font* Font(int size, bool bold) {
    State& s = S();
    if (!s.fontSearched) {
        s.fontSearched = true;
        if (FcInit()) {
            // A Japanese gothic face; the first family that has kana wins.
            const char* wanted[] = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", ":lang=ja"};
            for (const char* name : wanted) {
                FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(name));
                FcConfigSubstitute(nullptr, pat, FcMatchPattern);
                FcDefaultSubstitute(pat);
                FcResult result;
                FcPattern* match = FcFontMatch(nullptr, pat, &result);
                if (match) {
                    FcChar8* file = nullptr;
                    FcCharSet* cs = nullptr;
                    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                        FcPatternGetCharSet(match, FC_CHARSET, 0, &cs) == FcResultMatch &&
                        FcCharSetHasChar(cs, 0x3042) && FcCharSetHasChar(cs, 0x7D42)) {
                        s.fontFile = reinterpret_cast<const char*>(file);
                    }
                    FcPatternDestroy(match);
                }
                FcPatternDestroy(pat);
                if (!s.fontFile.empty()) break;
            }
        }
        if (s.fontFile.empty())
            platform::Warn("no Japanese font found (install fonts-ipafont-gothic): texts of the platform stay blank");
    }
    if (s.fontFile.empty() || !TTF_WasInit()) return nullptr;
    auto key = std::make_pair(size, bold);
    auto it = s.fonts.find(key);
    if (it != s.fonts.end()) return it->second;
    TTF_Font* f = TTF_OpenFont(s.fontFile.c_str(), size);
    if (f && bold) TTF_SetFontStyle(f, TTF_STYLE_BOLD);
    s.fonts[key] = f;
    return f;
}

}  // namespace

// ---- public --------------------------------------------------------------------------------------------

bool Init(const platform::RuntimeOptions& options, std::string* error, int* exitCode) {
    State& s = S();
    s.headless = options.headless;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (s.headless) {
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            *error = std::string("cannot start SDL: ") + SDL_GetError();
            *exitCode = 1;
            return false;
        }
        s.screenW = options.screenWidth;
        s.screenH = options.screenHeight;
    } else {
        SDL_Surface* captured = nullptr;
#ifdef RUSHMORA_HAVE_X11
        captured = CaptureX11Screen();
#endif
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER |
                     SDL_INIT_JOYSTICK) != 0) {
            if (captured) SDL_FreeSurface(captured);
            *error = std::string("no display to open a window on (") + SDL_GetError() +
                     "). Run with --headless for a run without a display, or start it inside an X or "
                     "Wayland session (Xvfb works too); --window WxH opens a plain window.";
            *exitCode = 1;
            return false;
        }
        // Where there is no display SDL may fall back to a driver that draws where nobody sees it.
        if (!ShowsWindows(SDL_GetCurrentVideoDriver())) {
            if (captured) SDL_FreeSurface(captured);
            *error = std::string("no display to open a window on (SDL found only its \"") +
                     (SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") +
                     "\" video driver). Run with --headless for a run without a display, or start it inside "
                     "an X or Wayland session (Xvfb works too).";
            *exitCode = 1;
            SDL_Quit();
            return false;
        }
        SDL_Rect bounds{0, 0, 0, 0};
        SDL_DisplayMode mode;
        if (SDL_GetDisplayBounds(0, &bounds) != 0 && SDL_GetDesktopDisplayMode(0, &mode) == 0)
            bounds = {0, 0, mode.w, mode.h};
        if (options.windowWidth > 0) {
            s.screenW = options.windowWidth;
            s.screenH = options.windowHeight;
        } else {
            s.screenW = bounds.w > 0 ? bounds.w : 1280;
            s.screenH = bounds.h > 0 ? bounds.h : 720;
        }
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (options.windowWidth <= 0) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
        s.window = SDL_CreateWindow("Rushmora ～走れ若者～", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    s.screenW, s.screenH, flags);
        if (!s.window) {
            if (captured) SDL_FreeSurface(captured);
            *error = std::string("cannot open a window: ") + SDL_GetError() +
                     ". Run with --headless for a run without a display.";
            *exitCode = 1;
            SDL_Quit();
            return false;
        }
        if (captured && !IsBlank(captured)) {
            // The part of the captured screen that our screen covers.
            s.picture = NewSurface(s.screenW, s.screenH);
            if (s.picture) {
                SDL_FillRect(s.picture, nullptr, 0xFF000000);
                SDL_Rect src{bounds.x, bounds.y, s.screenW, s.screenH};
                SDL_SetSurfaceBlendMode(captured, SDL_BLENDMODE_NONE);
                SDL_BlitSurface(captured, &src, s.picture, nullptr);
            }
        }
        if (captured) SDL_FreeSurface(captured);
        // The joystick in use is the first one present at start-up.
        for (int i = 0; i < SDL_NumJoysticks() && !s.controller && !s.joystick; ++i) {
            if (SDL_IsGameController(i))
                s.controller = SDL_GameControllerOpen(i);
            else
                s.joystick = SDL_JoystickOpen(i);
        }
    }
    TTF_Init();
    IMG_Init(IMG_INIT_PNG);
    if (!s.picture) s.picture = DrawDesktopPicture(s.screenW, s.screenH);
    s.initialised = true;
    return true;
}

void Shutdown() {
    State& s = S();
    if (!s.initialised) return;
    for (auto& f : s.fonts)
        if (f.second) TTF_CloseFont(f.second);
    s.fonts.clear();
    g_liveGenerations.clear();
    if (s.shotRenderer) SDL_DestroyRenderer(s.shotRenderer);
    if (s.shotSurface) SDL_FreeSurface(s.shotSurface);
    if (s.renderer) SDL_DestroyRenderer(s.renderer);
    if (s.rendererSurface) SDL_FreeSurface(s.rendererSurface);
    if (s.controller) SDL_GameControllerClose(s.controller);
    if (s.joystick) SDL_JoystickClose(s.joystick);
    if (s.window) SDL_DestroyWindow(s.window);
    if (s.picture) SDL_FreeSurface(s.picture);
    for (WindowObject* w : s.windows) delete w;
    s = State();
    ResetWindowing();
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
}

bool Headless() { return S().headless; }
int ScreenWidth() { return S().screenW; }
int ScreenHeight() { return S().screenH; }
SDL_Surface* ScreenPicture() { return S().picture; }
std::vector<WindowObject*>& Windows() { return S().windows; }

WindowObject* TopEnabledWindow() {
    auto& ws = S().windows;
    for (auto it = ws.rbegin(); it != ws.rend(); ++it)
        if (!(*it)->destroyed && !((*it)->style & WS_DISABLED)) return *it;
    return nullptr;
}

void RealWindowVisibility() {
    State& s = S();
    if (!s.window) return;
    bool any = false;
    for (WindowObject* w : s.windows) any = any || (w->visible && !w->destroyed);
    if (any && !s.windowShown) {
        SDL_ShowWindow(s.window);
        SDL_RaiseWindow(s.window);
        s.windowShown = true;
    } else if (!any && s.windowShown) {
        SDL_HideWindow(s.window);
        s.windowShown = false;
    }
}

bool CreateRenderer(bool accelerated) {
    State& s = S();
    if (s.headless) {
        // There is no graphics hardware without a display: only the software renderer.
        if (accelerated) return false;
        if (s.renderer) return true;
        s.rendererSurface = NewSurface(s.screenW, s.screenH);
        if (!s.rendererSurface) return false;
        s.renderer = SDL_CreateSoftwareRenderer(s.rendererSurface);
    } else {
        if (s.renderer) {
            SDL_RendererInfo info;
            SDL_GetRendererInfo(s.renderer, &info);
            bool isAccelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
            if (isAccelerated == accelerated) return true;
            SDL_DestroyRenderer(s.renderer);
            g_liveGenerations.erase(s.rendererGeneration);
            s.renderer = nullptr;
        }
        s.renderer = SDL_CreateRenderer(s.window, -1, accelerated ? SDL_RENDERER_ACCELERATED : SDL_RENDERER_SOFTWARE);
        if (s.renderer && accelerated && !IsHardware(s.renderer)) {
            SDL_DestroyRenderer(s.renderer);
            s.renderer = nullptr;
        }
    }
    if (!s.renderer) return false;
    s.rendererGeneration = NewGeneration();
    return true;
}

SDL_Renderer* Renderer() { return S().renderer; }
unsigned RendererGeneration() { return S().rendererGeneration; }
unsigned ResetCount() { return S().resetCount; }
bool Minimized() { return S().minimized; }
bool DisplayAway() { return S().displayAway; }
void SimulateDisplayAway(bool away) { S().displayAway = away; }

bool ShowsWindows(const char* videoDriver) {
    if (!videoDriver || !*videoDriver) return false;
    return SDL_strcasecmp(videoDriver, "offscreen") != 0 && SDL_strcasecmp(videoDriver, "dummy") != 0 &&
           SDL_strcasecmp(videoDriver, "evdev") != 0;
}

void SimulateDeviceReset() {
    SDL_Event e{};
    e.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&e);
}

void SimulateMinimized(bool minimized) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = minimized ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_RESTORED;
    SDL_PushEvent(&e);
}

void Compose(SDL_Renderer* r, unsigned generation) {
    State& s = S();
    SDL_RenderSetClipRect(r, nullptr);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    bool anyVisible = false;
    for (WindowObject* w : s.windows) anyVisible = anyVisible || (w->visible && !w->destroyed);
    if (!anyVisible && s.messageBox && s.picture) {
        // A box before the game's windows: it stands on the desktop.
        if (SDL_Texture* t = SDL_CreateTextureFromSurface(r, s.picture)) {
            SDL_RenderCopy(r, t, nullptr, nullptr);
            SDL_DestroyTexture(t);
        }
    }
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        if (w->captionHeight > 0) DrawCaption(r, *w);
        SDL_Rect client{w->rect.left, w->rect.top + w->captionHeight, w->rect.right - w->rect.left,
                        w->rect.bottom - w->rect.top - w->captionHeight};
        if (client.w <= 0 || client.h <= 0) continue;
        if (w->content.list)
            gfx::RenderList(r, generation, *w->content.list, w->content.source, client);
        else
            FillScreenRect(r, client, w->background);
    }
    SDL_RenderSetClipRect(r, nullptr);
    if (s.messageBox) DrawMessageBox(r, *s.messageBox);
}

void ShowFrame() {
    State& s = S();
    if (s.headless || !s.windowShown || s.minimized) return;
    // A message box can come before the graphics device: it draws with the software renderer then.
    if (!s.renderer && !CreateRenderer(false)) return;
    Compose(s.renderer, s.rendererGeneration);
    SDL_RenderPresent(s.renderer);
}

bool SaveScreen(const std::string& file) {
    SDL_Surface* surface = ComposeToSurface();
    return surface && IMG_SavePNG(surface, file.c_str()) == 0;
}

SDL_Surface* ComposeToSurface() {
    State& s = S();
    SDL_Renderer* r = nullptr;
    SDL_Surface* surface = nullptr;
    unsigned generation = 0;
    if (s.headless && s.renderer) {
        r = s.renderer;
        surface = s.rendererSurface;
        generation = s.rendererGeneration;
    } else {
        if (!s.shotRenderer) {
            s.shotSurface = NewSurface(s.screenW, s.screenH);
            if (s.shotSurface) s.shotRenderer = SDL_CreateSoftwareRenderer(s.shotSurface);
            if (!s.shotRenderer) return nullptr;
            s.shotGeneration = NewGeneration();
        }
        r = s.shotRenderer;
        surface = s.shotSurface;
        generation = s.shotGeneration;
    }
    Compose(r, generation);
    SDL_RenderPresent(r);
    return surface;
}

bool SaveBackBuffer(IDirect3DDevice9* device, const std::string& file) {
    UINT w = 0, h = 0;
    if (!device || FAILED(device->GetBackBufferSize(&w, &h)) || w == 0 || h == 0) return false;
    SDL_Surface* surface = NewSurface(int(w), int(h));
    if (!surface) return false;
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(surface);
    bool ok = false;
    if (r) {
        const unsigned generation = NewGeneration();
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
        const SDL_Rect all{0, 0, int(w), int(h)};
        gfx::RenderList(r, generation, *device->CurrentList(), all, all);
        SDL_RenderPresent(r);
        ok = IMG_SavePNG(surface, file.c_str()) == 0;
        // The renderer takes its textures with it.
        g_liveGenerations.erase(generation);
        SDL_DestroyRenderer(r);
    }
    SDL_FreeSurface(surface);
    return ok;
}

namespace {

bool IsCloseRequest(const SDL_Event& e) {
    return e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && e.key.keysym.scancode == SDL_SCANCODE_F4 &&
                                  (e.key.keysym.mod & KMOD_ALT));
}

// The window manager's close button or Alt+F4. While a message box is open its owner takes no
// input: the request goes to the box, which closes as Cancel (or OK, when that is its only button)
// and ignores it otherwise.
void CloseRequest() {
    State& s = S();
    if (MessageBoxView* box = s.messageBox) {
        for (const auto& b : box->buttons)
            if (b.second == IDCANCEL) box->result = IDCANCEL;
        if (box->buttons.size() == 1 && box->buttons[0].second == IDOK) box->result = IDOK;
        return;
    }
    if (WindowObject* w = TopEnabledWindow()) PostMessageA(w, WM_CLOSE, 0, 0);
}

}  // namespace

void PumpEvents() {
    State& s = S();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                CloseRequest();
                break;
            case SDL_KEYDOWN:
                if (e.key.keysym.scancode == SDL_SCANCODE_F4 && (e.key.keysym.mod & KMOD_ALT) && !e.key.repeat)
                    CloseRequest();
                break;
            case SDL_MOUSEMOTION:
                if (!s.messageBox) {
                    if (WindowObject* w = WindowAt(e.motion.x, e.motion.y)) {
                        bool inCaption = e.motion.y < w->rect.top + w->captionHeight;
                        SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                                     LPARAM((inCaption ? HTCAPTION : HTCLIENT) | (WM_MOUSEMOVE << 16)));
                    }
                }
                break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                ++s.resetCount;
                if (e.type == SDL_RENDER_DEVICE_RESET) {
                    // The renderer's textures are gone: upload everything again.
                    g_liveGenerations.erase(s.rendererGeneration);
                    s.rendererGeneration = NewGeneration();
                }
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_MINIMIZED || e.window.event == SDL_WINDOWEVENT_HIDDEN)
                    s.minimized = true;
                else if (e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
                         e.window.event == SDL_WINDOWEVENT_EXPOSED)
                    s.minimized = false;
                break;
            default: break;
        }
        if (s.messageBox && !IsCloseRequest(e)) {
            // The message box loop reads its own keys and clicks.
            MessageBoxEvent(*s.messageBox, e);
        }
    }
}

void KeyboardState(BYTE keys[256]) {
    std::memset(keys, 0, 256);
    // A script plays its keys; in a real window the keyboard adds its own.
    if (platform::Options().hasScript) platform::Options().script.KeysAt(platform::CurrentFrame(), keys);
    if (S().headless) return;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count; ++sc) {
        if (!state[sc]) continue;
        int vk = VirtualKeyOf(SDL_Scancode(sc));
        if (!vk) continue;
        keys[vk] = 0x80;
        if (vk == VK_LSHIFT || vk == VK_RSHIFT) keys[VK_SHIFT] = 0x80;
        if (vk == VK_LCONTROL || vk == VK_RCONTROL) keys[VK_CONTROL] = 0x80;
        if (vk == VK_LMENU || vk == VK_RMENU) keys[VK_MENU] = 0x80;
    }
}

static bool ScriptedJoystick() { return platform::Options().hasScript && platform::Options().script.UsesJoystick(); }

bool JoystickPresent() {
    State& s = S();
    if (s.headless || ScriptedJoystick()) return ScriptedJoystick();
    return s.controller || s.joystick;
}

namespace {
// A stick pushed past 90 % reads as its extreme, like a digital pad.
unsigned AxisValue(Sint16 raw) {
    if (raw <= -29491) return 0;
    if (raw >= 29490) return 0xFFFF;
    return unsigned(int(raw) + 32768);
}
}  // namespace

bool JoystickState(unsigned* x, unsigned* y, unsigned* buttons) {
    State& s = S();
    if (s.headless || ScriptedJoystick()) {
        if (!ScriptedJoystick()) return false;
        platform::Options().script.JoystickAt(platform::CurrentFrame(), x, y, buttons);
        return true;
    }
    if (s.controller) {
        if (!SDL_GameControllerGetAttached(s.controller)) return false;
        *x = AxisValue(SDL_GameControllerGetAxis(s.controller, SDL_CONTROLLER_AXIS_LEFTX));
        *y = AxisValue(SDL_GameControllerGetAxis(s.controller, SDL_CONTROLLER_AXIS_LEFTY));
        if (SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) *x = 0;
        if (SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) *x = 0xFFFF;
        if (SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_UP)) *y = 0;
        if (SDL_GameControllerGetButton(s.controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) *y = 0xFFFF;
        // Buttons 1 to 10 in the order of a PC pad: A, B, X, Y, the shoulders, Back, Start, the sticks.
        static const SDL_GameControllerButton order[] = {
            SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,          SDL_CONTROLLER_BUTTON_X,
            SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
            SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_LEFTSTICK,
            SDL_CONTROLLER_BUTTON_RIGHTSTICK};
        *buttons = 0;
        for (int i = 0; i < 10; ++i)
            if (SDL_GameControllerGetButton(s.controller, order[i])) *buttons |= 1u << i;
        return true;
    }
    if (s.joystick) {
        if (!SDL_JoystickGetAttached(s.joystick)) return false;
        *x = SDL_JoystickNumAxes(s.joystick) > 0 ? AxisValue(SDL_JoystickGetAxis(s.joystick, 0)) : 32767;
        *y = SDL_JoystickNumAxes(s.joystick) > 1 ? AxisValue(SDL_JoystickGetAxis(s.joystick, 1)) : 32767;
        if (SDL_JoystickNumHats(s.joystick) > 0) {
            Uint8 hat = SDL_JoystickGetHat(s.joystick, 0);
            if (hat & SDL_HAT_LEFT) *x = 0;
            if (hat & SDL_HAT_RIGHT) *x = 0xFFFF;
            if (hat & SDL_HAT_UP) *y = 0;
            if (hat & SDL_HAT_DOWN) *y = 0xFFFF;
        }
        *buttons = 0;
        int n = std::min(32, SDL_JoystickNumButtons(s.joystick));
        for (int i = 0; i < n; ++i)
            if (SDL_JoystickGetButton(s.joystick, i)) *buttons |= 1u << i;
        return true;
    }
    return false;
}

const char* JoystickName() {
    State& s = S();
    if (s.controller) return SDL_GameControllerName(s.controller);
    if (s.joystick) return SDL_JoystickName(s.joystick);
    return "Scripted joystick";
}

int JoystickButtonCount() {
    State& s = S();
    if (s.joystick) return SDL_JoystickNumButtons(s.joystick);
    return s.controller ? 10 : 32;
}

SDL_Surface* RenderText(const std::string& utf8, int pixelHeight, SDL_Color color, bool bold) {
    if (utf8.empty()) return nullptr;
    TTF_Font* f = Font(pixelHeight, bold);
    if (!f) return nullptr;
    SDL_Surface* t = TTF_RenderUTF8_Blended(f, utf8.c_str(), color);
    if (!t) return nullptr;
    SDL_Surface* out = SDL_ConvertSurfaceFormat(t, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(t);
    return out;
}

MessageBoxView* OpenMessageBox() { return S().messageBox; }

void SetMessageBox(MessageBoxView* view) {
    State& s = S();
    s.messageBox = view;
    if (view && s.window && !s.windowShown) {
        // A box can come before any of the game's windows is shown (the sound device's, at start-up):
        // it is a window of its own, so the screen shows it.
        SDL_ShowWindow(s.window);
        SDL_RaiseWindow(s.window);
        s.windowShown = true;
    }
}

}  // namespace desktop

namespace gfx {

TextureData::TextureData(int width, int height) {
    surface = SDL_CreateRGBSurfaceWithFormat(0, std::max(1, width), std::max(1, height), 32,
                                             SDL_PIXELFORMAT_ARGB8888);
    if (surface) SDL_FillRect(surface, nullptr, 0);
}

TextureData::~TextureData() {
    for (auto& u : uploaded)
        if (u.second.texture && desktop::g_liveGenerations.count(u.second.generation))
            SDL_DestroyTexture(u.second.texture);
    if (surface) SDL_FreeSurface(surface);
}

void TextureData::Changed() { ++version; }

SDL_Texture* TextureData::For(SDL_Renderer* renderer, unsigned generation) {
    if (!surface) return nullptr;
    Uploaded& u = uploaded[renderer];
    if (u.texture && u.generation == generation && u.version == version) return u.texture;
    if (u.texture && u.generation == generation) {
        SDL_UpdateTexture(u.texture, nullptr, surface->pixels, surface->pitch);
        u.version = version;
        return u.texture;
    }
    if (u.texture && desktop::g_liveGenerations.count(u.generation)) SDL_DestroyTexture(u.texture);
    u.texture = SDL_CreateTextureFromSurface(renderer, surface);
    u.generation = generation;
    u.version = version;
    return u.texture;
}

void RenderList(SDL_Renderer* r, unsigned generation, const DrawList& list, const SDL_Rect& source,
                const SDL_Rect& dest) {
    if (source.w <= 0 || source.h <= 0) return;
    SDL_RenderSetClipRect(r, &dest);
    const float sx = float(dest.w) / float(source.w), sy = float(dest.h) / float(source.h);
    auto mapX = [&](float x) { return dest.x + (x - source.x) * sx; };
    auto mapY = [&](float y) { return dest.y + (y - source.y) * sy; };
    for (const DrawCmd& c : list.cmds) {
        const Uint8 a = c.color >> 24, cr = (c.color >> 16) & 0xFF, cg = (c.color >> 8) & 0xFF, cb = c.color & 0xFF;
        if (c.kind == DrawCmd::kClear) {
            SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(r, cr, cg, cb, 255);
            SDL_RenderFillRect(r, &dest);
            continue;
        }
        if (c.kind == DrawCmd::kLine) {
            SDL_SetRenderDrawBlendMode(r, a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(r, cr, cg, cb, a);
            SDL_RenderDrawLineF(r, mapX(c.x[0]), mapY(c.y[0]), mapX(c.x[1]), mapY(c.y[1]));
            continue;
        }
        if (a == 0 || !c.texture) continue;
        SDL_Texture* tex = c.texture->For(r, generation);
        if (!tex) continue;
        const bool opaque = c.texture->opaque && a == 255;
        SDL_SetTextureBlendMode(tex, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(tex, c.linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        float X[4], Y[4];
        for (int i = 0; i < 4; ++i) X[i] = mapX(c.x[i]), Y[i] = mapY(c.y[i]);
        // Corners: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left of the source rectangle.
        const bool axisAligned = X[0] == X[3] && X[1] == X[2] && Y[0] == Y[1] && Y[2] == Y[3] &&
                                 c.u[0] == c.u[3] && c.u[1] == c.u[2] && c.v[0] == c.v[1] && c.v[2] == c.v[3];
        if (axisAligned) {
            // The copy path: an upright rectangle, possibly mirrored.
            float left = std::min(X[0], X[1]), top = std::min(Y[0], Y[3]);
            SDL_FRect dst{left, top, std::fabs(X[1] - X[0]), std::fabs(Y[3] - Y[0])};
            float u0 = std::min(c.u[0], c.u[1]), v0 = std::min(c.v[0], c.v[3]);
            SDL_Rect src{int(std::lround(u0)), int(std::lround(v0)), int(std::lround(std::fabs(c.u[1] - c.u[0]))),
                         int(std::lround(std::fabs(c.v[3] - c.v[0])))};
            int flip = SDL_FLIP_NONE;
            if ((X[1] < X[0]) != (c.u[1] < c.u[0])) flip |= SDL_FLIP_HORIZONTAL;
            if ((Y[3] < Y[0]) != (c.v[3] < c.v[0])) flip |= SDL_FLIP_VERTICAL;
            SDL_SetTextureColorMod(tex, cr, cg, cb);
            SDL_SetTextureAlphaMod(tex, a);
            if (flip == SDL_FLIP_NONE)
                SDL_RenderCopyF(r, tex, &src, &dst);
            else
                SDL_RenderCopyExF(r, tex, &src, &dst, 0.0, nullptr, SDL_RendererFlip(flip));
            continue;
        }
        // A quarter turn leaves an upright rectangle with its picture on its side. SDL's software
        // renderer takes such triangles for a plain copy and gets the mirrored ones wrong; a
        // 1/256-pixel nudge of one corner keeps them on the triangle path.
        if (X[0] == X[1] && X[2] == X[3] && Y[0] == Y[3] && Y[1] == Y[2]) X[2] += 1.0f / 256.0f;
        SDL_SetTextureColorMod(tex, 255, 255, 255);
        SDL_SetTextureAlphaMod(tex, 255);
        const float tw = float(c.texture->Width()), th = float(c.texture->Height());
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i) {
            v[i].position = {X[i], Y[i]};
            v[i].color = {cr, cg, cb, a};
            v[i].tex_coord = {c.u[i] / tw, c.v[i] / th};
        }
        static const int indices[6] = {0, 1, 2, 0, 2, 3};
        SDL_RenderGeometry(r, tex, v, 4, indices, 6);
    }
    SDL_RenderSetClipRect(r, nullptr);
}

}  // namespace gfx
