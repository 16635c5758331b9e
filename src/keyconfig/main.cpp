// KeyConfig1.exe, the settings program the option screen's F5 opens. Four pages:
//  - 操作: the controls of Rushmora, scene by scene, and a tester that lights up every key and pad
//    button as it is pressed, numbered as the game numbers them (with the pad's own names);
//  - キー / パッド: the key or pad button of each of the game's keys and buttons ("press the key for
//    ジャンプ..."; one already in use elsewhere is refused with a word);
//  - その他: the music and effects volumes (with a sound to hear them), the scale, the language, the
//    window, whether the game pauses when its window is left, and the defaults back.
// Every change is written at once to the player's settings.ini (platform/settings/settings.h).
// Keyboard: Tab (or a click on a tab, or the pad's shoulders) changes the page, the arrows choose,
// Enter takes, Escape closes. Mouse: click a row. Pad: the direction pad, A takes, Back closes.
// model.h is what the pages are and what each input does to them; pages.h draws them.
//
// With RUSHMORA_HEADLESS=1 in the environment (as a headless game run starts it) or --list, it
// prints the table of controls and ends.
#include "actions/actions.h"
#include "keyconfig/model.h"
#include "keyconfig/pages.h"
#include "platform/common/sdl_handles.h"
#include "platform/desktop/desktop.h"
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

void PrintTable(const platform::settings::Settings& settings) {
    std::printf("Rushmora の操作\n");
    for (const keyconfig::ControlsLine& line : keyconfig::ControlsTable(settings, false))
        std::printf("%-12s  %-20s  %-20s  %s\n", line.scene.c_str(), line.keys.c_str(), line.joystick.c_str(),
                    line.effect.c_str());
}

// The program in its window, SDL and SDL_ttf running: 0, or 1 when SDL fails it (said on stderr).
// Everything SDL made here goes before SDL does.
int Run() {
    sdl::WindowPtr window(
        SDL_CreateWindow("Rushmora 設定", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 720, 640, 0));
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
    keyconfig::Model model(platform::settings::CurrentSettings(), platform::settings::PlayerSettingsFile());
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
    while (model.Running()) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) pages.Event(e);
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
    const char* env = std::getenv("RUSHMORA_HEADLESS");
    const bool headless = env && *env && std::strcmp(env, "0") != 0;
    // The player's keys in the table (none read under a headless run, as the game reads none).
    platform::settings::LoadSettings("", headless);
    if (headless || (argc > 1 && std::strcmp(argv[1], "--list") == 0)) {
        PrintTable(platform::settings::CurrentSettings());
        return 0;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "KeyConfig1: no display (%s)\n", SDL_GetError());
        PrintTable(platform::settings::CurrentSettings());
        return 1;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "KeyConfig1: cannot start SDL_ttf (%s)\n", TTF_GetError());
        SDL_Quit();
        return 1;
    }
    const int status = Run();
    TTF_Quit();
    SDL_Quit();
    return status;
}
