#include "platform/audio/audio_mixer.h"
#include "platform/common/owner.h"
#include "platform/audio/audio_device.h"
#include "platform/files/file_handle.h"
#include "platform/settings/settings.h"
#include "platform/replay/virtual_time.h"

#include "platform/mmsystem.h"
#include "platform/runtime.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::audio {
namespace {

// The --audio-out file: a plain 16-bit stereo WAV whose sizes are brought up to date after every
// stretch, so that it is complete whenever the program ends. A file that cannot be written is said
// once and ends the run with status 1; the writer goes on counting the sound it would have written,
// so that the run itself plays on as it would have.
class WavWriter {
  public:
    ~WavWriter() { Finish(); }

    bool IsOpen() const { return file_ != nullptr || failed_; }

    bool Open(const std::string& path) {
        Finish();
        path_ = path;
        dataBytes_ = 0;
        std::string why;
        file_ = files::OpenOutputFile(path, &why);
        if (!file_) {
            OutputFailed("cannot write the audio output " + path + ": " + why);
            return false;
        }
        WriteHeader();
        if (!failed_ && std::fflush(file_.get()) != 0) Fail();
        if (!finishAtRunEnd_) {
            finishAtRunEnd_ = true;
            AddRunEndHook([this] {
                finishAtRunEnd_ = false;
                Finish();
            });
        }
        return true;
    }

    const std::string& Path() const { return path_; }

    void AppendSilence(std::uint64_t frames) {
        static const std::uint8_t zeros[4096] = {};
        std::uint64_t bytes = frames * kBytesPerFrame;
        while (bytes > 0) {
            const std::size_t n = std::size_t(std::min<std::uint64_t>(bytes, sizeof zeros));
            Append(zeros, n);
            bytes -= n;
        }
    }

    void Append(const std::uint8_t* bytes, std::size_t count) {
        if (!IsOpen()) return;
        // A WAV file counts its bytes in 32 bits; a run that long just stops growing the file.
        const std::uint64_t room = 0xFFFFFFF0u - 36u - dataBytes_;
        if (count > room) count = std::size_t(room);
        if (count == 0) return;
        dataBytes_ += std::uint32_t(count);
        if (failed_) return;
        if (std::fwrite(bytes, 1, count, file_.get()) != count) return Fail();
        WriteHeader();
        if (!failed_ && (std::fseek(file_.get(), 0, SEEK_END) != 0 || std::fflush(file_.get()) != 0)) Fail();
    }

    std::uint64_t Frames() const { return dataBytes_ / kBytesPerFrame; }

    void Finish() {
        // Closing may be where the last of the file fails to go out: that counts too.
        if (file_ && std::fclose(file_.release()) != 0 && !failed_) OutputFailed(Failure());
        failed_ = false;
    }

  private:
    static void Put32(std::uint8_t* p, std::uint32_t v) {
        p[0] = std::uint8_t(v);
        p[1] = std::uint8_t(v >> 8);
        p[2] = std::uint8_t(v >> 16);
        p[3] = std::uint8_t(v >> 24);
    }
    static void Put16(std::uint8_t* p, std::uint16_t v) {
        p[0] = std::uint8_t(v);
        p[1] = std::uint8_t(v >> 8);
    }

    std::string Failure() const {
        return "cannot write the audio output " + path_ + ": " + std::strerror(errno);
    }

    // Says what went wrong, once, and lets go of the file.
    void Fail() {
        OutputFailed(Failure());
        file_.reset();
        failed_ = true;
    }

    void WriteHeader() {
        std::uint8_t h[44];
        std::memcpy(h, "RIFF", 4);
        Put32(h + 4, 36 + dataBytes_);
        std::memcpy(h + 8, "WAVEfmt ", 8);
        Put32(h + 16, 16);
        Put16(h + 20, 1);
        Put16(h + 22, kChannels);
        Put32(h + 24, kRate);
        Put32(h + 28, kRate * kBytesPerFrame);
        Put16(h + 32, kBytesPerFrame);
        Put16(h + 34, 16);
        std::memcpy(h + 36, "data", 4);
        Put32(h + 40, dataBytes_);
        if (std::fseek(file_.get(), 0, SEEK_SET) != 0 || std::fwrite(h, 1, sizeof h, file_.get()) != sizeof h)
            Fail();
    }

    files::FilePtr file_;
    std::string path_;
    std::uint32_t dataBytes_ = 0;
    bool failed_ = false;          // the file could not be written: counting goes on, writing does not
    bool finishAtRunEnd_ = false;  // the run's end closes the file (and says if that fails)
};

struct Mixer {
    int users = 0;
    bool pulled = false;      // how the mixer runs now
    bool wantPulled = false;  // asked for by SetPulled
    bool opening = false;     // Mix_OpenAudioDevice is on its way to SDL_OpenAudioDevice
    std::string driver;
    SDL_AudioDeviceID device = 0;     // the device SDL_mixer opened (and locks)
    SDL_AudioCallback mix = nullptr;  // SDL_mixer's own mixing function
    void* mixData = nullptr;
    // Playing live, a device that goes away is replaced by a new one on the default output. The
    // mixer keeps the device it opened (its lock stays the mixer's lock); the one that sounds is
    // named by a tag that each device's callback compares with its own.
    SDL_AudioSpec liveSpec{};                    // the format SDL_mixer mixes in
    SDL_AudioDeviceID replacement = 0;           // the device that sounds in place of the first one
    std::atomic<std::uintptr_t> soundingTag{0};  // 1: the first device; then each replacement's
    std::uintptr_t lastTag = 1;
    bool lost = false;   // the device that sounds went away
    Uint32 lastTry = 0;  // when a lost device was last looked for
    std::vector<bool> channels;
    void (*mixedHook)(int) = nullptr;
    WavWriter writer;
    int generation = 0;
    DWORD recordStart = 0;  // the virtual time the recording's first frame stands for
    long lastHookFrame = 0;
    std::string soundFont;
    bool soundFontChosen = false;
    std::string openError;  // why the device did not open, the last time it did not
    bool held = false;      // the game is paused: the devices mix nothing, the music waits
    bool musicWasPaused = false;
    std::vector<std::string> started;  // sounds started since they were last taken
};

// How often a lost device is looked for when no device announced itself.
constexpr Uint32 kDeviceRetryMs = 3000;

// The program's: the sound device's thread mixes with it until the device is closed or hushed at
// exit (HushAtExit), whatever was destroyed before.
Mixer& TheMixer() {
    return owner::Part<Mixer>(owner::Life::Program);
}

void SilentDevice(void*, Uint8* stream, int len) {
    std::memset(stream, 0, std::size_t(len));
}

// Every live device's callback. Only the device that sounds mixes; while that is a replacement, it
// mixes under the first device's lock, which is the one SDL_mixer and Lock take. A device that went
// away is still called on its own clock and goes on mixing into nothing until one comes back, so the
// music carries on in its piece.
void LiveDevice(void* tag, Uint8* stream, int len) {
    Mixer& m = TheMixer();
    const std::uintptr_t own = reinterpret_cast<std::uintptr_t>(tag);
    if (own != m.soundingTag.load() || !m.mix) {
        std::memset(stream, m.liveSpec.silence, std::size_t(len));
        return;
    }
    if (own == 1) return m.mix(m.mixData, stream, len);
    SDL_LockAudioDevice(m.device);
    m.mix(m.mixData, stream, len);
    SDL_UnlockAudioDevice(m.device);
}

void PostMix(void*, Uint8* stream, int len) {
    Mixer& m = TheMixer();
    if (m.mixedHook) m.mixedHook(len / kBytesPerFrame);
    if (m.writer.IsOpen()) m.writer.Append(stream, std::size_t(len));
}

std::uint64_t FramesDue(DWORD now) {
    return std::uint64_t(DWORD(now - TheMixer().recordStart)) * kRate / 1000;
}

// Headless runs with --audio-out, at the end of every frame: the frame's sound goes to the file.
// Whatever was started during the frame begins with it; the frame lasts the 16 ms the main loop is
// about to sleep, and any time the frame's work took.
void RecordFrame(int generation) {
    Mixer& m = TheMixer();
    if (generation != m.generation || m.users == 0 || !m.pulled || !m.writer.IsOpen()) return;
    m.lastHookFrame = CurrentFrame();
    const std::uint64_t due = FramesDue(timeGetTime() + 16);
    std::vector<std::int16_t> block;
    while (m.writer.Frames() < due) {
        const int n = int(std::min<std::uint64_t>(due - m.writer.Frames(), 4096));
        block.resize(std::size_t(n) * kChannels);
        Render(block.data(), n);
    }
}

}  // namespace

const std::string& OpenError() {
    return TheMixer().openError;
}

bool Open() {
    Mixer& m = TheMixer();
    if (m.users > 0) {
        ++m.users;
        return true;
    }
    const RuntimeOptions& options = Options();
    const bool toFile = !options.audioOut.empty();
    const bool headless = Headless();
    const bool pulled = m.wantPulled || (headless && toFile);

    long opening = 0;
    if (!replay::SoundOpeningAllowed(&opening)) {
        TheMixer().openError = "the recorded run had no sound device here";
        replay::SoundOpeningFailed(opening);
        return false;
    }
    std::string driver = m.driver;
    if (driver.empty() && (headless || pulled)) driver = "dummy";
    if (!driver.empty())
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
    else
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        TheMixer().openError = SDL_GetError();
        replay::SoundOpeningFailed(opening);
        return false;
    }

    Mix_Init(MIX_INIT_MID);
    const std::string font = SoundFont();
    if (!font.empty()) Mix_SetSoundFonts(font.c_str());
    PrepareMusic(headless || pulled || toFile);
    TakeOverDeviceOpens();

    m.pulled = pulled;
    m.mix = nullptr;
    m.device = 0;
    m.opening = true;
    const int chunk = 512;
    const int rc = Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, kChannels, chunk, nullptr, 0);
    m.opening = false;
    if (rc != 0 || (pulled && !m.mix)) {
        TheMixer().openError = rc != 0 ? Mix_GetError() : "the mixer did not open its output";
        if (rc == 0) Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m.device = 0;
        replay::SoundOpeningFailed(opening);
        return false;
    }
    m.users = 1;
    ++m.generation;
    // A program that ends without closing the mixer (without platform::Stop) has its device hushed
    // before the program's objects go, so that no sound thread runs through them as they do.
    static const bool hushAtExit = std::atexit(HushAtExit) == 0;
    (void)hushAtExit;
    m.channels.clear();
    Mix_AllocateChannels(0);
    Mix_SetPostMix(PostMix, nullptr);
    // The player's effects volume (the music's is the sequencer's).
    Mix_MasterVolume(MIX_MAX_VOLUME * settings::CurrentSettings().effectsVolume / 100);

    if (toFile && pulled) {
        const DWORD now = timeGetTime();
        const bool sameRun =
            m.writer.IsOpen() && m.writer.Path() == options.audioOut && CurrentFrame() >= m.lastHookFrame;
        if (sameRun) {
            // Opened again in the same run: the time the mixer was shut passes in silence.
            const std::uint64_t due = FramesDue(now);
            if (due > m.writer.Frames()) m.writer.AppendSilence(due - m.writer.Frames());
        } else if (m.writer.Open(options.audioOut)) {  // a file that cannot be opened is said there
            m.recordStart = now;
            m.lastHookFrame = CurrentFrame();
        }
        const int generation = m.generation;
        AddFrameEndHook([generation] { RecordFrame(generation); });
    } else if (toFile && !m.writer.IsOpen()) {
        m.writer.Open(options.audioOut);
    }
    return true;
}

void Close() {
    Mixer& m = TheMixer();
    if (m.users == 0) return;
    if (--m.users > 0) return;
    // Not under the mixer's lock: the replacement's thread may be waiting for it.
    if (m.replacement) SDL_CloseAudioDevice(m.replacement);
    m.replacement = 0;
    m.soundingTag = 0;
    m.lost = false;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m.device = 0;
    m.mix = nullptr;
    m.mixData = nullptr;
    m.channels.clear();
    ++m.generation;
}

bool IsOpen() {
    return TheMixer().users > 0;
}

void HushAtExit() {
    Mixer& m = TheMixer();
    if (m.users == 0) return;
    // A pause waits for a callback under way to end, and no other begins.
    if (m.replacement) SDL_PauseAudioDevice(m.replacement, 1);
    if (m.device) SDL_PauseAudioDevice(m.device, 1);
}

void Hold(bool held) {
    Mixer& m = TheMixer();
    if (held == m.held) return;
    m.held = held;
    if (m.users == 0 || m.pulled) return;
    // The music stops where it is (a system synthesizer's too) and the devices mix nothing, so every
    // effect waits in its place.
    if (held) {
        m.musicWasPaused = Mix_PausedMusic() != 0;
        Mix_PauseMusic();
    }
    const int pause = held ? 1 : 0;
    if (m.device) SDL_PauseAudioDevice(m.device, pause);
    if (m.replacement) SDL_PauseAudioDevice(m.replacement, pause);
    if (!held && !m.musicWasPaused) Mix_ResumeMusic();
}

bool Held() {
    return TheMixer().held;
}

Lock::Lock() {
    if (TheMixer().device) SDL_LockAudioDevice(TheMixer().device);
}

Lock::~Lock() {
    if (TheMixer().device) SDL_UnlockAudioDevice(TheMixer().device);
}

int AcquireChannel() {
    Mixer& m = TheMixer();
    Lock lock;
    auto it = std::find(m.channels.begin(), m.channels.end(), false);
    int channel = int(it - m.channels.begin());
    if (it == m.channels.end()) {
        m.channels.push_back(true);
        if (m.users > 0) Mix_AllocateChannels(int(m.channels.size()));
    } else {
        *it = true;
    }
    return channel;
}

void ReleaseChannel(int channel) {
    Mixer& m = TheMixer();
    if (channel < 0 || channel >= int(m.channels.size())) return;
    Lock lock;
    if (m.users > 0) Mix_HaltChannel(channel);
    m.channels[std::size_t(channel)] = false;
}

void SetMixedHook(void (*hook)(int frames)) {
    Lock lock;
    TheMixer().mixedHook = hook;
}

void SetPulled(bool pulled) {
    TheMixer().wantPulled = pulled;
}
bool Pulled() {
    return TheMixer().users > 0 && TheMixer().pulled;
}

void Render(std::int16_t* out, int frames) {
    if (frames <= 0) return;
    std::memset(out, 0, std::size_t(frames) * kBytesPerFrame);
    Mixer& m = TheMixer();
    if (m.users == 0 || !m.pulled || !m.mix) return;
    Lock lock;
    m.mix(m.mixData, reinterpret_cast<Uint8*>(out), frames * kBytesPerFrame);
}

std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(std::size_t(std::max(frames, 0)) * kChannels);
    Render(out.data(), frames);
    return out;
}

void UseDriver(const std::string& name) {
    TheMixer().driver = name;
}

std::string SoundFont() {
    Mixer& m = TheMixer();
    if (m.soundFontChosen) return m.soundFont;
    m.soundFontChosen = true;
    if (const char* env = SDL_getenv("SDL_SOUNDFONTS"); env && *env) {
        m.soundFont = env;
        return m.soundFont;
    }
#ifdef __linux__
    // The small General MIDI font first: each piece the sequencer opens loads it anew. (Windows and
    // the browser play the music through Timidity or the system's MIDI: no sound font.)
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
                             "/usr/share/sounds/sf3/default-GM.sf3"}) {
        if (files::IsRegularFile(path)) {
            m.soundFont = path;
            break;
        }
    }
#endif
    return m.soundFont;
}

void DeviceRemoved(std::uint32_t id) {
    Mixer& m = TheMixer();
    if (m.users == 0 || m.pulled || m.lost || !m.soundingTag.load()) return;
    if (id != (m.replacement ? m.replacement : m.device)) return;
    m.lost = true;
    m.lastTry = SDL_GetTicks();
    std::fprintf(stderr,
                 "rushmora: the sound device went away; the game plays on silently until one comes back\n");
}

bool DeviceLost() {
    return TheMixer().lost;
}

void LookForDevice(bool added) {
    Mixer& m = TheMixer();
    if (m.users == 0 || m.pulled || !m.lost) return;
    const Uint32 now = SDL_GetTicks();
    if (!added && now - m.lastTry < kDeviceRetryMs) return;
    m.lastTry = now;
    const std::uintptr_t tag = m.lastTag + 1;
    SDL_AudioSpec want = m.liveSpec;
    want.callback = LiveDevice;
    want.userdata = reinterpret_cast<void*>(tag);
    SDL_AudioSpec got;
    // The default output, in the very format the mixer mixes in (SDL converts if it must).
    const SDL_AudioDeviceID fresh = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
    if (!fresh) return;
    const SDL_AudioDeviceID old = m.replacement;
    m.lastTag = tag;
    m.replacement = fresh;
    m.lost = false;
    m.soundingTag = tag;
    if (!m.held) SDL_PauseAudioDevice(fresh, 0);
    // The lost replacement's thread may be mixing now: closing it waits for that, under no lock.
    if (old) SDL_CloseAudioDevice(old);
    std::fprintf(stderr, "rushmora: a sound device is back; the game's sound plays on it\n");
}

std::uint32_t SoundingDevice() {
    const Mixer& m = TheMixer();
    if (m.users == 0 || !m.soundingTag.load()) return 0;
    return m.replacement ? m.replacement : m.device;
}

std::uint64_t FramesWritten() {
    return TheMixer().writer.Frames();
}

}  // namespace platform::audio

// SDL_mixer mixes only inside the callback of the SDL audio device it opens. To mix on our own
// clock we take that open over while the mixer is being opened in pulled mode: the device SDL
// runs gets a silent callback of ours, and SDL_mixer's callback is kept for Render to call. Every
// other open goes to SDL unchanged.
namespace platform::audio {
namespace {

// Past the numbers SDL gives its devices, so that SDL takes it for none of them.
[[maybe_unused]] constexpr SDL_AudioDeviceID kDevicelessId = 0x7fff;

}  // namespace

SDL_AudioDeviceID OpenDevice(OpenFn real, const char* device, int iscapture, const SDL_AudioSpec* desired,
                             SDL_AudioSpec* obtained, int allowedChanges) {
    if (!real) {
        SDL_SetError("SDL_OpenAudioDevice is not available");
        return 0;
    }
    Mixer& m = TheMixer();
    if (!m.opening || iscapture || !desired)
        return real(device, iscapture, desired, obtained, allowedChanges);
#ifdef __EMSCRIPTEN__
    // Under node there is no audio device, and the browser build's SDL has no threads for the silent
    // one: a headless run's mixer gets a device number SDL does not know (its calls on it do nothing)
    // and mixes only when it is pulled, on the game's clock.
    const bool deviceless = Headless();
#else
    const bool deviceless = false;
#endif
    if (!m.pulled && !deviceless) {
        // Live: the device calls LiveDevice, which hands its buffers to SDL_mixer's callback.
        SDL_AudioSpec live = *desired;
        live.callback = LiveDevice;
        live.userdata = reinterpret_cast<void*>(std::uintptr_t(1));
        SDL_AudioSpec got = live;
        m.mix = desired->callback;
        m.mixData = desired->userdata;
        m.lastTag = 1;
        m.soundingTag = 1;
        m.replacement = 0;
        m.lost = false;
        m.device = real(device, iscapture, &live, &got, allowedChanges);
        if (!m.device) return 0;
        m.liveSpec = got;
        if (obtained) {
            *obtained = got;
            obtained->callback = desired->callback;
            obtained->userdata = desired->userdata;
        }
        return m.device;
    }
    SDL_AudioSpec silent = *desired;
    silent.callback = SilentDevice;
    silent.userdata = nullptr;
    SDL_AudioSpec got = silent;
    m.device = deviceless ? kDevicelessId : real(device, iscapture, &silent, &got, 0);
    if (!m.device) return 0;
    if (m.pulled) {
        m.mix = desired->callback;
        m.mixData = desired->userdata;
    }
    // The mixer gets exactly the format it asked for: Render hands it our buffers, not the device's.
    if (obtained) {
        *obtained = got;
        obtained->freq = desired->freq;
        obtained->format = desired->format;
        obtained->channels = desired->channels;
        obtained->samples = desired->samples;
        obtained->size =
            Uint32(desired->samples) * desired->channels * (SDL_AUDIO_BITSIZE(desired->format) / 8);
        obtained->callback = desired->callback;
        obtained->userdata = desired->userdata;
    }
    return m.device;
}

void NoteSoundStarted(const std::string& file) {
    if (file.empty()) return;
    Mixer& m = TheMixer();
    constexpr std::size_t kKept = 16;
    if (m.started.size() >= kKept) m.started.erase(m.started.begin());
    m.started.push_back(file);
}

std::vector<std::string> TakeSoundsStarted() {
    return std::exchange(TheMixer().started, {});
}

}  // namespace platform::audio
