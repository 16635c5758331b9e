// A live mixer whose output device goes away plays on silently on the lost device's clock, and
// sounds again on the default output when one comes back: the music goes on in its piece, neither
// starting over nor running twice as fast.
#include "platform/audio/audio_mixer.h"
#include "support/sound_support.h"

#include <SDL.h>

using namespace sound_test;

namespace {

namespace audio = platform::audio;

class SoundDeviceLoss : public AudioTest {
  protected:
    void SetUp() override {
        AudioTest::SetUp();
        if (audio::SoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font here";
        // Live, on SDL's disk driver (into /dev/null): its devices call the mixer on their own
        // threads at the pace of real time, and there may be more than one of them.
        SDL_setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        audio::SetPulled(false);
        audio::UseDriver("disk");
        const std::string file = WriteTemp("long.mid", MidiFile(240, 250));
        MCI_OPEN_PARMS p{};
        p.lpstrDeviceType = "Sequencer";
        p.lpstrElementName = file.c_str();
        ASSERT_EQ(
            mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&p)),
            0u);
        piece = p.wDeviceID;
        ASSERT_FALSE(audio::Pulled());
        ASSERT_EQ(mciSendCommandA(piece, MCI_PLAY, 0, 0), 0u);
    }

    DWORD Position() const {
        MCI_STATUS_PARMS s{};
        s.dwItem = MCI_STATUS_POSITION;
        mciSendCommandA(piece, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&s));
        return DWORD(s.dwReturn);
    }

    // How far the piece moves on while ms pass, against the time that really passed.
    void ExpectPlaysOnAtItsPace(int ms) const {
        const DWORD from = Position();
        const Uint32 start = SDL_GetTicks();
        SDL_Delay(Uint32(ms));
        const DWORD moved = Position() - from;
        const Uint32 passed = SDL_GetTicks() - start;
        EXPECT_GT(moved, 0u) << "the music stopped";
        // One device mixing: never faster than the clock (a buffer of 512 frames at most ahead);
        // two would double it.
        EXPECT_LT(moved, passed * 3 / 2 + 50) << "more than one device is mixing";
    }

    MCIDEVICEID piece = 0;
};

}  // namespace

TEST_F(SoundDeviceLoss, TheMusicGoesOnSilentlyAndThenOnTheDeviceThatCameBack) {
    const std::uint32_t first = audio::SoundingDevice();
    ASSERT_NE(first, 0u);
    ExpectPlaysOnAtItsPace(200);

    // Another device's news changes nothing.
    audio::DeviceRemoved(first + 100);
    EXPECT_FALSE(audio::DeviceLost());

    audio::DeviceRemoved(first);
    EXPECT_TRUE(audio::DeviceLost());
    ExpectPlaysOnAtItsPace(200);

    const DWORD beforeReturn = Position();
    audio::LookForDevice(true);
    EXPECT_FALSE(audio::DeviceLost());
    const std::uint32_t second = audio::SoundingDevice();
    EXPECT_NE(second, first);
    EXPECT_GE(Position(), beforeReturn) << "the piece started over";
    ExpectPlaysOnAtItsPace(300);

    // The replacement can go and be replaced too; the first device stays out of it.
    audio::DeviceRemoved(first);
    EXPECT_FALSE(audio::DeviceLost());
    audio::DeviceRemoved(second);
    EXPECT_TRUE(audio::DeviceLost());
    audio::LookForDevice(true);
    EXPECT_FALSE(audio::DeviceLost());
    EXPECT_NE(audio::SoundingDevice(), second);
    ExpectPlaysOnAtItsPace(300);
    EXPECT_GT(Position(), beforeReturn + 500);
    // TearDown closes the piece: the mixer and every device it opened shut.
}

TEST_F(SoundDeviceLoss, WithoutNewsTheLostDeviceIsLookedForOnlyEveryFewSeconds) {
    const std::uint32_t first = audio::SoundingDevice();
    audio::DeviceRemoved(first);
    audio::LookForDevice(false);  // just lost: not yet
    EXPECT_TRUE(audio::DeviceLost());
    EXPECT_EQ(audio::SoundingDevice(), first);
}

// The pause holds the mixer: the music waits where it was (a device that comes back meanwhile stays
// silent too), and goes on from there when the pause ends.
TEST_F(SoundDeviceLoss, AHeldMixerKeepsTheMusicWhereItWasUntilLetGo) {
    ExpectPlaysOnAtItsPace(200);
    audio::Hold(true);
    EXPECT_TRUE(audio::Held());
    SDL_Delay(50);  // a callback under way when the hold came ends
    const DWORD held = Position();
    SDL_Delay(300);
    EXPECT_EQ(Position(), held) << "the music moved on while held";
    audio::DeviceRemoved(audio::SoundingDevice());
    audio::LookForDevice(true);
    SDL_Delay(200);
    EXPECT_EQ(Position(), held) << "the device that came back played while held";
    audio::Hold(false);
    EXPECT_FALSE(audio::Held());
    ExpectPlaysOnAtItsPace(300);
    EXPECT_LT(Position(), held + 1000) << "the held time was played at once";
}
