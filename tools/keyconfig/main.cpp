// KeyConfig1.exe: the controls of Rushmora, scene by scene, and a tester that lights up every key
// and pad button as it is pressed, numbered as the game numbers them (with the pad's own names).
// It writes nothing: the game's controls are fixed.
//
// With RUSHMORA_HEADLESS=1 in the environment (as a headless game run starts it) or --list, it
// prints the table of controls and ends.
#include "platform/desktop/desktop.h"
#include "platform/run/settings.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Binding {
    const char* scene;
    const char* keys;
    const char* joystick;
    const char* effect;
};

const Binding kBindings[] = {
    {"オープニング", "Enter", "ボタン3", "タイトルへ"},
    {"タイトル", "↑ ↓", "スティック上下", "項目をえらぶ"},
    {"タイトル", "Enter", "ボタン2", "決定"},
    {"オプション", "← →", "", "ゲージを調整"},
    {"オプション", "F5", "", "このプログラムを開く"},
    {"オプション", "F2", "", "テスト用INIを書く"},
    {"オプション", "Esc", "ボタン3", "タイトルへ"},
    {"ゲーム", "← → ↑ ↓", "スティック", "歩く・奥行きを変える"},
    {"ゲーム", "A", "ボタン3", "ジャンプ"},
    {"ゲーム", "S", "ボタン1", "ダッシュ"},
    {"ゲーム", "D", "ボタン2", "攻撃"},
    {"ゲーム", "F", "ボタン4", "パワーモード"},
    {"ゲーム", "Space", "ボタン7", "必殺技"},
    {"ゲーム", "Esc", "", "タイトルに戻る (確認あり)"},
    {"ゲーム", "", "ボタン5〜10同時", "すぐタイトルに戻る"},
    {"リザルト", "Enter", "ボタン2", "次へ"},
    {"リザルト", "Esc", "ボタン3", "タイトルへ"},
};

void PrintTable() {
    std::printf("Rushmora の操作\n");
    for (const Binding& b : kBindings)
        std::printf("%-12s  %-20s  %-20s  %s\n", b.scene, b.keys, b.joystick, b.effect);
}

void Text(SDL_Renderer* r, const std::string& s, int size, SDL_Color c, int x, int y) {
    SDL_Surface* t = desktop::RenderText(s, size, c);
    if (!t) return;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(r, t);
    SDL_Rect dst{x, y, t->w, t->h};
    SDL_RenderCopy(r, tex, nullptr, &dst);
    SDL_DestroyTexture(tex);
    SDL_FreeSurface(t);
}

// The pad being tested: a pad SDL knows (numbered as the game numbers it) or another joystick (its
// own numbers, as the game reads it). Pads come and go while the program runs.
struct Pad {
    SDL_GameController* pad = nullptr;
    SDL_Joystick* joystick = nullptr;

    void Close() {
        if (pad) SDL_GameControllerClose(pad);
        if (joystick) SDL_JoystickClose(joystick);
        pad = nullptr;
        joystick = nullptr;
    }
    bool Open(int index) {
        Close();
        if (SDL_IsGameController(index))
            pad = SDL_GameControllerOpen(index);
        else
            joystick = SDL_JoystickOpen(index);
        return pad || joystick;
    }
    void OpenFirst() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (Open(i)) return;
    }
    SDL_JoystickID Id() const {
        if (pad) return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (joystick) return SDL_JoystickInstanceID(joystick);
        return -1;
    }
    // "ジョイスティック: <name>  ボタン: 3 (X / Square) ..."
    std::string Line() const {
        if (!pad && !joystick) return "ジョイスティック: なし";
        std::string line = "ジョイスティック: ";
        line += pad ? SDL_GameControllerName(pad) : SDL_JoystickName(joystick);
        line += "  ボタン:";
        if (pad) {
            const unsigned buttons = desktop::PadButtons(pad);
            for (int i = 0; i < 10; ++i)
                if (buttons & (1u << i))
                    line += " " + std::to_string(i + 1) + " (" +
                            desktop::PadButtonName(i + 1, SDL_GameControllerGetType(pad)) + ")";
        } else {
            for (int i = 0; i < SDL_JoystickNumButtons(joystick) && i < 32; ++i)
                if (SDL_JoystickGetButton(joystick, i)) line += " " + std::to_string(i + 1);
        }
        return line;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const char* headless = std::getenv("RUSHMORA_HEADLESS");
    if ((headless && *headless && std::strcmp(headless, "0") != 0) ||
        (argc > 1 && std::strcmp(argv[1], "--list") == 0)) {
        PrintTable();
        return 0;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "KeyConfig1: no display (%s)\n", SDL_GetError());
        PrintTable();
        return 1;
    }
    TTF_Init();
    SDL_Window* w =
        SDL_CreateWindow("Rushmora キー設定", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 720, 640, 0);
    SDL_Renderer* r = w ? SDL_CreateRenderer(w, -1, 0) : nullptr;
    if (!r) {
        std::fprintf(stderr, "KeyConfig1: cannot open a window (%s)\n", SDL_GetError());
        return 1;
    }
    // The player's settings: the pad buttons are numbered as the game will number them.
    platform::LoadSettings("", false);
    // The game's folder is the one above data/, where this program runs from.
    if (char* base = SDL_GetBasePath()) {
        desktop::LoadPadMappings(std::string(base) + "..");
        SDL_free(base);
    }
    Pad joy;
    joy.OpenFirst();
    std::string lastKey = "(なし)";
    bool running = true;
    while (running) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) running = false;
            if (e.type == SDL_KEYDOWN) lastKey = SDL_GetKeyName(e.key.keysym.sym);
            if (e.type == SDL_JOYDEVICEADDED && joy.Id() < 0) joy.Open(e.jdevice.which);
            if (e.type == SDL_JOYDEVICEREMOVED && e.jdevice.which == joy.Id()) {
                joy.Close();
                joy.OpenFirst();
            }
        }
        SDL_SetRenderDrawColor(r, 0xF4, 0xF1, 0xE6, 255);
        SDL_RenderClear(r);
        const SDL_Color ink{0x20, 0x20, 0x30, 255}, hot{0xD0, 0x30, 0x30, 255};
        Text(r, "Rushmora の操作  (ウィンドウを閉じると終わります)", 18, ink, 16, 10);
        int y = 44;
        for (const Binding& b : kBindings) {
            Text(r, b.scene, 14, ink, 16, y);
            Text(r, b.keys, 14, ink, 120, y);
            Text(r, b.joystick, 14, ink, 300, y);
            Text(r, b.effect, 14, ink, 460, y);
            y += 23;
        }
        y += 8;
        Text(r, "最後に押したキー: " + lastKey, 16, hot, 16, y);
        Text(r, joy.Line(), 16, hot, 16, y + 26);
        SDL_RenderPresent(r);
        SDL_Delay(16);
    }
    joy.Close();
    SDL_DestroyRenderer(r);
    SDL_DestroyWindow(w);
    TTF_Quit();
    SDL_Quit();
    return 0;
}
