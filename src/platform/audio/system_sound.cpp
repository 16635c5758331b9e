// The system sound player (sndPlaySoundA): one WAV file at a time, on a mixer channel of its own.
#include "platform/mmaudio.h"
#include "platform/common/owner.h"

#include "platform/audio/audio_mixer.h"
#include "platform/common/sdl_handles.h"
#include "platform/files/file_handle.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <vector>

namespace sdl = platform::sdl;

namespace {

namespace audio = platform::audio;

// A system sound is a short cue; a bigger file is no sound of the game's.
constexpr std::size_t kMaxSoundBytes = std::size_t(64) << 20;

struct SystemSound {
    bool open = false;
    int channel = -1;
    sdl::ChunkPtr chunk;
};

// The program's: the mixer may still be playing its chunk at exit.
SystemSound& System() {
    return platform::owner::Part<SystemSound>(platform::owner::Life::Program);
}

}  // namespace

BOOL sndPlaySoundA(LPCSTR soundName, UINT flags) {
    SystemSound& s = System();
    if (!soundName) {
        // Stopping lets go of the mixer as well, until the next system sound.
        if (s.open) {
            {
                audio::Lock lock;
                audio::ReleaseChannel(s.channel);
                s.chunk.reset();
            }
            s = SystemSound{};
            audio::Close();
        }
        return TRUE;
    }
    if (flags & SND_MEMORY) return FALSE;                          // sounds come from files here
    if ((flags & SND_LOOP) && !(flags & SND_ASYNC)) return FALSE;  // a loop never ends by itself
    if ((flags & SND_NOSTOP) && s.open && Mix_Playing(s.channel)) return FALSE;
    if (!s.open) {
        if (!audio::Open()) return FALSE;
        s.open = true;
        s.channel = audio::AcquireChannel();
    }
    // Read through the platform's opening, as every data file is: the language's copy first, and
    // only a regular file (a named pipe or /dev/zero in its place would hang the game).
    std::vector<unsigned char> bytes;
    sdl::ChunkPtr loaded;
    if (platform::files::ReadRegularFile(soundName, &bytes, kMaxSoundBytes))
        loaded.reset(Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1));
    Mix_Chunk* const chunk = loaded.get();
    {
        audio::Lock lock;
        Mix_HaltChannel(s.channel);
        s.chunk = std::move(loaded);  // the sound before goes
        if (chunk) Mix_PlayChannel(s.channel, chunk, (flags & SND_LOOP) ? -1 : 0);
    }
    if (!chunk) return FALSE;  // no default sound to fall back on
    if (!(flags & SND_ASYNC))
        Sleep(DWORD(std::uint64_t(chunk->alen) / audio::kBytesPerFrame * 1000 / audio::kRate));
    return TRUE;
}
