// DirectSound on the mixer: buffers hold their own bytes, sound as written, restart when rewound,
// and mix with each other; the primary buffer and the device check what they are given.
#include "platform/dsound.h"
#include "platform/audio/audio_mixer.h"
#include "platform/mmaudio.h"
#include "support/game_run.h"
#include "support/sound_support.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace sound_test;

namespace {

class DirectSoundTest : public AudioTest {
  protected:
    void SetUp() override {
        AudioTest::SetUp();
        ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
        ASSERT_EQ(ds->SetCooperativeLevel(window, DSSCL_EXCLUSIVE), DS_OK);
    }
    void TearDown() override {
        for (IDirectSoundBuffer8* b : made) b->Release();
        if (ds) ds->Release();
        AudioTest::TearDown();
    }

    // A buffer holding the samples (16-bit unless bits is 8), filled through Lock and Unlock.
    IDirectSoundBuffer8* Make(int channels, int rate, int bits, const std::vector<int>& samples,
                              DWORD flags = DSBCAPS_CTRLFX | DSBCAPS_CTRLVOLUME) {
        WAVEFORMATEX f{};
        f.wFormatTag = WAVE_FORMAT_PCM;
        f.nChannels = WORD(channels);
        f.nSamplesPerSec = DWORD(rate);
        f.wBitsPerSample = WORD(bits);
        f.nBlockAlign = WORD(channels * bits / 8);
        f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
        Bytes bytes;
        if (bits == 8)
            for (int s : samples) bytes.push_back(std::uint8_t(s + 128));
        else
            bytes = Samples16(samples);
        DSBUFFERDESC d{};
        d.dwSize = sizeof d;
        d.dwFlags = flags;
        d.dwBufferBytes = DWORD(bytes.size());
        d.lpwfxFormat = &f;
        IDirectSoundBuffer* b = nullptr;
        EXPECT_EQ(ds->CreateSoundBuffer(&d, &b, nullptr), DS_OK);
        if (!b) return nullptr;
        IDirectSoundBuffer8* b8 = nullptr;
        EXPECT_EQ(b->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<LPVOID*>(&b8)), DS_OK);
        b->Release();
        void *p1, *p2;
        DWORD n1, n2;
        EXPECT_EQ(b8->Lock(0, DWORD(bytes.size()), &p1, &n1, &p2, &n2, 0), DS_OK);
        std::memcpy(p1, bytes.data(), n1);
        EXPECT_EQ(b8->Unlock(p1, n1, p2, n2), DS_OK);
        made.push_back(b8);
        return b8;
    }

    // A stereo tone of n frames at 44100 Hz: left and right samples given by functions of the frame.
    static std::vector<int> Stereo(int n, int (*left)(int), int (*right)(int)) {
        std::vector<int> s;
        for (int i = 0; i < n; ++i) {
            s.push_back(left(i));
            s.push_back(right(i));
        }
        return s;
    }

    IDirectSound8* ds = nullptr;
    std::vector<IDirectSoundBuffer8*> made;
};

int Ramp(int i) {
    return (i % 200) * 100 - 10000;
}
int Flat(int) {
    return 3000;
}
int Other(int i) {
    return 2000 - (i % 50) * 40;
}

}  // namespace

TEST_F(DirectSoundTest, BufferSoundsExactlyAsWritten) {
    const std::vector<int> s = Stereo(1000, Ramp, Other);
    IDirectSoundBuffer8* b = Make(2, 44100, 16, s);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Loud(Listen(500)).first, -1);  // nothing before Play
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> out = Listen(1200);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(out[std::size_t(i)], s[std::size_t(i)]) << "sample " << i;
    EXPECT_EQ(Peak(out, 1000), 0);  // one pass only
    DWORD status = 1;
    b->GetStatus(&status);
    EXPECT_EQ(status, 0u);
}

TEST_F(DirectSoundTest, RewindingAPlayingBufferRestartsIt) {
    IDirectSoundBuffer8* b = Make(2, 44100, 16, Stereo(1000, Ramp, Ramp));
    b->Play(0, 0, 0);
    std::vector<std::int16_t> first = Listen(300);
    b->SetCurrentPosition(0);
    b->Play(0, 0, 0);
    std::vector<std::int16_t> after = Listen(1200);
    // The second start is heard from its beginning, alone: no remainder of the first on top.
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(after[2 * std::size_t(i)], Ramp(i)) << "frame " << i;
    EXPECT_EQ(Peak(after, 1000), 0);
    (void)first;
}

TEST_F(DirectSoundTest, PlayingAPlayingBufferLetsItGoOn) {
    IDirectSoundBuffer8* b = Make(2, 44100, 16, Stereo(1000, Ramp, Ramp));
    b->Play(0, 0, 0);
    Listen(300);
    EXPECT_EQ(b->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> rest = Listen(800);
    EXPECT_EQ(rest[0], Ramp(300));
    EXPECT_EQ(Peak(rest, 700), 0);
}

// Each start the game asks for is noted by the wave file the buffer was read from (the pad rumbles
// with some), a start of a buffer that still sounds too.
TEST_F(DirectSoundTest, AStartIsKnownByTheWaveFileReadForTheBuffer) {
    const std::string file = testing_support::TempPath("kick.wav");
    { std::ofstream(file, std::ios::binary) << "RIFF"; }
    HMMIO opened = mmioOpenA(const_cast<LPSTR>(file.c_str()), nullptr, MMIO_READ);
    ASSERT_NE(opened, nullptr);
    mmioClose(opened, 0);
    IDirectSoundBuffer8* kick = Make(2, 44100, 16, Stereo(1000, Ramp, Ramp));
    (void)platform::audio::TakeSoundsStarted();
    kick->Play(0, 0, 0);
    kick->SetCurrentPosition(0);
    kick->Play(0, 0, 0);
    EXPECT_EQ(platform::audio::TakeSoundsStarted(), (std::vector<std::string>{file, file}));
    EXPECT_TRUE(platform::audio::TakeSoundsStarted().empty());
}

TEST_F(DirectSoundTest, DifferentBuffersMix) {
    IDirectSoundBuffer8* a = Make(2, 44100, 16, Stereo(600, Flat, Flat));
    IDirectSoundBuffer8* b = Make(2, 44100, 16, Stereo(600, Other, Ramp));
    a->Play(0, 0, 0);
    b->Play(0, 0, 0);
    const std::vector<std::int16_t> out = Listen(600);
    for (int i = 0; i < 600; ++i) {
        ASSERT_EQ(out[2 * std::size_t(i)], Flat(i) + Other(i)) << "frame " << i;
        ASSERT_EQ(out[2 * std::size_t(i) + 1], Flat(i) + Ramp(i)) << "frame " << i;
    }
}

TEST_F(DirectSoundTest, StartingFromAPositionSkipsTheBytesBeforeIt) {
    IDirectSoundBuffer8* b = Make(2, 44100, 16, Stereo(1000, Ramp, Ramp));
    ASSERT_EQ(b->SetCurrentPosition(400 * 4 + 2), DS_OK);  // inside a frame: taken from its start
    b->Play(0, 0, 0);
    const std::vector<std::int16_t> out = Listen(700);
    EXPECT_EQ(out[0], Ramp(400));
    EXPECT_EQ(out[2 * 599], Ramp(999));
    EXPECT_EQ(Peak(out, 600), 0);
    EXPECT_EQ(b->SetCurrentPosition(4000), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, LoopingBufferGoesOnUntilStopped) {
    IDirectSoundBuffer8* b = Make(1, 44100, 16, std::vector<int>(100, 1234));
    b->Play(0, 0, DSBPLAY_LOOPING);
    const std::vector<std::int16_t> out = Listen(1000);
    EXPECT_EQ(Loud(out).last, 999);
    DWORD status = 0;
    b->GetStatus(&status);
    EXPECT_EQ(status, DWORD(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    b->Stop();
    EXPECT_EQ(Peak(Listen(200)), 0);
}

TEST_F(DirectSoundTest, EightBitMonoAtHalfTheRateIsConverted) {
    // 22050 Hz, 8-bit unsigned, mono: twice as many frames at the mixer's rate, the same on both sides.
    std::vector<int> s;
    for (int i = 0; i < 300; ++i) s.push_back(i % 2 ? 100 : -100);
    IDirectSoundBuffer8* b = Make(1, 22050, 8, s);
    b->Play(0, 0, 0);
    const std::vector<std::int16_t> out = Listen(700);
    const Span loud = Loud(out);
    EXPECT_EQ(loud.first, 0);
    EXPECT_NEAR(loud.last, 599, 2);
    EXPECT_EQ(out[0], -100 * 256);
    EXPECT_EQ(out[1], -100 * 256);
    EXPECT_EQ(out[4], 100 * 256);  // frame 2 is source frame 1
    EXPECT_EQ(out[2], 0);          // frame 1 lies halfway between -100 and 100
}

TEST_F(DirectSoundTest, OddRatesKeepTheirLength) {
    // About 1/10 s at 11025, 16000 and 48000 Hz is about 4410 frames at the mixer's rate.
    for (int rate : {11025, 16000, 48000}) {
        const int frames = rate / 10;
        IDirectSoundBuffer8* b = Make(1, rate, 16, std::vector<int>(std::size_t(frames), 5000));
        b->Play(0, 0, 0);
        const Span loud = Loud(Listen(5000));
        EXPECT_EQ(loud.first, 0) << rate;
        EXPECT_EQ(loud.last + 1, (long(frames) * 44100 + rate - 1) / rate) << rate;
    }
}

TEST_F(DirectSoundTest, LockHandsOutTheBuffersOwnBytesAndWraps) {
    IDirectSoundBuffer8* b = Make(1, 44100, 16, std::vector<int>(8, 0));
    void *p1, *p2;
    DWORD n1, n2;
    ASSERT_EQ(b->Lock(12, 8, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    EXPECT_EQ(static_cast<BYTE*>(p1) - static_cast<BYTE*>(p2), 12);
    std::memset(p1, 0x11, n1);
    std::memset(p2, 0x22, n2);
    ASSERT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
    b->Play(0, 0, 0);
    const std::vector<std::int16_t> out = Listen(10);
    EXPECT_EQ(out[0], 0x2222);
    EXPECT_EQ(out[2], 0x2222);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[12], 0x1111);
    EXPECT_EQ(out[14], 0x1111);

    ASSERT_EQ(b->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(n1, 16u);
    char elsewhere[4];
    EXPECT_EQ(b->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Unlock(p1, 17, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Unlock(p1, 16, nullptr, 0), DS_OK);
    EXPECT_EQ(b->Unlock(p1, 16, nullptr, 0), DSERR_INVALIDPARAM);  // not locked any more
    EXPECT_EQ(b->Lock(16, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(0, 17, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(8, 12, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);  // wraps, no room
}

TEST_F(DirectSoundTest, SecondaryBuffersTakeOnlyPlayablePcm) {
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    DSBUFFERDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = DSBCAPS_CTRLFX;
    d.dwBufferBytes = 400;
    d.lpwfxFormat = &f;
    IDirectSoundBuffer* b = reinterpret_cast<IDirectSoundBuffer*>(1);
    auto create = [&] { return ds->CreateSoundBuffer(&d, &b, nullptr); };

    d.lpwfxFormat = nullptr;
    EXPECT_EQ(create(), DSERR_INVALIDPARAM);
    EXPECT_EQ(b, nullptr);
    d.lpwfxFormat = &f;
    f.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    EXPECT_EQ(create(), DSERR_BADFORMAT);
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nBlockAlign = 3;
    EXPECT_EQ(create(), DSERR_BADFORMAT);
    f.nBlockAlign = 4;
    f.nChannels = 6;
    EXPECT_EQ(create(), DSERR_BADFORMAT);
    f.nChannels = 2;
    f.nSamplesPerSec = 50;
    EXPECT_EQ(create(), DSERR_BADFORMAT);
    f.nSamplesPerSec = 44100;
    d.dwBufferBytes = 0;
    EXPECT_EQ(create(), DSERR_INVALIDPARAM);
    d.dwBufferBytes = DSBSIZE_MAX + 1;
    EXPECT_EQ(create(), DSERR_INVALIDPARAM);
    d.dwBufferBytes = 400;
    d.dwSize = 12;
    EXPECT_EQ(create(), DSERR_INVALIDPARAM);
    d.dwSize = sizeof d;
    ASSERT_EQ(create(), DS_OK);
    ASSERT_NE(b, nullptr);
    b->Release();
}

TEST_F(DirectSoundTest, PrimaryBufferTakesTheFormatOnlyAtPriorityLevel) {
    DSBUFFERDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&d, &primary, nullptr), DS_OK);
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    EXPECT_EQ(primary->SetFormat(&f), DS_OK);
    WAVEFORMATEX got{};
    DWORD size = 0;
    ASSERT_EQ(primary->GetFormat(&got, sizeof got, &size), DS_OK);
    EXPECT_EQ(got.nSamplesPerSec, 44100u);
    EXPECT_EQ(got.wBitsPerSample, 16);
    EXPECT_EQ(got.nChannels, 2);
    EXPECT_EQ(size, sizeof(WAVEFORMATEX));

    // The primary buffer is not a DirectSound 8 buffer and holds no bytes of its own.
    LPVOID b8 = reinterpret_cast<LPVOID>(1);
    EXPECT_EQ(primary->QueryInterface(IID_IDirectSoundBuffer8, &b8), DSERR_NOINTERFACE);
    EXPECT_EQ(b8, nullptr);
    void *p1, *p2;
    DWORD n1, n2;
    EXPECT_NE(primary->Lock(0, 4, &p1, &n1, &p2, &n2, 0), DS_OK);

    // A primary buffer description carries no size and no format.
    d.dwBufferBytes = 100;
    IDirectSoundBuffer* other = nullptr;
    EXPECT_EQ(ds->CreateSoundBuffer(&d, &other, nullptr), DSERR_INVALIDPARAM);
    primary->Release();

    ASSERT_EQ(ds->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    d.dwBufferBytes = 0;
    ASSERT_EQ(ds->CreateSoundBuffer(&d, &primary, nullptr), DS_OK);
    EXPECT_EQ(primary->SetFormat(&f), DSERR_PRIOLEVELNEEDED);
    primary->Release();
}

TEST_F(DirectSoundTest, CooperativeLevelNeedsAWindow) {
    EXPECT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(window, 9), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds->SetCooperativeLevel(window, DSSCL_PRIORITY), DS_OK);
}

TEST_F(DirectSoundTest, EchoIsNotFoundOnABufferWithoutOne) {
    IDirectSoundBuffer8* fx = Make(1, 44100, 16, std::vector<int>(10, 1), DSBCAPS_CTRLFX);
    IDirectSoundBuffer8* plain = Make(1, 44100, 16, std::vector<int>(10, 1), DSBCAPS_CTRLVOLUME);
    LPVOID echo = reinterpret_cast<LPVOID>(1);
    EXPECT_EQ(fx->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 0, IID_IDirectSoundFXEcho8, &echo),
              DSERR_OBJECTNOTFOUND);
    EXPECT_EQ(echo, nullptr);
    EXPECT_EQ(plain->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 0, IID_IDirectSoundFXEcho8, &echo),
              DSERR_CONTROLUNAVAIL);
}

TEST_F(DirectSoundTest, ReleasingAPlayingBufferSilencesIt) {
    IDirectSoundBuffer8* b = Make(1, 44100, 16, std::vector<int>(5000, 4000));
    b->Play(0, 0, 0);
    Listen(100);
    made.clear();
    EXPECT_EQ(b->Release(), 0u);
    EXPECT_EQ(Peak(Listen(500)), 0);
}

class DirectSoundWithoutDevice : public AudioTest {};

TEST_F(DirectSoundWithoutDevice, CreationFailsWhenThereIsNoAudioDevice) {
    platform::audio::SetPulled(false);
    platform::audio::UseDriver("no-such-driver");
    IDirectSound8* ds = reinterpret_cast<IDirectSound8*>(1);
    EXPECT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    EXPECT_FALSE(platform::audio::IsOpen());
}
