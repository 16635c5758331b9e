// Helpers of the sound tests: crafted WAV and MIDI files, a headless platform with the mixer in
// pulled mode, and a main window that loops music the way the game's window procedure does.
#pragma once

#include "platform/audio/audio_mixer.h"
#include "platform/mmaudio.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sound_test {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes* b, std::uint16_t v);
void Put32(Bytes* b, std::uint32_t v);

// One RIFF chunk: id, size field (the real size unless given), data and its pad byte.
Bytes Chunk(const char* id, const Bytes& data, long sizeField = -1, bool pad = true);
// A 16-byte PCM "fmt " body.
Bytes PcmFormat(int channels, int rate, int bits);
// "RIFF" <size> "WAVE" and the chunks; the size field is the real one unless given.
Bytes Riff(const std::vector<Bytes>& chunks, long sizeField = -1, const char* form = "WAVE");
// A plain PCM WAV file of the given samples (interleaved, 8-bit samples stored unsigned).
Bytes PcmWav(int channels, int rate, int bits, const std::vector<int>& samples);
// 16-bit samples as little-endian bytes.
Bytes Samples16(const std::vector<int>& samples);

// Writes bytes to a new file in the test folder and returns its path.
std::string WriteTemp(const std::string& name, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

// A Standard MIDI file of one track: `notes` quarter notes of `quarterMs` each, all at full
// velocity on a piano, then the end of the track.
Bytes MidiFile(int notes, int quarterMs);

// Frames in which the stereo output is not silent, as [first, last]; first -1 when all silent.
struct Span {
    long first = -1;
    long last = -1;
};
Span Loud(const std::vector<std::int16_t>& stereo, int threshold = 0);
// The largest absolute sample.
int Peak(const std::vector<std::int16_t>& stereo, long fromFrame = 0, long toFrame = -1);

// Headless platform, mixer pulled by the test, and a main window whose procedure records
// MM_MCINOTIFY and answers it with HandleMusicNotify, as the game's does.
class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Handles every queued message.
    void Pump();
    // Mixes frames and handles the messages posted meanwhile.
    std::vector<std::int16_t> Listen(int frames);

    HWND window = nullptr;
};

// The MM_MCINOTIFY messages the test window received (wParam, lParam), and whether it answers them
// as the game's main window does (true at the start of every test).
extern std::vector<std::pair<WPARAM, LPARAM>> notices;
extern bool loopMusic;

}  // namespace sound_test
