// The system sound of the title menu (sndPlaySoundA), and the --audio-out recording of a headless run.
#include "platform/runtime.h"
#include "app/game_app.h"
#include "sound/sound_manager.h"
#include "support/sound_support.h"
#include "support/game_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace sound_test;

namespace {

class SoundSystemTest : public AudioTest {};

}  // namespace

TEST_F(SoundSystemTest, NewSystemSoundStopsThePreviousOne) {
    const std::string a = WriteTemp("sys-a.wav", PcmWav(1, 44100, 16, std::vector<int>(4000, 6000)));
    const std::string b = WriteTemp("sys-b.wav", PcmWav(1, 44100, 16, std::vector<int>(500, -2000)));
    EXPECT_TRUE(sndPlaySoundA(a.c_str(), SND_ASYNC));
    const std::vector<std::int16_t> first = Listen(1000);
    EXPECT_EQ(first[0], 6000);
    EXPECT_TRUE(sndPlaySoundA(b.c_str(), SND_ASYNC));
    const std::vector<std::int16_t> second = Listen(4000);
    EXPECT_EQ(second[0], -2000);
    EXPECT_EQ(Peak(second), 2000);  // nothing of the first is left
    EXPECT_EQ(Loud(second).last, 499);
}

TEST_F(SoundSystemTest, SystemSoundMixesWithTheEffects) {
    SoundManager* sm = SoundManager::Instance();
    sm->Init(window);
    const std::string effect = WriteTemp("fx.wav", PcmWav(1, 44100, 16, std::vector<int>(300, 1000)));
    const std::string system = WriteTemp("sys.wav", PcmWav(1, 44100, 16, std::vector<int>(300, 200)));
    sm->Play(effect.c_str());
    sndPlaySoundA(system.c_str(), SND_ASYNC);
    EXPECT_EQ(Listen(10)[0], 1200);
    sm->ReleaseBuffers();
    sm->ReleaseDevice();
}

TEST_F(SoundSystemTest, MissingOrBrokenFilePlaysNothing) {
    EXPECT_FALSE(sndPlaySoundA(testing_support::TempPath("none.wav").c_str(), SND_ASYNC));
    EXPECT_FALSE(sndPlaySoundA(WriteTemp("junk.wav", Bytes(100, 7)).c_str(), SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(Peak(Listen(1000)), 0);
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

#ifndef _WIN32
// What is no file in a sound's place (a named pipe nobody writes, a device that never ends) is
// refused at once, not read for ever.
TEST_F(SoundSystemTest, APipeOrADeviceInASoundsPlaceIsRefusedAtOnce) {
    const std::string pipe = testing_support::TempPath("sys-pipe.wav");
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(sndPlaySoundA(pipe.c_str(), SND_ASYNC));
    EXPECT_FALSE(sndPlaySoundA("/dev/zero", SND_ASYNC));
    EXPECT_EQ(Peak(Listen(1000)), 0);
    std::remove(pipe.c_str());
}
#endif

TEST_F(SoundSystemTest, NullNameStopsTheSound) {
    const std::string a = WriteTemp("sys-long.wav", PcmWav(1, 44100, 16, std::vector<int>(40000, 3000)));
    sndPlaySoundA(a.c_str(), SND_ASYNC);
    Listen(100);
    EXPECT_TRUE(sndPlaySoundA(nullptr, 0));
    EXPECT_EQ(Peak(Listen(1000)), 0);
}

TEST_F(SoundSystemTest, NoStopLeavesASoundingSoundAlone) {
    const std::string a = WriteTemp("sys-a2.wav", PcmWav(1, 44100, 16, std::vector<int>(4000, 6000)));
    const std::string b = WriteTemp("sys-b2.wav", PcmWav(1, 44100, 16, std::vector<int>(500, -2000)));
    sndPlaySoundA(a.c_str(), SND_ASYNC);
    Listen(100);
    EXPECT_FALSE(sndPlaySoundA(b.c_str(), SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(Listen(10)[0], 6000);
}

// ---- --audio-out ----

namespace {

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

TEST(SoundAudioOut, FileHoldsEachEffectFromTheFrameItWasPlayedIn) {
    const std::string out = testing_support::TempPath("run-audio.wav");
    const std::string effect =
        WriteTemp("out-effect.wav", PcmWav(1, 44100, 16, std::vector<int>(2000, 7000)));
    const std::string other = WriteTemp("out-other.wav", PcmWav(1, 22050, 16, std::vector<int>(500, -3000)));
    platform::RuntimeOptions o;
    o.headless = true;
    o.dataDir = testing_support::TestDataDir();
    o.audioOut = out;
    std::string error;
    int code = 0;
    ASSERT_TRUE(platform::Start(o, &error, &code)) << error;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainWindowProc;
    wc.lpszClassName = "SoundAudioOutWindow";
    RegisterClassExA(&wc);
    HWND window = CreateWindowExA(0, "SoundAudioOutWindow", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                  nullptr, nullptr);

    // The main loop's rhythm: frame work, the frame end, then the rest of 16 ms asleep.
    SoundManager* sm = SoundManager::Instance();
    sm->Init(window);
    for (int frame = 1; frame <= 60; ++frame) {
        platform::FrameBegin();
        if (frame == 25) sm->Play(effect.c_str());
        if (frame == 40) sm->Play(other.c_str());
        if (frame == 41) sm->Play(effect.c_str());
        platform::FrameEnd();
        Sleep(16);
    }
    sm->ReleaseBuffers();
    sm->ReleaseDevice();
    SoundManager::DestroyInstance();
    DestroyWindow(window);
    platform::Stop();
    GameApp::Reset();

    const Bytes wav = ReadFile(out);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(wav, 24), 44100u);
    EXPECT_EQ(wav[22], 2);
    EXPECT_EQ(wav[34], 16);
    const std::uint32_t bytes = Le32(wav, 40);
    EXPECT_EQ(bytes + 44, wav.size());
    EXPECT_EQ(Le32(wav, 4), bytes + 36);
    // 60 frames of 16 ms.
    EXPECT_EQ(bytes / 4, 60u * 16 * 44100 / 1000);

    std::vector<std::int16_t> samples(bytes / 2);
    std::memcpy(samples.data(), wav.data() + 44, bytes);
    const long frameStart25 = 24L * 16 * 44100 / 1000;
    const long frameStart40 = 39L * 16 * 44100 / 1000;
    const long frameStart41 = 40L * 16 * 44100 / 1000;
    EXPECT_EQ(Loud(std::vector<std::int16_t>(samples.begin(), samples.begin() + 2 * frameStart25)).first, -1);
    EXPECT_EQ(samples[2 * frameStart25], 7000);
    EXPECT_EQ(samples[2 * frameStart25 + 1], 7000);
    EXPECT_EQ(samples[2 * (frameStart25 + 1999)], 7000);
    EXPECT_EQ(samples[2 * (frameStart25 + 2000)], 0);
    EXPECT_EQ(samples[2 * frameStart40], -3000);
    EXPECT_EQ(samples[2 * frameStart41], 7000 - 3000);  // the second play of the effect mixes with the other
    EXPECT_EQ(Loud(samples).last, frameStart41 + 1999);
}

namespace {

// Runs the game headless for `frames` frames with the input script and records its sound.
Bytes RecordRun(const std::string& name, const std::string& script, int frames) {
    const std::string input = testing_support::TempPath(name + ".txt");
    std::FILE* f = std::fopen(input.c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    const std::string wav = testing_support::TempPath(name + ".wav");
    const std::string cmd = testing_support::GameProgram() + " --headless --frames " +
                            std::to_string(frames) + " --input " + input + " --audio-out " + wav +
                            testing_support::Quietly();
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return ReadFile(wav);
}

}  // namespace

TEST(SoundAudioOut, GamesRecordingHasTheMenuSoundAtTheFrameOfTheKey) {
    // Two runs of the title, the same but for a cursor move in frame 100: their recordings are alike
    // up to the start of frame 100 and differ from there on.
    const Bytes still = RecordRun("title-still", "20 RETURN\n", 150);
    const Bytes moved = RecordRun("title-moved", "20 RETURN\n100 DOWN\n", 150);
    ASSERT_EQ(still.size(), 44u + 150u * 16 * 44100 / 1000 * 4);
    ASSERT_EQ(moved.size(), still.size());
    std::size_t first = 44;
    while (first < still.size() && still[first] == moved[first]) ++first;
    ASSERT_LT(first, still.size()) << "the cursor sound is missing";
    const double frame = double((first - 44) / 4) / (16 * 44100 / 1000.0);
    EXPECT_GE(frame, 99.0);
    EXPECT_LT(frame, 99.1);  // within the first 1.6 ms of frame 100
}
