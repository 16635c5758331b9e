// The sound manager as the game uses it: effects load on their first play and are kept by name, a
// replay restarts the one buffer, different effects mix, and bad files end in one message each.
#include "platform/runtime.h"
#include "sound/sound_manager.h"
#include "support/sound_support.h"
#include "support/game_run.h"

#include <algorithm>

using namespace sound_test;

namespace {

const char* const kBufferFailed = "セカンダリバッファの作成に失敗しました";

class SoundManagerTest : public AudioTest {
  protected:
    void SetUp() override {
        AudioTest::SetUp();
        sm = SoundManager::Instance();
        ASSERT_EQ(sm->Init(window), 1);
    }
    void TearDown() override {
        SoundManager::Instance()->ReleaseBuffers();
        SoundManager::Instance()->ReleaseDevice();
        SoundManager::DestroyInstance();
        AudioTest::TearDown();
    }

    static int Boxes(const std::string& text) {
        int n = 0;
        for (const auto& b : platform::MessageBoxes()) n += b.text == text;
        return n;
    }

    SoundManager* sm = nullptr;
};

std::vector<int> Tone(int frames, int level) {
    std::vector<int> s;
    for (int i = 0; i < frames; ++i) s.push_back(i % 2 ? level : -level);
    return s;
}

}  // namespace

TEST_F(SoundManagerTest, InitOpensTheDeviceWithTheStereoCdFormatPrimary) {
    ASSERT_NE(sm->device, nullptr);
    ASSERT_NE(sm->primary, nullptr);
    WAVEFORMATEX f{};
    ASSERT_EQ(sm->primary->GetFormat(&f, sizeof f, nullptr), DS_OK);
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.nChannels, 2);
    EXPECT_EQ(f.nSamplesPerSec, 44100u);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.nBlockAlign, 4);
    EXPECT_EQ(f.nAvgBytesPerSec, 176400u);
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

TEST_F(SoundManagerTest, PlayingOneEffectTwiceInARowSoundsOnce) {
    const std::string file = WriteTemp("twice.wav", PcmWav(1, 44100, 16, Tone(2000, 5000)));
    sm->Play(file.c_str());
    Listen(300);
    sm->Play(file.c_str());
    const std::vector<std::int16_t> out = Listen(2600);
    // Restarted from its first sample and never louder than one copy.
    EXPECT_EQ(out[0], -5000);
    EXPECT_EQ(Peak(out), 5000);
    EXPECT_EQ(Loud(out).last, 1999);
    EXPECT_EQ(sm->buffers.size(), 1u);
}

TEST_F(SoundManagerTest, TwoDifferentEffectsMix) {
    const std::string a = WriteTemp("a.wav", PcmWav(1, 44100, 16, std::vector<int>(1000, 3000)));
    const std::string b = WriteTemp("b.wav", PcmWav(2, 22050, 8, Tone(400, 20)));
    sm->Play(a.c_str());
    sm->Play(b.c_str());
    const std::vector<std::int16_t> out = Listen(1000);
    EXPECT_EQ(out[0], 3000 - 20 * 256);  // left
    EXPECT_EQ(out[1], 3000 + 20 * 256);  // right
    EXPECT_EQ(out[2 * 900], 3000);       // the short one is over by then
    EXPECT_EQ(sm->buffers.size(), 2u);
}

TEST_F(SoundManagerTest, EffectIsReadOnceAndKeptUnderItsName) {
    const std::string file = WriteTemp("kept.wav", PcmWav(1, 44100, 16, std::vector<int>(100, 1000)));
    IDirectSoundBuffer8* first = sm->GetBuffer(file.c_str());
    ASSERT_NE(first, nullptr);
    // Changing the file afterwards changes nothing: the buffer made from it is what plays.
    WriteTemp("kept.wav", PcmWav(1, 44100, 16, std::vector<int>(100, 7)));
    EXPECT_EQ(sm->GetBuffer(file.c_str()), first);
    sm->Play(file.c_str());
    EXPECT_EQ(Listen(10)[0], 1000);
}

TEST_F(SoundManagerTest, NullNameGivesNoBuffer) {
    EXPECT_EQ(sm->GetBuffer(nullptr), nullptr);
    EXPECT_TRUE(sm->buffers.empty());
}

TEST_F(SoundManagerTest, TwoSpellingsOfOnePathAreTwoBuffers) {
    const std::string file = WriteTemp("spelled.wav", PcmWav(1, 44100, 16, std::vector<int>(10, 1)));
    std::string other = file;
    other.insert(other.rfind('/'), "/.");  // the same file, spelled another way
    IDirectSoundBuffer8* a = sm->GetBuffer(file.c_str());
    IDirectSoundBuffer8* b = sm->GetBuffer(other.c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(sm->buffers.size(), 2u);
}

TEST_F(SoundManagerTest, ReleasingNoBuffersDoesNothing) {
    EXPECT_EQ(sm->ReleaseBuffers(), 0);
    const std::string file = WriteTemp("released.wav", PcmWav(1, 44100, 16, std::vector<int>(10, 1)));
    sm->Play(file.c_str());
    EXPECT_EQ(sm->ReleaseBuffers(), 0);
    EXPECT_TRUE(sm->buffers.empty());
}

TEST_F(SoundManagerTest, EchoCannotBeSetOnTheManagersBuffers) {
    const std::string file = WriteTemp("echo.wav", PcmWav(1, 44100, 16, std::vector<int>(10, 1)));
    EXPECT_FALSE(sm->SetEcho(sm->GetBuffer(file.c_str())));
}

TEST_F(SoundManagerTest, AfterReleasingTheDeviceANewManagerHasNone) {
    sm->ReleaseBuffers();
    EXPECT_EQ(sm->ReleaseDevice(), 1);
    SoundManager* fresh = SoundManager::Instance();
    EXPECT_EQ(fresh->device, nullptr);
    EXPECT_EQ(fresh->primary, nullptr);
    EXPECT_TRUE(fresh->buffers.empty());
    SoundManager::DestroyInstance();
    SoundManager::DestroyInstance();  // nothing left: nothing happens
}

TEST_F(SoundManagerTest, BadFilesAreReportedOnceEachAndStaySilent) {
    const std::vector<std::pair<std::string, Bytes>> bad = {
        {"missing.wav", {}},
        {"not-riff.wav", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6}},
        {"fmt14.wav", Riff({Chunk("fmt ", Bytes(14, 1)), Chunk("data", Bytes(8, 1))})},
        {"no-data.wav", Riff({Chunk("fmt ", PcmFormat(1, 44100, 16))})},
        {"empty-data.wav", Riff({Chunk("fmt ", PcmFormat(1, 44100, 16)), Chunk("data", {})})},
        {"float.wav",
         [] {
             Bytes fmt = PcmFormat(1, 44100, 32);
             fmt[0] = 3;
             Put16(&fmt, 2);
             fmt.push_back(0);
             fmt.push_back(0);
             return Riff({Chunk("fmt ", fmt), Chunk("data", Bytes(16, 0x40))});
         }()},
        {"bad-align.wav",
         [] {
             Bytes fmt = PcmFormat(2, 44100, 16);
             fmt[12] = 7;
             return Riff({Chunk("fmt ", fmt), Chunk("data", Bytes(16, 0x40))});
         }()},
    };
    for (const auto& [name, bytes] : bad) {
        const std::string path =
            name == "missing.wav" ? testing_support::TempPath(name) : WriteTemp(name, bytes);
        const std::size_t before = platform::MessageBoxes().size();
        sm->Play(path.c_str());
        sm->Play(path.c_str());
        ASSERT_EQ(platform::MessageBoxes().size(), before + 1) << name;
        const auto& box = platform::MessageBoxes().back();
        EXPECT_EQ(box.text, kBufferFailed) << name;
        EXPECT_EQ(box.caption, "ERROR") << name;
        ASSERT_EQ(sm->buffers.count(path), 1u) << name;
        EXPECT_EQ(sm->buffers[path], nullptr) << name;
    }
    EXPECT_EQ(Peak(Listen(2000)), 0);
}

TEST_F(SoundManagerTest, DataBeyondTheEndOfTheFilePlaysWhatThereIsThenSilence) {
    Bytes data = Samples16(std::vector<int>(100, 2500));
    const std::string path = WriteTemp(
        "long-claim.wav", Riff({Chunk("fmt ", PcmFormat(1, 44100, 16)), Chunk("data", data, 4000, false)}));
    sm->Play(path.c_str());
    const std::vector<std::int16_t> out = Listen(2500);
    EXPECT_TRUE(platform::MessageBoxes().empty());
    EXPECT_EQ(Loud(out).first, 0);
    EXPECT_EQ(Loud(out).last, 99);
}

TEST_F(SoundManagerTest, EveryEffectOfTheGameLoads) {
    const std::string se = std::string(RUSHMORA_SOURCE_DATA_DIR) + "/SE/";
    for (const char* name : {"entry.wav", "cursor_move.wav", "蹴る(強).wav", "crash.wav",
                             "se_asioto_isi01.wav", "eva.wav", "dash1.wav", "dash2.wav"}) {
        const std::string path = se + name;
        IDirectSoundBuffer8* b = sm->GetBuffer(path.c_str());
        EXPECT_NE(b, nullptr) << name;
        sm->Play(path.c_str());
        EXPECT_GT(Peak(Listen(4410)), 0) << name;
    }
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

class SoundManagerWithoutDevice : public AudioTest {};

TEST_F(SoundManagerWithoutDevice, GameGoesOnSilentAfterOneMessage) {
    platform::audio::SetPulled(false);
    platform::audio::UseDriver("no-such-driver");
    SoundManager* sm = SoundManager::Instance();
    EXPECT_EQ(sm->Init(window), 1);
    EXPECT_EQ(sm->device, nullptr);
    EXPECT_EQ(sm->primary, nullptr);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "サウンドデバイスの作成に失敗しました");
    EXPECT_EQ(platform::MessageBoxes()[0].caption, "ERROR");

    const std::string file = WriteTemp("silent.wav", PcmWav(1, 44100, 16, std::vector<int>(10, 1)));
    sm->Play(file.c_str());
    sm->Play(file.c_str());
    EXPECT_EQ(sm->GetBuffer(file.c_str()), nullptr);
    EXPECT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(sm->ReleaseBuffers(), 0);
    EXPECT_EQ(sm->ReleaseDevice(), 1);
    SoundManager::DestroyInstance();
    EXPECT_FALSE(platform::audio::IsOpen());
}
