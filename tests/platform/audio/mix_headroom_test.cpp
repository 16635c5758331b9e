// The mix of music and effects has headroom: the game's recording of the first dash of the whole-run
// replay, with the run's music playing under it, has no sample at full scale.
#include "support/sound_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/game_run.h"

using namespace sound_test;

namespace {

// Frame N of a headless run starts (N - 1) * 16 ms into its recording.
long FrameStart(long frame) {
    return (frame - 1) * 16 * 44100 / 1000;
}

double RmsDb(const std::vector<std::int16_t>& stereo, long fromFrame, long toFrame) {
    double sum = 0;
    long count = 0;
    for (long i = 2 * fromFrame; i < 2 * toFrame && i < long(stereo.size()); ++i, ++count)
        sum += double(stereo[std::size_t(i)]) * stereo[std::size_t(i)];
    if (count == 0 || sum == 0) return -200.0;
    return 20.0 * std::log10(std::sqrt(sum / double(count)) / 32768.0);
}

// The sound of the first `frames` frames of the whole-run replay.
std::vector<std::int16_t> RecordReplay(long frames) {
    const std::string wav = testing_support::TempPath("mix-headroom.wav");
    std::remove(wav.c_str());
    const std::string cmd = testing_support::GameProgram() + " --headless --seed 20261207 --frames " +
                            std::to_string(frames) + " --input " + RUSHMORA_TEST_DIR +
                            "/replays/whole_run.txt --audio-out " + wav + testing_support::Quietly();
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const Bytes bytes = ReadFile(wav);
    std::vector<std::int16_t> samples;
    if (bytes.size() <= 44) return samples;
    samples.resize((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    return samples;
}

}  // namespace

TEST(SoundMix, FirstDashOverTheRunMusicStaysBelowFullScale) {
    // The replay starts the run in frame 98; the first dash (its start and its first stride together)
    // is in frame 303, and kicks follow from frame 308.
    const long frames = 340;
    const std::vector<std::int16_t> out = RecordReplay(frames);
    ASSERT_EQ(long(out.size()), 2 * FrameStart(frames + 1));

    // Before the dash the music plays alone, and loud enough to be heard under the effects.
    const double music = RmsDb(out, FrameStart(200), FrameStart(298));
    EXPECT_GT(music, -32.0);
    // The dash stands clearly above it.
    EXPECT_GT(RmsDb(out, FrameStart(303), FrameStart(311)), music + 6.0);

    int atFullScale = 0;
    for (std::int16_t s : out) atFullScale += (s >= 32767 || s <= -32767);
    EXPECT_EQ(atFullScale, 0) << "peak " << Peak(out);
}
