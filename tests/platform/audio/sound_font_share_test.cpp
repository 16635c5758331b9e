// The General MIDI sound font is read once: a piece's synthesizer gets the font an earlier one
// read, and sounds exactly as one that read the file itself, also beside another piece that holds
// the same font.
#include "platform/audio/audio_mixer.h"
#include "support/sound_support.h"

using namespace sound_test;

namespace {

constexpr int kSecond = platform::audio::kRate;

class SoundFontShare : public AudioTest {
  protected:
    void SetUp() override {
        AudioTest::SetUp();
        if (platform::audio::SoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font here";
        first = WriteTemp("first.mid", MidiFile(4, 250));
        second = WriteTemp("second.mid", MidiFile(6, 200));
    }
    static MCIDEVICEID Open(const std::string& file) {
        MCI_OPEN_PARMS p{};
        p.lpstrDeviceType = "Sequencer";
        p.lpstrElementName = file.c_str();
        EXPECT_EQ(
            mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&p)),
            0u);
        return p.wDeviceID;
    }
    static std::vector<std::int16_t> Play(MCIDEVICEID id, int frames) {
        EXPECT_EQ(mciSendCommandA(id, MCI_PLAY, 0, 0), 0u);
        return platform::audio::Render(frames);
    }
    static void Close(MCIDEVICEID id) { EXPECT_EQ(mciSendCommandA(id, MCI_CLOSE, 0, 0), 0u); }

    std::string first, second;
};

}  // namespace

TEST_F(SoundFontShare, APieceOpenedAgainSoundsAsTheFirstTimeWithoutReadingTheFontAgain) {
    MCIDEVICEID id = Open(first);
    const std::vector<std::int16_t> before = Play(id, kSecond / 2);
    Close(id);
    const std::uint64_t reads = platform::audio::SoundFontReads();
    id = Open(first);
    const std::vector<std::int16_t> again = Play(id, kSecond / 2);
    Close(id);
    EXPECT_EQ(platform::audio::SoundFontReads(), reads);
    EXPECT_GT(Peak(before), 1000);
    EXPECT_TRUE(before == again);
}

TEST_F(SoundFontShare, PiecesOpenAtTheSameTimeEachSoundAsAlone) {
    MCIDEVICEID id = Open(second);
    const std::vector<std::int16_t> alone = Play(id, kSecond / 2);
    Close(id);

    // The first piece holds the font while the second is opened, played and closed; then the
    // second is opened again after the first has gone.
    const MCIDEVICEID other = Open(first);
    Play(other, kSecond / 4);
    id = Open(second);
    const std::vector<std::int16_t> beside = Play(id, kSecond / 2);
    Close(id);
    Close(other);
    id = Open(second);
    const std::vector<std::int16_t> after = Play(id, kSecond / 2);
    Close(id);
    EXPECT_GT(Peak(alone), 1000);
    EXPECT_TRUE(beside == alone);
    EXPECT_TRUE(after == alone);
}
