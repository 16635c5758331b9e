// The screen itself: one real SDL window (or a memory surface when headless) on which the game's
// windows are composited, the event pump, the desktop picture and the shared text renderer.
// Each job has a file of its own: screen.cpp (start-up, the real window, the window list),
// renderer.cpp, compositor.cpp, events.cpp, keyboard.cpp, joystick.cpp, text.cpp,
// message_box_view.cpp, desktop_picture.cpp, and the parts that differ between systems:
// desktop_capture_*.cpp and font_lookup_*.cpp.
#pragma once

#include "platform/raster/draw_list.h"
#include "platform/runtime.h"
#include "platform/win32.h"

#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct WindowObject {
    std::string className;
    std::string text;
    DWORD style = 0;
    RECT rect{};  // screen pixels
    HWND owner = nullptr;
    WNDPROC proc = nullptr;
    UINT classStyle = 0;
    D3DCOLOR background = 0xFFFFFFFF;  // the class brush
    int captionHeight = 0;             // drawn by the layer itself
    bool visible = false;
    bool destroyed = false;
    bool invalid = false;
    platform::raster::Presented content;  // what was last presented into it
    // Where the screen shows it: its rect, or with reduce motion on a calmer place (ShownRect).
    struct Calm {
        bool on = false;
        RECT shown{}, settled{}, last{};  // shown; where it last rested; its rect a frame ago
        int stillFrames = 0;              // frames its rect has not moved
    } calm;
};

namespace platform::desktop {

bool Init(const platform::RuntimeOptions& options, std::string* error, int* exitCode);
// Looks for the Japanese font now (its absence is a start-up warning).
void LookForFont();
// The start-up warnings in one box with an OK button, drawn by the system (SDL's own message box,
// which needs no font of ours), over the game's window.
void ShowStartWarnings(const std::string& text);
void Shutdown();
bool Headless();
// Whether the game runs on a handheld's own session: Steam's gamescope (XDG_CURRENT_DESKTOP names
// it) or a Steam Deck (SteamDeck=1). There it plays full screen at the panel's size whatever the
// player's window setting says.
bool OnHandheld();
// Reduce motion: once a frame, before the screen is drawn, each window's shown place follows the
// game's rect calmly. A window that jumps about around where it rests (the windows shaken by the
// special move) is shown there with a sixteenth of the jumps; one moved to a new place and left
// there is shown there a couple of frames later. The game's own rects never change.
void SettleWindows();
RECT ShownRect(const WindowObject& w);
// Where the display shows the game's captioned window (the frame window), in the display's pixels;
// false while none is shown. The web page keeps its touch keys off it.
bool GameWindowOnDisplay(SDL_Rect* out);
// Reduce flashing: the veil (ARGB, 0 for none) that keeps a picture of this brightness (0 to 255,
// the mean of its pixels) within a frame's step of the level shown before, which it moves on.
Uint32 FlashVeil(double* level, double brightness);
// Draws that veil over what the renderer drew this frame (width x height), when the player's
// settings ask for it; true when it drew one.
bool LimitFlashing(SDL_Renderer* r, int width, int height);
// The game's screen (the display's pixels over the scale).
int ScreenWidth();
int ScreenHeight();
// The display's pixels, which the real window and the screenshots have.
int DisplayWidth();
int DisplayHeight();
// The display pixels per pixel of the game's screen.
double DisplayScale();

// The desktop as it was at start-up, on the game's screen (as the game photographs it): captured
// from the real screen, or drawn when there is none.
SDL_Surface* ScreenPicture();

// The game's windows, in creation order (which is also their z-order: later ones are on top).
std::vector<WindowObject*>& Windows();
WindowObject* TopEnabledWindow();
void RealWindowVisibility();

// Renderers: the one the device draws for (the real window's, or a software renderer on a memory
// surface when headless). Creating it fails when the wanted kind is not available.
bool CreateRenderer(bool accelerated);
SDL_Renderer* Renderer();
unsigned RendererGeneration();
// The display as Direct3D sees it: resets of the renderer (device lost, then ready to be reset), and
// the display being away (lost until it is back). A minimized window is not away: the game keeps
// running its frames, only nothing is shown.
unsigned ResetCount();
bool Minimized();
bool DisplayAway();
void SimulateDeviceReset();  // as SDL reports a reset render device
void SimulateMinimized(bool minimized);
void SimulateDisplayAway(bool away);

// Video drivers that show a window to a player (not SDL's offscreen or dummy drivers).
bool ShowsWindows(const char* videoDriver);

// Full screen and a window, in turn (Alt+Enter, F11): a window comes back at its last size and place.
void ToggleFullScreen();
bool FullScreen();
// The window the player resized, moved or switched is kept in the settings file for the next start
// (its size and place, or full screen); nothing when the player left it as it started.
void KeepWindowForNextStart(const std::string& settingsFile);

// Shows the composited screen in the real window (nothing when headless).
void ShowFrame();
// Whether the real window can be drawn at all (a renderer for it exists or can be made): a message
// box that could not be drawn would wait for an answer nobody can give.
bool CanDrawScreen();
bool SaveScreen(const std::string& file, std::string* why);
// The composited screen on a memory surface (owned by the desktop), null if it cannot be made.
SDL_Surface* ComposeToSurface();
bool SaveBackBuffer(IDirect3DDevice9* device, const std::string& file, std::string* why);

// Reads pending SDL events: input state, close requests, cursor messages, renderer resets.
void PumpEvents();
// Current keyboard (by virtual key, bit 0x80) and joystick state, from the devices or the script.
void KeyboardState(BYTE keys[256]);
// Sets the virtual keys of the pressed SDL scancodes (pressed[scancode] non-zero) in keys; a left
// or right Shift, Ctrl or Alt also sets VK_SHIFT, VK_CONTROL or VK_MENU.
void AddPressedKeys(const Uint8* pressed, int count, BYTE keys[256]);
// Keys that were down as a message box closed belong to the box's answer: the game sees each of
// them only after it has been released. HoldKeysDownNow takes the keyboard's keys as such;
// LeaveOutHeldKeys takes them out of a copy of SDL's key state (and forgets those released).
void HoldKeysDownNow();
// The game's next frame reads Escape once (the pause's "Back to the title").
void OweEscape();
using HeldKeys = std::bitset<SDL_NUM_SCANCODES>;
void LeaveOutHeldKeys(Uint8* pressed, int count, HeldKeys* held);
}  // namespace platform::desktop
namespace platform::settings {
struct Settings;
}
namespace platform::desktop {
// AddPressedKeys with the game's keys where the player's settings put them.
void AddPressedKeysMoved(const Uint8* pressed, int count, const platform::settings::Settings& settings,
                         BYTE keys[256]);
// The pad mappings a player can add (SDL reads SDL_GAMECONTROLLERCONFIG by itself):
// gamecontrollerdb.txt in the game's folder and in the settings folder. One that SDL cannot read is
// named once.
void LoadPadMappings(const std::string& gameFolder);
// The game's buttons 1 to 10 (bit 0 to 9) of a pad SDL knows, whatever its make: A, B, X, Y, the
// left and right shoulders, Back, Start and the two sticks pressed, by position (SDL's mapping).
unsigned PadButtons(SDL_GameController* pad);
// The pad's buttons down now belong to the pause that just closed: the game sees each only after it
// was released (as HoldKeysDownNow does for keys).
void HoldPadButtonsDownNow();
// Rumbles the game's pad, if it can and the player's settings let it: strength in percent, for
// that long. False where nothing rumbled (headless, no pad, none that rumbles, rumble off).
bool Rumble(int strength, int milliseconds);
// Dash and power mode toggled instead of held, as the player's settings ask: a press turns one on
// and the game sees it held until the next press. Applied to the keyboard's and the pad's state of
// a frame in a window (never in a headless run).
struct Toggle {
    bool wasDown = false, on = false;
    std::uint64_t frame = 0;  // the frame it last looked at
};
bool TurnToggle(Toggle& toggle, bool down, std::uint64_t frame);
void ToggleKeys(BYTE keys[256]);
void TogglePadButtons(unsigned* buttons);
// A stick's reading (each axis -32768 to 32767, down and right positive) as the joystick functions
// report the direction pad: each axis 0, 32767 (centred) or 0xFFFF. Within the dead zone (a percent
// of the stick's reach, measured round) it is centred; beyond it, the nearest of eight directions.
void StickDirection(int rawX, int rawY, int deadZonePercent, unsigned* x, unsigned* y);
// What the pad itself calls button 1 to 10 (A / Cross / B, ...), for the settings program.
const char* PadButtonName(int number, SDL_GameControllerType type);
// Pads coming and going (SDL's device index, then its instance id), from the event pump.
void PadAdded(int index);
void PadRemoved(SDL_JoystickID id);
bool JoystickPresent();
bool JoystickState(unsigned* x, unsigned* y, unsigned* buttons);
const char* JoystickName();
int JoystickButtonCount();

// Text in the Japanese user-interface font, as a new ARGB surface that the caller frees. Null if
// there is no font.
SDL_Surface* RenderText(const std::string& utf8, int pixelHeight, SDL_Color color, bool bold = false);

// The message box being shown, drawn by Compose on top of everything.
struct MessageBoxView {
    std::string text, caption;
    UINT type = 0;
    int focus = 0;  // index of the focused button
    SDL_Rect box{};
    std::vector<std::pair<SDL_Rect, int>> buttons;  // rectangle and result
    int result = 0;                                 // the answer, 0 while open
    Uint32 openedAt = 0;         // SDL ticks when it opened: older key presses are not for it
    bool mouseDownIn = false;    // a left button went down on it after it opened
    int stickX = 0, stickY = 0;  // where the pad's stick was last pushed: -1, 0 or 1
};
// While a box is open it is drawn over everything, takes the keys, clicks and close requests, and
// keeps the real window shown even when none of the game's windows is shown yet.
void SetMessageBox(MessageBoxView* view);
MessageBoxView* OpenMessageBox();
// The texture's texels at `to` were just copied from the game's screen picture at `from`: where the
// display's picture is finer, they are drawn from it.
void NoteScreenCopy(raster::TextureData& texture, const SDL_Rect& to, const SDL_Rect& from);

// Keys and clicks that reach the open message box: they may set its result.
void MessageBoxEvent(MessageBoxView& box, const SDL_Event& e);

}  // namespace platform::desktop
