// The one audio output of the program: SDL2_mixer at 44100 Hz, 16 bit, stereo. The DirectSound
// device and its buffers, the MIDI sequencer and the system sounds all play through it, each buffer
// and the system sound on a mixer channel of its own, the music as the mixer's music.
//
// Two ways of running it:
// - live: SDL's audio thread mixes for a real device (SDL's "dummy" driver in headless runs);
// - pulled: nothing mixes until Render asks for samples, on the caller's thread. Headless runs with
//   --audio-out mix this way at the end of every frame, as much as the virtual clock moved on, and
//   write it to the WAV file, so the file lines up with the frames exactly. Tests use it to listen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::audio {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kBytesPerFrame = 4;  // two 16-bit samples

// Opens the mixer for one more user; false when there is no audio device to open. The first user
// opens it, the last Close shuts it.
bool Open();
// Why the last Open failed.
const std::string& OpenError();
void Close();
bool IsOpen();
// Pauses the sound device if the mixer is open, so that its thread runs no more of our code: at the
// program's exit, after the run's objects may have gone.
void HushAtExit();

// The game paused: nothing sounds and the music waits in its place until Hold(false). A pulled
// mixer (a headless run) is never held.
void Hold(bool held);
bool Held();

// While a Lock lives the mixer does not run: state that the mixing thread reads may be changed.
// Locks nest.
class Lock {
  public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// The sounds the game started, by the wave file each was read from (mmio.h: LastWaveOpened). The
// pad's rumble follows them. Taken once a frame; a run that nobody takes them from keeps at most the
// last few.
void NoteSoundStarted(const std::string& file);
std::vector<std::string> TakeSoundsStarted();

// Mixer channels, handed out one per user that needs its own (a sound buffer, the system sound).
int AcquireChannel();
void ReleaseChannel(int channel);

// Called after each stretch of mixed output with its length in frames, under the mixer's lock
// (on the audio thread when live). The sequencer follows its pieces with it.
void SetMixedHook(void (*hook)(int frames));

// Chooses pulled mixing for the next Open (must be closed now). --audio-out does this by itself.
void SetPulled(bool pulled);
bool Pulled();
// Mixes the next frames into out (2 samples a frame). Pulled mode only; silence otherwise.
void Render(std::int16_t* out, int frames);
std::vector<std::int16_t> Render(int frames);

// The SDL audio driver the next Open uses; empty: the platform's choice ("dummy" when headless).
void UseDriver(const std::string& name);

// The General MIDI sound font the music plays with (empty when none was found).
std::string SoundFont();

// What each system brings for the music, in ports/: FluidSynth with one sound font read once and
// shared by every piece's synthesizer (Linux), or the system's own MIDI synthesizer for a player and
// Timidity with the game's instruments for runs on the game's clock (Windows, the web).
// Called as the mixer opens; onGameClock: a headless, pulled or recorded run.
void PrepareMusic(bool onGameClock);
// The music's share of the mix on this system, given its share through FluidSynth.
int MusicVolume(int fluidSynthVolume);
// How many times a synthesizer has read a sound font file so far.
std::uint64_t SoundFontReads();
// Whether the music's instruments are still on their way (the web page fetches them after the game
// has started; false at once everywhere else). Meanwhile a piece that is played waits silently,
// and StartMusicThatCame, called once a frame, starts it when they have come.
bool MusicInstrumentsComing();
void StartMusicThatCame();
// For tests on Linux and Windows: the instruments on their way, as on the web page.
void SimulateInstrumentsComing(bool coming);

// The output device going and coming (SDL's hot-plug events), for a live mixer. When the device that
// sounds goes away the game plays on silently, the mixer still running on the lost device's clock;
// LookForDevice then opens the default output in its place, at once when a device was added and
// otherwise every few seconds, and the sound (the music in its piece) goes on there.
void DeviceRemoved(std::uint32_t id);
void LookForDevice(bool added);
bool DeviceLost();
// The SDL device the mixer sounds on now (0 when closed or pulled without one).
std::uint32_t SoundingDevice();

// Frames written to the --audio-out file so far.
std::uint64_t FramesWritten();

}  // namespace platform::audio
