// A check of the cross-built libraries (not part of the game): sound with the music's Timidity
// instruments, Japanese text through SDL_ttf with harfbuzz, and a PNG through SDL_image.
//   smoke DATA_DIR TIMIDITY_CFG FONT
// Linked with -Wl,--wrap=SDL_OpenAudioDevice: SDL_mixer's mixing function is kept and pulled here
// in blocks of uneven sizes, as the game's headless runs do, each into a buffer of exactly that
// size (Timidity used to write a whole block of its own past a shorter one). Every .mid under
// DATA_DIR/BGM is played, over its end and round again; the mixer is closed and opened again
// (Timidity is shut down and started again) and they are played once more; a sound effect is
// played, bold and regular Japanese text measured and rendered, and a picture loaded.
// Exits 0 only when all of it worked.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" SDL_AudioDeviceID __real_SDL_OpenAudioDevice(const char* device, int iscapture,
                                                        const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                                        int allowed_changes);

namespace {

int failures = 0;
SDL_AudioCallback mixer_callback = nullptr;  // SDL_mixer's own mixing function
void* mixer_userdata = nullptr;

void silence(void*, Uint8* stream, int len) {
    SDL_memset(stream, 0, static_cast<size_t>(len));
}

// Runs the mixer for about `seconds` in uneven blocks; returns the loudest sample.
int pull(double seconds) {
    static const int sizes[] = {705, 300, 4096, 511, 1, 512, 1023, 64};
    int total = static_cast<int>(seconds * 44100), peak = 0;
    for (int done = 0, i = 0; done < total; ++i) {
        int frames = sizes[i % 8];
        std::vector<Sint16> block(static_cast<size_t>(frames) * 2);  // exactly the size asked for
        mixer_callback(mixer_userdata, reinterpret_cast<Uint8*>(block.data()), frames * 4);
        for (Sint16 v : block) peak = std::max(peak, std::abs(static_cast<int>(v)));
        done += frames;
    }
    return peak;
}

void fail(const char* what, const char* error) {
    std::printf("FAIL %s: %s\n", what, error);
    ++failures;
}

bool open_mixer(const std::string& cfg, int round) {
    if (Mix_SetTimidityCfg(cfg.c_str()) == 0) {  // 1 on success in SDL_mixer 2.6
        fail("Mix_SetTimidityCfg", Mix_GetError());
        return false;
    }
    int block = round == 0 ? 512 : 1000;
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, block, nullptr, 0) != 0 || !mixer_callback) {
        fail("Mix_OpenAudio", Mix_GetError());
        return false;
    }
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    std::printf("round %d: mixer open at %d Hz, %d channels, block %d, music decoders:", round, freq,
                channels, block);
    for (int i = 0; i < Mix_GetNumMusicDecoders(); ++i) std::printf(" %s", Mix_GetMusicDecoder(i));
    std::printf("\n");
    return true;
}

void play_pieces(const std::vector<std::string>& pieces, int round) {
    for (const auto& piece : pieces) {
        Mix_Music* music = Mix_LoadMUS(piece.c_str());
        if (!music) {
            fail(piece.c_str(), Mix_GetError());
            continue;
        }
        if (Mix_GetMusicType(music) != MUS_MID) fail(piece.c_str(), "not taken as MIDI");
        if (Mix_PlayMusic(music, -1) != 0) fail("Mix_PlayMusic", Mix_GetError());
        int peak = pull(round == 0 ? 2.0 : 1.0);
        std::printf("round %d: %s playing=%d position=%.2f s of %.1f s, peak %d\n", round,
                    std::filesystem::path(piece).filename().string().c_str(), Mix_PlayingMusic(),
                    Mix_GetMusicPosition(music), Mix_MusicDuration(music), peak);
        if (peak == 0) fail(piece.c_str(), "silent");
        if (!Mix_PlayingMusic()) fail(piece.c_str(), "stopped playing");
        // Over the end and round again: Timidity is short of a block there.
        double duration = Mix_MusicDuration(music);
        if (duration > 1 && Mix_SetMusicPosition(duration - 0.5) != 0)
            fail("Mix_SetMusicPosition", Mix_GetError());
        peak = pull(1.5);
        std::printf("round %d: %s after its end: playing=%d position=%.2f s, peak %d\n", round,
                    std::filesystem::path(piece).filename().string().c_str(), Mix_PlayingMusic(),
                    Mix_GetMusicPosition(music), peak);
        if (!Mix_PlayingMusic()) fail(piece.c_str(), "did not play round again");
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
}

void play_effect(const std::string& path) {
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) {
        fail(path.c_str(), Mix_GetError());
        return;
    }
    if (Mix_PlayChannel(-1, chunk, 0) < 0) fail("Mix_PlayChannel", Mix_GetError());
    if (pull(0.2) == 0) fail(path.c_str(), "silent");
    Mix_HaltChannel(-1);
    Mix_FreeChunk(chunk);
    std::printf("sound effect %s played\n", std::filesystem::path(path).filename().string().c_str());
}

void measure_text(const std::string& font_path) {
    if (TTF_Init() != 0) {
        fail("TTF_Init", TTF_GetError());
        return;
    }
    SDL_version const* linked = TTF_Linked_Version();
    std::printf("SDL_ttf %d.%d.%d\n", linked->major, linked->minor, linked->patch);
    TTF_Font* font = TTF_OpenFont(font_path.c_str(), 24);
    if (!font) {
        fail(font_path.c_str(), TTF_GetError());
        TTF_Quit();
        return;
    }
    const char* text =
        "\xE3\x81\x8A\xE7\x96\xB2\xE3\x82\x8C\xE6\xA7\x98\xE3\x81\xA7\xE3\x81\x97"
        "\xE3\x81\x9F ABC";  // "お疲れ様でした ABC"
    int regular = 0, bold = 0, height = 0;
    TTF_SizeUTF8(font, text, &regular, &height);
    TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    TTF_SizeUTF8(font, text, &bold, &height);
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
    if (!surface) {
        fail("TTF_RenderUTF8_Blended", TTF_GetError());
    } else {
        std::printf("text at 24 px: regular width %d, bold width %d, height %d, rendered %dx%d\n", regular,
                    bold, height, surface->w, surface->h);
        if (surface->w != bold) fail("bold text", "rendered width differs from its size");
        SDL_FreeSurface(surface);
    }
    if (regular <= 0 || bold < regular) fail("text size", "implausible widths");
    TTF_CloseFont(font);
    TTF_Quit();
}

void load_picture(const std::string& path) {
    SDL_Surface* picture = IMG_Load(path.c_str());
    if (!picture) {
        fail(path.c_str(), IMG_GetError());
        return;
    }
    std::printf("picture %s: %dx%d, %s\n", std::filesystem::path(path).filename().string().c_str(),
                picture->w, picture->h, SDL_GetPixelFormatName(picture->format->format));
    SDL_FreeSurface(picture);
}

}  // namespace

// SDL_mixer opens its device through here: the device gets silence, the mixing is pulled above.
extern "C" SDL_AudioDeviceID __wrap_SDL_OpenAudioDevice(const char* device, int iscapture,
                                                        const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                                        int allowed_changes) {
    SDL_AudioSpec silent_device = *desired;
    mixer_callback = desired->callback;
    mixer_userdata = desired->userdata;
    silent_device.callback = silence;
    silent_device.userdata = nullptr;
    return __real_SDL_OpenAudioDevice(device, iscapture, &silent_device, obtained, allowed_changes);
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: smoke DATA_DIR TIMIDITY_CFG FONT\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::string cfg = argv[2];
    const std::string font = argv[3];

    SDL_SetMainReady();
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        fail("SDL_Init", SDL_GetError());
        return 1;
    }
    SDL_version linked;
    SDL_GetVersion(&linked);
    std::printf("SDL %d.%d.%d, audio driver %s\n", linked.major, linked.minor, linked.patch,
                SDL_GetCurrentAudioDriver());
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) fail("Mix_Init(MIX_INIT_MID)", Mix_GetError());

    std::vector<std::string> pieces, effects, pictures;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data)) {
        auto extension = entry.path().extension().string();
        for (auto& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension == ".mid") pieces.push_back(entry.path().string());
        if (extension == ".wav") effects.push_back(entry.path().string());
        if (extension == ".png") pictures.push_back(entry.path().string());
    }
    std::sort(pieces.begin(), pieces.end());
    std::sort(effects.begin(), effects.end());
    std::sort(pictures.begin(), pictures.end());
    if (pieces.empty() || effects.empty() || pictures.empty()) fail(argv[1], "no .mid, .wav or .png");

    for (int round = 0; round < 2; ++round) {
        if (!open_mixer(cfg, round)) break;
        play_pieces(pieces, round);
        if (round == 0 && !effects.empty()) play_effect(effects.front());
        Mix_CloseAudio();
        std::printf("round %d: mixer closed\n", round);
    }
    Mix_Quit();

    measure_text(font);
    if (!pictures.empty()) load_picture(pictures.front());
    IMG_Quit();
    SDL_Quit();

    std::printf("%s\n", failures == 0 ? "smoke: all good" : "smoke: FAILED");
    return failures == 0 ? 0 : 1;
}
