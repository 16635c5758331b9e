// The media control interface's MIDI sequencer, on SDL2_mixer.
//
// A sequencer device holds one Standard MIDI file, checked and measured when it is opened. Playing
// it makes it the mixer's music (FluidSynth with a General MIDI sound font). The sequencer follows
// the piece by the frames the mixer has produced since it started; at the time of the piece's last
// event the play is complete, and the window waiting for it gets MM_MCINOTIFY through its message
// queue. That can happen on the audio thread: it only posts.
#include "platform/mmaudio.h"
#include "platform/common/owner.h"

#include "platform/audio/audio_mixer.h"
#include "platform/audio/midi_file.h"
#include "platform/files/file_handle.h"
#include "platform/settings/settings.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace audio = platform::audio;
using platform::audio::kMaxMidiBytes;
using platform::audio::ParseMidi;

// The music's share of the mix. At SDL_mixer's full music volume FluidSynth plays at a gain of 1.2
// and the pieces' loudest hits reach full scale by themselves; 72 of 128 (5 dB lower) keeps the
// music under the effects, so that the two together stay below full scale.
constexpr int kMusicVolume = 72;

int MusicVolume() {
    // At the player's music volume (100 % unless the settings say otherwise).
    return platform::audio::MusicVolume(kMusicVolume) * platform::settings::CurrentSettings().musicVolume /
           100;
}

enum class Mode { Stopped, Playing, Paused };

struct Sequencer {
    std::vector<std::uint8_t> bytes;
    Mix_Music* music = nullptr;
    std::uint64_t lengthFrames = 0;
    std::uint64_t position = 0;  // frames played
    Mode mode = Mode::Stopped;
    HWND notifyWindow = nullptr;  // waiting for the end of the current play
    bool notifyPending = false;
    bool unplayable = false;  // its instruments came, and still it could not be loaded
};

struct Mci {
    std::map<MCIDEVICEID, std::unique_ptr<Sequencer>> devices;
    MCIDEVICEID musicOwner = 0;  // the device whose piece is the mixer's music
    bool halting = false;
};

// The program's: the mixer's thread moves the pieces on (OnMixed) until its device is closed or
// hushed at exit.
Mci& TheMci() {
    return platform::owner::Part<Mci>(platform::owner::Life::Program);
}

void Notify(HWND window, WPARAM code, MCIDEVICEID id) {
    if (window) PostMessageA(window, MM_MCINOTIFY, code, LPARAM(id));
}

void EndNotice(Sequencer& s, WPARAM code, MCIDEVICEID id) {
    if (!s.notifyPending) return;
    s.notifyPending = false;
    Notify(s.notifyWindow, code, id);
}

// The play has come to the end of the piece.
void Complete(Sequencer& s, MCIDEVICEID id) {
    s.mode = Mode::Stopped;
    s.position = s.lengthFrames;
    EndNotice(s, MCI_NOTIFY_SUCCESSFUL, id);
}

// Mixer side (under the mixer's lock): the music has sounded for frames more.
void OnMixed(int frames) {
    Mci& m = TheMci();
    for (auto& [id, s] : m.devices) {
        if (s->mode != Mode::Playing) continue;
        if (id == m.musicOwner) s->position += std::uint64_t(frames);
        if (s->position >= s->lengthFrames) Complete(*s, id);
    }
}

// Mixer side: the synthesizer has nothing more to play (the notes of the end have died away).
void OnMusicFinished() {
    Mci& m = TheMci();
    if (m.halting || !m.musicOwner) return;
    auto it = m.devices.find(m.musicOwner);
    m.musicOwner = 0;
    if (it != m.devices.end() && it->second->mode == Mode::Playing) Complete(*it->second, it->first);
}

void HaltMusic() {
    Mci& m = TheMci();
    if (!m.musicOwner) return;
    m.halting = true;
    Mix_HaltMusic();
    m.halting = false;
    m.musicOwner = 0;
}

HWND CallbackOf(DWORD_PTR param) {
    return param ? reinterpret_cast<HWND>(reinterpret_cast<const MCI_GENERIC_PARMS*>(param)->dwCallback)
                 : nullptr;
}

bool EndsWith(const std::string& s, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i]) return false;
    return true;
}

bool SameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

MCIERROR ReadFileBytes(const char* name, std::vector<std::uint8_t>* out) {
    const platform::files::FilePtr f = platform::files::OpenRegularFile(name);
    if (!f) return MCIERR_FILE_NOT_FOUND;
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        if (out->size() + got > kMaxMidiBytes) return MCIERR_INVALID_FILE;
        out->insert(out->end(), chunk, chunk + got);
    }
    return std::ferror(f.get()) != 0 ? MCIERR_INVALID_FILE : 0;
}

Mix_Music* LoadMusic(const Sequencer& s) {
    SDL_RWops* rw = SDL_RWFromConstMem(s.bytes.data(), int(s.bytes.size()));
    return rw ? Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr;
}

MCIERROR OpenSequencer(DWORD_PTR flags, MCI_OPEN_PARMS* p) {
    if (!(flags & MCI_OPEN_ELEMENT) || !p->lpstrElementName) return MCIERR_FILENAME_REQUIRED;
    auto s = std::make_unique<Sequencer>();
    if (MCIERROR e = ReadFileBytes(p->lpstrElementName, &s->bytes)) return e;
    double seconds = 0;
    if (!ParseMidi(s->bytes, &seconds)) return MCIERR_INVALID_FILE;
    s->lengthFrames = std::uint64_t(std::llround(seconds * audio::kRate));

    if (!audio::Open()) return MCIERR_SEQ_NOMIDIPRESENT;
    // Without its instruments yet (the web page fetches them after the start), the piece opens
    // and waits for them silently: StartMusicThatCame loads it.
    if (!audio::MusicInstrumentsComing()) {
        s->music = LoadMusic(*s);
        if (!s->music) {
            audio::Close();
            return MCIERR_DEVICE_NOT_READY;
        }
    }

    Mci& m = TheMci();
    audio::Lock lock;
    audio::SetMixedHook(OnMixed);
    Mix_HookMusicFinished(OnMusicFinished);
    MCIDEVICEID id = 1;
    while (m.devices.count(id)) ++id;
    m.devices[id] = std::move(s);
    p->wDeviceID = id;
    if (flags & MCI_NOTIFY) Notify(reinterpret_cast<HWND>(p->dwCallback), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Open(DWORD_PTR flags, DWORD_PTR param) {
    MCI_OPEN_PARMS* p = reinterpret_cast<MCI_OPEN_PARMS*>(param);
    if (!p) return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_OPEN_ELEMENT_ID) return MCIERR_FLAGS_NOT_COMPATIBLE;
    UINT type = 0;
    if (flags & MCI_OPEN_TYPE) {
        if (flags & MCI_OPEN_TYPE_ID) {
            type = LOWORD(reinterpret_cast<std::uintptr_t>(p->lpstrDeviceType));
        } else {
            const char* name = p->lpstrDeviceType;
            if (!name) return MCIERR_NULL_PARAMETER_BLOCK;
            if (SameName(name, "sequencer"))
                type = MCI_DEVTYPE_SEQUENCER;
            else if (SameName(name, "cdaudio"))
                type = MCI_DEVTYPE_CD_AUDIO;
            else if (SameName(name, "waveaudio"))
                type = MCI_DEVTYPE_WAVEFORM_AUDIO;
            else
                return MCIERR_INVALID_DEVICE_NAME;
        }
    } else if ((flags & MCI_OPEN_ELEMENT) && p->lpstrElementName) {
        const std::string element = p->lpstrElementName;
        if (!EndsWith(element, ".mid") && !EndsWith(element, ".midi") && !EndsWith(element, ".rmi"))
            return MCIERR_EXTENSION_NOT_FOUND;
        type = MCI_DEVTYPE_SEQUENCER;
    } else {
        return MCIERR_MISSING_PARAMETER;
    }
    // The sequencer is the only device here: no CD drive, no separate wave device.
    if (type != MCI_DEVTYPE_SEQUENCER) return MCIERR_CANNOT_LOAD_DRIVER;
    return OpenSequencer(flags, p);
}

Sequencer* Find(MCIDEVICEID id) {
    auto it = TheMci().devices.find(id);
    return it == TheMci().devices.end() ? nullptr : it->second.get();
}

// Stops a device where it is; its waiting notification is aborted.
void Interrupt(Sequencer& s, MCIDEVICEID id) {
    EndNotice(s, MCI_NOTIFY_ABORTED, id);
    if (TheMci().musicOwner == id) HaltMusic();
    if (s.mode != Mode::Stopped) s.mode = Mode::Stopped;
}

MCIERROR Close(MCIDEVICEID id, DWORD_PTR flags, DWORD_PTR param) {
    std::unique_ptr<Sequencer> s;
    {
        audio::Lock lock;
        auto it = TheMci().devices.find(id);
        if (it == TheMci().devices.end()) return MCIERR_INVALID_DEVICE_ID;
        Interrupt(*it->second, id);
        s = std::move(it->second);
        TheMci().devices.erase(it);
    }
    Mix_FreeMusic(s->music);
    audio::Close();
    if (flags & MCI_NOTIFY) Notify(CallbackOf(param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Seek(MCIDEVICEID id, DWORD_PTR flags, DWORD_PTR param) {
    audio::Lock lock;
    Sequencer* s = Find(id);
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    if ((flags & MCI_NOTIFY) && !param) return MCIERR_NULL_PARAMETER_BLOCK;
    std::uint64_t target;
    if (flags & MCI_SEEK_TO_START) {
        target = 0;
    } else if (flags & MCI_SEEK_TO_END) {
        target = s->lengthFrames;
    } else if (flags & MCI_TO) {
        if (!param) return MCIERR_NULL_PARAMETER_BLOCK;
        const DWORD ms = reinterpret_cast<const MCI_SEEK_PARMS*>(param)->dwTo;
        const std::uint64_t frames = std::uint64_t(ms) * audio::kRate / 1000;
        if (frames > s->lengthFrames) return MCIERR_OUTOFRANGE;
        if (frames != 0 && frames != s->lengthFrames) return MCIERR_UNSUPPORTED_FUNCTION;  // only the ends
        target = frames;
    } else {
        return MCIERR_MISSING_PARAMETER;
    }
    Interrupt(*s, id);
    s->position = target;
    if (flags & MCI_NOTIFY) Notify(CallbackOf(param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Play(MCIDEVICEID id, DWORD_PTR flags, DWORD_PTR param) {
    audio::Lock lock;
    Mci& m = TheMci();
    Sequencer* s = Find(id);
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    if ((flags & (MCI_NOTIFY | MCI_FROM | MCI_TO)) && !param) return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_WAIT) return MCIERR_UNSUPPORTED_FUNCTION;  // the game never waits for its music
    if (flags & MCI_TO) return MCIERR_UNSUPPORTED_FUNCTION;
    if (flags & MCI_FROM) {
        if (reinterpret_cast<const MCI_PLAY_PARMS*>(param)->dwFrom != 0) return MCIERR_UNSUPPORTED_FUNCTION;
        Interrupt(*s, id);
        s->position = 0;
    }
    // A new notification request replaces the one that was waiting.
    if (s->notifyPending && (flags & MCI_NOTIFY)) EndNotice(*s, MCI_NOTIFY_SUPERSEDED, id);

    if (s->mode == Mode::Paused && m.musicOwner == id) {
        Mix_ResumeMusic();
        s->mode = Mode::Playing;
    } else if (s->mode != Mode::Playing) {
        if (s->mode == Mode::Paused) s->position = 0;  // another piece took the music meanwhile
        if (s->position < s->lengthFrames || s->position == 0) {
            if (m.musicOwner) {
                if (Sequencer* other = Find(m.musicOwner); other && other != s)
                    Interrupt(*other, m.musicOwner);
                HaltMusic();
            }
            s->position = 0;
            // A piece whose instruments are still coming starts when they are there (and does
            // not move on meanwhile).
            if (s->music) {
                Mix_VolumeMusic(MusicVolume());
                if (Mix_PlayMusic(s->music, 0) != 0) return MCIERR_DEVICE_NOT_READY;
                m.musicOwner = id;
            }
        }
        // At the end already: nothing sounds, and the play completes with the next mixing.
        s->mode = Mode::Playing;
    }
    if (flags & MCI_NOTIFY) {
        s->notifyWindow = CallbackOf(param);
        s->notifyPending = true;
    }
    return 0;
}

MCIERROR Stop(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR param) {
    audio::Lock lock;
    Sequencer* s = Find(id);
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    if ((flags & MCI_NOTIFY) && !param) return MCIERR_NULL_PARAMETER_BLOCK;
    if (s->mode == Mode::Playing) {
        EndNotice(*s, MCI_NOTIFY_ABORTED, id);
        if (TheMci().musicOwner == id) Mix_PauseMusic();
        s->mode = Mode::Paused;
    }
    (void)message;
    if (flags & MCI_NOTIFY) Notify(CallbackOf(param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Status(MCIDEVICEID id, DWORD_PTR flags, DWORD_PTR param) {
    audio::Lock lock;
    Sequencer* s = Find(id);
    if (!s) return MCIERR_INVALID_DEVICE_ID;
    auto* p = reinterpret_cast<MCI_STATUS_PARMS*>(param);
    if (!p) return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
    switch (p->dwItem) {
        case MCI_STATUS_LENGTH:
            p->dwReturn = DWORD_PTR(s->lengthFrames * 1000 / audio::kRate);
            break;
        case MCI_STATUS_POSITION:
            p->dwReturn = DWORD_PTR(std::min(s->position, s->lengthFrames) * 1000 / audio::kRate);
            break;
        case MCI_STATUS_MODE:
            p->dwReturn = s->mode == Mode::Playing  ? MCI_MODE_PLAY
                          : s->mode == Mode::Paused ? MCI_MODE_PAUSE
                                                    : MCI_MODE_STOP;
            break;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
    if (flags & MCI_NOTIFY) Notify(CallbackOf(param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Set(MCIDEVICEID id, DWORD_PTR flags, DWORD_PTR param) {
    audio::Lock lock;
    if (!Find(id)) return MCIERR_INVALID_DEVICE_ID;
    if ((flags & MCI_NOTIFY) && !param) return MCIERR_NULL_PARAMETER_BLOCK;
    // A sequencer has no door; its times are milliseconds and stay so.
    if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) return MCIERR_UNSUPPORTED_FUNCTION;
    if (flags & MCI_SET_TIME_FORMAT) {
        if (!param) return MCIERR_NULL_PARAMETER_BLOCK;
        if (reinterpret_cast<const MCI_SET_PARMS*>(param)->dwTimeFormat != 0)
            return MCIERR_UNSUPPORTED_FUNCTION;
    } else {
        return MCIERR_MISSING_PARAMETER;
    }
    if (flags & MCI_NOTIFY) Notify(CallbackOf(param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

}  // namespace

namespace platform::audio {

void StartMusicThatCame() {
    Mci& m = TheMci();
    if (m.devices.empty()) return;
    bool waiting = false;
    for (const auto& [id, s] : m.devices) waiting = waiting || (!s->music && !s->unplayable);
    if (!waiting || MusicInstrumentsComing()) return;
    for (auto& [id, s] : m.devices) {
        if (s->music || s->unplayable) continue;
        // Loading reads the instruments: not under the mixer's lock.
        s->music = LoadMusic(*s);
        if (!s->music) {
            s->unplayable = true;
            std::fprintf(stderr, "rushmora: the music cannot be played: %s\n", Mix_GetError());
            continue;
        }
        Lock lock;
        if (s->mode == Mode::Playing && !m.musicOwner) {
            Mix_VolumeMusic(::MusicVolume());
            if (Mix_PlayMusic(s->music, 0) == 0) m.musicOwner = id;
        }
    }
}

}  // namespace platform::audio

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param) {
    if (message == MCI_OPEN) return Open(flags, param);
    switch (message) {
        case MCI_CLOSE:
            return Close(device, flags, param);
        case MCI_SEEK:
            return Seek(device, flags, param);
        case MCI_PLAY:
            return Play(device, flags, param);
        case MCI_STOP:
        case MCI_PAUSE:
            return Stop(device, message, flags, param);
        case MCI_STATUS:
            return Status(device, flags, param);
        case MCI_SET:
            return Set(device, flags, param);
        default:
            return MCIERR_UNRECOGNIZED_COMMAND;
    }
}
