// The General MIDI sound font, read once for all the synthesizers SDL_mixer makes.
//
// SDL_mixer's FluidSynth music makes a synthesizer of its own for every piece it loads, and each
// one reads and parses the sound font (a good part of opening a piece). Here the first synthesizer
// reads it as always; when a synthesizer that has it is deleted, the font is taken out of it first
// and kept, and every later synthesizer is given that same font instead of reading the file again.
// A synthesizer only reads its font's presets and samples while it plays, so each piece sounds
// exactly as it did with a font of its own. A font file that has changed on disk is read again.
//
// This stands in for the two FluidSynth functions SDL_mixer calls for it (fluid_synth_sfload,
// delete_fluid_synth): the program's definitions come before the library's, which they call on.
#include "platform/audio/audio_mixer.h"
#include "platform/common/owner.h"
#include "platform/pictures/file_identity.h"

#include <fluidsynth.h>

#include <dlfcn.h>

#include <mutex>
#include <set>
#include <string>

namespace {

struct SharedFont {
    std::mutex mutex;
    std::string key;  // the file's path, size and modification time
    fluid_sfont_t* font = nullptr;
    std::set<fluid_synth_t*> users;
    std::uint64_t reads = 0;
};

// The program's: a synthesizer may go at exit.
SharedFont& Shared() {
    return platform::owner::Part<SharedFont>(platform::owner::Life::Program);
}

std::string KeyOf(const char* file) {
    const std::string version = platform::pictures::FileVersion(file);
    return version.empty() ? std::string() : std::string(file) + '\n' + version;
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using SfloadFunction = int (*)(fluid_synth_t*, const char*, int);
using DeleteFunction = void (*)(fluid_synth_t*);

// Deletes a kept font that no synthesizer uses any more: a synthesizer made for it takes it along.
void DropFont(fluid_sfont_t* font) {
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return;
    if (fluid_synth_t* synth = new_fluid_synth(settings)) {
        fluid_synth_add_sfont(synth, font);
        Real<DeleteFunction>("delete_fluid_synth")(synth);
    }
    delete_fluid_settings(settings);
}

}  // namespace

namespace platform::audio {

// Called from the mixer, which also makes the linker keep this file's definitions in the program.
void PrepareMusic(bool) {}

int MusicVolume(int fluidSynthVolume) {
    return fluidSynthVolume;
}

std::uint64_t SoundFontReads() {
    SharedFont& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.reads;
}

}  // namespace platform::audio

extern "C" int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets) {
    static const auto real = Real<SfloadFunction>("fluid_synth_sfload");
    if (!real) return FLUID_FAILED;
    SharedFont& s = Shared();
    const std::string key = KeyOf(filename);
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.font && !key.empty() && key == s.key) {
        const int id = fluid_synth_add_sfont(synth, s.font);
        if (id != FLUID_FAILED) {
            s.users.insert(synth);
            return id;
        }
    }
    const int id = real(synth, filename, reset_presets);
    if (id == FLUID_FAILED) return id;
    ++s.reads;
    if (key.empty()) return id;
    if (s.font && s.key != key && s.users.empty()) {
        DropFont(s.font);  // the file has changed since that font was read
        s.font = nullptr;
    }
    if (!s.font) {
        s.font = fluid_synth_get_sfont_by_id(synth, id);
        s.key = s.font ? key : std::string();
        if (s.font) s.users.insert(synth);
    }
    return id;
}

extern "C" void delete_fluid_synth(fluid_synth_t* synth) {
    static const auto real = Real<DeleteFunction>("delete_fluid_synth");
    {
        SharedFont& s = Shared();
        std::lock_guard<std::mutex> lock(s.mutex);
        if (synth && s.users.erase(synth)) {
            // Taking the font out makes FluidSynth look for every channel's instrument again and warn
            // that it is gone; the synthesizer is about to go, so that is no news.
            const fluid_log_function_t warn = fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
            fluid_synth_remove_sfont(synth, s.font);
            fluid_set_log_function(FLUID_WARN, warn, nullptr);
        }
    }
    if (real) real(synth);
}
