// Background music: a piece loops from its start for as long as its player lives, stopping ends it
// for good, and a missing or broken file leaves the scene silent without a word.
#include "platform/runtime.h"
#include "app/game_app.h"
#include "sound/music_player.h"
#include "support/sound_support.h"
#include "support/game_run.h"

using namespace sound_test;

namespace {

constexpr int kSecond = platform::audio::kRate;

int Count(WPARAM code) {
    int n = 0;
    for (const auto& notice : notices) n += notice.first == code;
    return n;
}

class MusicTest : public AudioTest {
  protected:
    void TearDown() override {
        player.Stop();
        platform::audio::SimulateInstrumentsComing(false);
        AudioTest::TearDown();
    }
    MusicPlayer player;
};

}  // namespace

TEST_F(MusicTest, PieceStartsWithTheOpensNotification) {
    const std::string file = WriteTemp("start.mid", MidiFile(4, 250));
    player.Play(file.c_str());
    const GameApp& app = GameApp::Get();
    EXPECT_NE(app.musicOpenParams.wDeviceID, 0u);
    EXPECT_STREQ(app.musicOpenParams.lpstrDeviceType, "Sequencer");
    EXPECT_EQ(app.musicPlayParams.dwCallback, reinterpret_cast<DWORD_PTR>(window));
    // Nothing sounds until the window has had the open's notification.
    EXPECT_EQ(Peak(platform::audio::Render(2000)), 0);
    Pump();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].first, WPARAM(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_EQ(notices[0].second, LPARAM(app.musicOpenParams.wDeviceID));
    EXPECT_GT(Peak(Listen(kSecond / 4)), 1000);
}

TEST_F(MusicTest, ShortPieceLoopsFromItsStartForAsLongAsItsPlayerLives) {
    // One second of music: four quarter notes of 250 ms.
    const std::string file = WriteTemp("loop.mid", MidiFile(4, 250));
    player.Play(file.c_str());
    Pump();
    const std::vector<std::int16_t> out = Listen(kSecond * 9 / 2);
    // A pass ends every second and the next starts right after it.
    EXPECT_EQ(Count(MCI_NOTIFY_SUCCESSFUL), 1 + 4);
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    ASSERT_EQ(mciSendCommandA(GameApp::Get().musicOpenParams.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM,
                              reinterpret_cast<DWORD_PTR>(&status)),
              0u);
    EXPECT_EQ(status.dwReturn, DWORD_PTR(MCI_MODE_PLAY));
    // Each pass sounds like the first: same loudness at the same time into the pass.
    for (int pass = 1; pass < 4; ++pass) {
        const long at = pass * kSecond;
        EXPECT_GT(Peak(out, at + 2000, at + 8000), Peak(out, 2000, 8000) / 2) << "pass " << pass;
    }
}

TEST_F(MusicTest, StoppingEndsThePieceForGood) {
    const std::string file = WriteTemp("stop.mid", MidiFile(8, 125));
    player.Play(file.c_str());
    Pump();
    Listen(kSecond / 2);
    const MCIDEVICEID id = GameApp::Get().musicOpenParams.wDeviceID;
    player.Stop();
    EXPECT_EQ(player.lastResult, 0u);
    Pump();
    EXPECT_EQ(Count(MCI_NOTIFY_ABORTED), 1);
    EXPECT_EQ(notices.back().second, LPARAM(id));
    const std::size_t before = notices.size();
    EXPECT_EQ(Peak(Listen(kSecond * 2)), 0);
    EXPECT_EQ(notices.size(), before);
    // The device is gone: a second stop finds nothing to close.
    player.Stop();
    EXPECT_EQ(player.lastResult, UINT(MCIERR_INVALID_DEVICE_ID));
}

TEST_F(MusicTest, ComingBackStartsThePieceAgainFromItsBeginning) {
    const std::string file = WriteTemp("again.mid", MidiFile(8, 250));
    player.Play(file.c_str());
    Pump();
    Listen(kSecond * 3 / 2);
    player.Stop();
    Pump();
    MusicPlayer next;
    next.Play(file.c_str());
    Pump();
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    Listen(kSecond / 10);
    mciSendCommandA(GameApp::Get().musicOpenParams.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM,
                    reinterpret_cast<DWORD_PTR>(&status));
    EXPECT_LT(status.dwReturn, DWORD_PTR(150));
    next.Stop();
}

TEST_F(MusicTest, NextSceneReplacesThePiece) {
    const std::string a = WriteTemp("a.mid", MidiFile(16, 250));
    const std::string b = WriteTemp("b.mid", MidiFile(2, 250));
    player.Play(a.c_str());
    Pump();
    Listen(kSecond / 2);
    player.Stop();
    Pump();
    notices.clear();
    MusicPlayer game;
    game.Play(b.c_str());
    Pump();
    Listen(kSecond * 12 / 5);
    // The half-second piece ends every half second; the four-second one never comes back.
    EXPECT_EQ(Count(MCI_NOTIFY_SUCCESSFUL), 1 + 4);
    EXPECT_EQ(Count(MCI_NOTIFY_ABORTED), 0);
    game.Stop();
    EXPECT_EQ(game.lastResult, 0u);
}

TEST_F(MusicTest, NotificationsOtherThanSuccessStartNothing) {
    const std::string file = WriteTemp("abort.mid", MidiFile(4, 250));
    loopMusic = false;
    player.Play(file.c_str());
    Pump();
    const MCIDEVICEID id = GameApp::Get().musicOpenParams.wDeviceID;
    for (WPARAM code :
         {WPARAM(MCI_NOTIFY_ABORTED), WPARAM(MCI_NOTIFY_SUPERSEDED), WPARAM(MCI_NOTIFY_FAILURE)})
        HandleMusicNotify(code, LPARAM(id));
    EXPECT_EQ(Peak(Listen(kSecond / 2)), 0);
    HandleMusicNotify(MCI_NOTIFY_SUCCESSFUL, LPARAM(id));
    EXPECT_GT(Peak(Listen(kSecond / 2)), 1000);
}

// The web page fetches the music's instruments after the game has started: a piece played
// before they come waits, silent and at its start, and plays from its beginning once they are there.
TEST_F(MusicTest, PieceWaitsForItsInstrumentsAndStartsFromItsBeginningWhenTheyCome) {
    platform::audio::SimulateInstrumentsComing(true);
    const std::string file = WriteTemp("waits.mid", MidiFile(4, 250));
    player.Play(file.c_str());
    Pump();
    const MCIDEVICEID id = GameApp::Get().musicOpenParams.wDeviceID;
    ASSERT_NE(id, 0u);
    const auto position = [&] {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_POSITION;
        mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status));
        return status.dwReturn;
    };
    platform::audio::StartMusicThatCame();  // still coming: nothing to start
    EXPECT_EQ(Peak(Listen(kSecond * 3 / 2)), 0);
    EXPECT_EQ(position(), 0u);
    EXPECT_EQ(Count(MCI_NOTIFY_SUCCESSFUL), 1);  // the open's, not an end of the one-second piece

    platform::audio::SimulateInstrumentsComing(false);
    platform::audio::StartMusicThatCame();
    EXPECT_GT(Peak(Listen(kSecond / 4)), 1000);
    EXPECT_LT(position(), DWORD_PTR(400));
    Listen(kSecond);
    EXPECT_EQ(Count(MCI_NOTIFY_SUCCESSFUL), 2);  // and it loops as ever
}

TEST_F(MusicTest, PieceStoppedWhileItsInstrumentsCameNeverSounds) {
    platform::audio::SimulateInstrumentsComing(true);
    const std::string file = WriteTemp("stopped.mid", MidiFile(4, 250));
    player.Play(file.c_str());
    Pump();
    player.Stop();
    Pump();
    platform::audio::SimulateInstrumentsComing(false);
    platform::audio::StartMusicThatCame();
    EXPECT_EQ(Peak(Listen(kSecond / 2)), 0);
    EXPECT_EQ(Count(MCI_NOTIFY_SUCCESSFUL), 1);
}

TEST_F(MusicTest, MissingFileIsSilentWithoutAMessage) {
    player.Play(testing_support::TempPath("no-such-piece.mid").c_str());
    Pump();
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(Peak(Listen(kSecond / 2)), 0);
    EXPECT_TRUE(platform::MessageBoxes().empty());
    EXPECT_FALSE(platform::audio::IsOpen());
}

TEST_F(MusicTest, FileThatDoesNotParseIsSilentWithoutAMessage) {
    Bytes truncated = MidiFile(4, 250);
    truncated.resize(truncated.size() - 9);
    Bytes wrongLength = MidiFile(4, 250);
    wrongLength[21] = 0x7F;  // the track claims more than the file holds
    Bytes badEvent = MidiFile(4, 250);
    badEvent[badEvent.size() - 7] = 0xF3;  // a system message inside a track
    for (const Bytes& bytes :
         {Bytes{'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'}, truncated, wrongLength, badEvent, Bytes{}}) {
        const std::string file = WriteTemp("broken.mid", bytes);
        MCI_OPEN_PARMS open{};
        open.lpstrDeviceType = "Sequencer";
        open.lpstrElementName = file.c_str();
        open.dwCallback = reinterpret_cast<DWORD_PTR>(window);
        EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT | MCI_NOTIFY,
                                  reinterpret_cast<DWORD_PTR>(&open)),
                  UINT(MCIERR_INVALID_FILE));
        player.Play(file.c_str());
    }
    Pump();
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(Peak(Listen(kSecond / 4)), 0);
    EXPECT_TRUE(platform::MessageBoxes().empty());
}

TEST_F(MusicTest, ThereIsNoCdDrive) {
    EXPECT_EQ(SetCdDoor(true, "D:"), UINT(MCIERR_CANNOT_LOAD_DRIVER));
    EXPECT_EQ(SetCdDoor(false, "D:"), UINT(MCIERR_CANNOT_LOAD_DRIVER));
}
