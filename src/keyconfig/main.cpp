// KeyConfig1.exe, the settings program the option screen's F5 opens. Five pages:
//  - 操作: the controls of Rushmora, scene by scene, with the player's keys and pad buttons, each line
//    lit while one of them is held, and a tester (the last key, the pad and its buttons held);
//  - キー / パッド: the key or pad button of each of the game's keys and buttons ("press the key for
//    ジャンプ..."; one already in use elsewhere is refused with a word), the pad's named by what they
//    do in the game, "confirm with A" on or off, the stick's dead zone and the rumble;
//  - アクセシビリティ: calmer shaking and flashes, dash and power mode held by a press, the game's speed;
//  - その他: the music and effects volumes (with a sound to hear them), the scale, the language, the
//    window, whether the game pauses when its window is left, and the defaults back (asked first).
// Every change is written at once to the player's settings.ini (platform/settings/settings.h).
// Keyboard: Tab (or a click on a tab, or the pad's shoulders) changes the page, the arrows choose
// and step, Enter takes, Escape closes. Mouse: a row's name chooses it, a value's ◀ ▶ step it. Pad:
// the direction pad, A takes, B answers no, Back closes.
// model.h is what the pages are and what each input does to them; pages.h draws them.
//
// The game starts it with its own language and scale: --lang ja|en (else settings.ini's language)
// and --scale S (else the system's, as the game finds it); the window is shrunk until it fits the
// screen, and its pages are drawn at the window's own pixels, text at its scaled size.
// With RUSHMORA_HEADLESS=1 in the environment (as a headless game run starts it) or --list, it
// prints the table of controls and ends.
#include "actions/actions.h"
#include "keyconfig/model.h"
#include "keyconfig/pages.h"
#include "platform/common/sdl_handles.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_capture.h"
#include "platform/desktop/screen_scale.h"
#include "platform/settings/settings.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;

namespace {

void PrintTable(const platform::settings::Settings& settings, bool english) {
    std::printf("%s\n", english ? "Rushmora's controls" : "Rushmora の操作");
    for (const keyconfig::ControlsLine& line : keyconfig::ControlsTable(settings, english))
        std::printf("%-12s  %-20s  %-20s  %s\n", line.scene.c_str(), line.keys.c_str(), line.joystick.c_str(),
                    line.effect.c_str());
}

// The system's scale as the game takes it: the desktop's setting (X11's Xft.dpi, the monitor's DPI
// on Windows), else GDK_SCALE; under Wayland none, since the output enlarges the window itself (and
// the renderer's pixels then are the output's: the pages are drawn at those).
double SystemScale() {
    if (SDL_strcasecmp(SDL_GetCurrentVideoDriver(), "wayland") == 0) return 1.0;
    double scale = desktop::LookAtScreen().scale;
    if (scale <= 0) scale = desktop::ScaleFromEnvironment();
    return scale;
}

// The program in its window, SDL and SDL_ttf running: 0, or 1 when SDL fails it (said on stderr).
// Everything SDL made here goes before SDL does.
int Run(const keyconfig::CommandLine& command) {
    keyconfig::Model model(platform::settings::CurrentSettings(), platform::settings::PlayerSettingsFile(),
                           command.language);
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
    // The game's window sizes offered are those that fit this screen.
    model.SetScreen(usable.w, usable.h);
    // Room for the window's title bar above it.
    const keyconfig::WindowFit fit = keyconfig::FitWindow(command.scale, SystemScale(), usable.w,
                                                          usable.h > 64 ? usable.h - 48 : usable.h);
    sdl::WindowPtr window(SDL_CreateWindow(model.Title().c_str(), SDL_WINDOWPOS_CENTERED,
                                           SDL_WINDOWPOS_CENTERED, fit.width, fit.height,
                                           SDL_WINDOW_ALLOW_HIGHDPI));
    if (!window) {
        std::fprintf(stderr, "KeyConfig1: cannot open a window (%s)\n", SDL_GetError());
        return 1;
    }
    sdl::RendererPtr renderer(SDL_CreateRenderer(window.get(), -1, 0));
    if (!renderer) {
        std::fprintf(stderr, "KeyConfig1: cannot draw in its window (%s)\n", SDL_GetError());
        return 1;
    }
    // The pages are words: without the font to write them there is nothing to show.
    SDL_ClearError();
    if (!sdl::SurfacePtr(desktop::RenderText("設定", 16, SDL_Color{0, 0, 0, 255}))) {
        const char* why = SDL_GetError();
        std::fprintf(stderr, "KeyConfig1: cannot write its pages (%s)\n", *why ? why : "no Japanese font");
        return 1;
    }
    keyconfig::Tone tone = keyconfig::Tone::Open();
    // The game's folder is the one above data/, where this program runs from.
    if (char* base = SDL_GetBasePath()) {
        desktop::LoadPadMappings(std::string(base) + "..");
        SDL_free(base);
    } else {
        std::fprintf(stderr,
                     "KeyConfig1: the game's pad mappings are not read: no folder of the program (%s)\n",
                     SDL_GetError());
    }
    keyconfig::Pages pages(renderer.get(), &model);
    pages.OpenPad();
    std::string title = model.Title();
    while (model.Running()) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) pages.Event(e);
        if (model.Title() != title) {
            title = model.Title();
            SDL_SetWindowTitle(window.get(), title.c_str());
        }
        if (const std::optional<int> volume = model.TakeTone()) tone.Play(*volume);
        std::string why;
        if (!pages.Draw(&why)) {
            std::fprintf(stderr, "KeyConfig1: cannot draw its page (%s)\n", why.c_str());
            return 1;
        }
        SDL_Delay(16);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::UseGameKeys(GameActions());
    const keyconfig::CommandLine command = keyconfig::ReadCommandLine(argc, argv);
    for (const std::string& warning : command.warnings)
        std::fprintf(stderr, "KeyConfig1: %s\n", warning.c_str());
    const char* env = std::getenv("RUSHMORA_HEADLESS");
    const bool headless = env && *env && std::strcmp(env, "0") != 0;
    // The player's keys in the table (none read under a headless run, as the game reads none).
    platform::settings::LoadSettings("", headless);
    const platform::settings::Settings& settings = platform::settings::CurrentSettings();
    const bool english =
        (command.language.empty() ? settings.language : command.language) == platform::kEnglish;
    if (headless || command.list) {
        PrintTable(settings, english);
        return 0;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "KeyConfig1: no display (%s)\n", SDL_GetError());
        PrintTable(settings, english);
        return 1;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "KeyConfig1: cannot start SDL_ttf (%s)\n", TTF_GetError());
        SDL_Quit();
        return 1;
    }
    const int status = Run(command);
    TTF_Quit();
    SDL_Quit();
    return status;
}
