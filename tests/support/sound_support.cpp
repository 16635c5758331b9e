#include "support/sound_support.h"

#include "platform/runtime.h"
#include "app/game_app.h"
#include "sound/music_player.h"
#include "support/game_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sound_test {

void Put16(Bytes* b, std::uint16_t v) {
    b->push_back(std::uint8_t(v));
    b->push_back(std::uint8_t(v >> 8));
}

void Put32(Bytes* b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b->push_back(std::uint8_t(v >> (8 * i)));
}

Bytes Chunk(const char* id, const Bytes& data, long sizeField, bool pad) {
    Bytes b(id, id + 4);
    Put32(&b, sizeField >= 0 ? std::uint32_t(sizeField) : std::uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (pad && (data.size() & 1)) b.push_back(0);
    return b;
}

Bytes PcmFormat(int channels, int rate, int bits) {
    Bytes b;
    Put16(&b, 1);
    Put16(&b, std::uint16_t(channels));
    Put32(&b, std::uint32_t(rate));
    Put32(&b, std::uint32_t(rate * channels * bits / 8));
    Put16(&b, std::uint16_t(channels * bits / 8));
    Put16(&b, std::uint16_t(bits));
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks, long sizeField, const char* form) {
    Bytes body(form, form + 4);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes b = {'R', 'I', 'F', 'F'};
    Put32(&b, sizeField >= 0 ? std::uint32_t(sizeField) : std::uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

Bytes Samples16(const std::vector<int>& samples) {
    Bytes b;
    for (int s : samples) Put16(&b, std::uint16_t(std::int16_t(s)));
    return b;
}

Bytes PcmWav(int channels, int rate, int bits, const std::vector<int>& samples) {
    Bytes data;
    if (bits == 8) {
        for (int s : samples) data.push_back(std::uint8_t(s + 128));
    } else {
        data = Samples16(samples);
    }
    return Riff({Chunk("fmt ", PcmFormat(channels, rate, bits)), Chunk("data", data)});
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    const std::string path = testing_support::TempPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        ADD_FAILURE() << "cannot write " << path;
        return path;
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

Bytes ReadFile(const std::string& path) {
    Bytes b;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return b;
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

namespace {
void PutBe32(Bytes* b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b->push_back(std::uint8_t(v >> (8 * i)));
}
void PutBe16(Bytes* b, std::uint16_t v) {
    b->push_back(std::uint8_t(v >> 8));
    b->push_back(std::uint8_t(v));
}
}  // namespace

Bytes MidiFile(int notes, int quarterMs) {
    const int division = 96;
    Bytes track;
    const std::uint32_t tempo = std::uint32_t(quarterMs) * 1000;
    track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03, std::uint8_t(tempo >> 16), std::uint8_t(tempo >> 8),
                               std::uint8_t(tempo)});
    track.insert(track.end(), {0x00, 0xC0, 0x00});  // piano
    for (int i = 0; i < notes; ++i) {
        const std::uint8_t note = std::uint8_t(60 + (i % 12));
        track.insert(track.end(), {0x00, 0x90, note, 0x7F});
        // delta 96 as a variable-length number
        track.insert(track.end(), {0x60, 0x80, note, 0x00});
    }
    (void)division;
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes b = {'M', 'T', 'h', 'd'};
    PutBe32(&b, 6);
    PutBe16(&b, 0);
    PutBe16(&b, 1);
    PutBe16(&b, 96);
    b.insert(b.end(), {'M', 'T', 'r', 'k'});
    PutBe32(&b, std::uint32_t(track.size()));
    b.insert(b.end(), track.begin(), track.end());
    return b;
}

Span Loud(const std::vector<std::int16_t>& stereo, int threshold) {
    Span s;
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        if (std::abs(int(stereo[i])) > threshold) {
            const long frame = long(i / 2);
            if (s.first < 0) s.first = frame;
            s.last = frame;
        }
    }
    return s;
}

int Peak(const std::vector<std::int16_t>& stereo, long fromFrame, long toFrame) {
    const long frames = long(stereo.size() / 2);
    if (toFrame < 0 || toFrame > frames) toFrame = frames;
    int peak = 0;
    for (long f = std::max(0L, fromFrame); f < toFrame; ++f)
        peak = std::max({peak, std::abs(int(stereo[2 * f])), std::abs(int(stereo[2 * f + 1]))});
    return peak;
}

std::vector<std::pair<WPARAM, LPARAM>> notices;
bool loopMusic = true;

namespace {
LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MM_MCINOTIFY) {
        notices.push_back({wParam, lParam});
        if (loopMusic) HandleMusicNotify(wParam, lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
}  // namespace

void AudioTest::SetUp() {
    // Whatever earlier tests of the program left sounding goes first: the mixer must be shut to
    // open again in pulled mode.
    sndPlaySoundA(nullptr, 0);
    for (MCIDEVICEID id = 1; id < 8; ++id) mciSendCommandA(id, MCI_CLOSE, 0, 0);
    ASSERT_FALSE(platform::audio::IsOpen()) << "the audio device is still in use from an earlier test";
    platform::audio::SetPulled(true);
    platform::audio::UseDriver("");
    platform::RuntimeOptions o;
    o.headless = true;
    o.dataDir = testing_support::TestDataDir();
    std::string error;
    int code = 0;
    ASSERT_TRUE(platform::Start(o, &error, &code)) << error;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestWindowProc;
    wc.lpszClassName = "SoundTestWindow";
    RegisterClassExA(&wc);  // already there after the first test
    window = CreateWindowExA(0, "SoundTestWindow", "sound test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    GameApp::Get().mainWindow = window;
    notices.clear();
    loopMusic = true;
}

void AudioTest::TearDown() {
    sndPlaySoundA(nullptr, 0);
    for (MCIDEVICEID id = 1; id < 8; ++id) mciSendCommandA(id, MCI_CLOSE, 0, 0);
    EXPECT_FALSE(platform::audio::IsOpen()) << "a test left the audio device open";
    if (window) DestroyWindow(window);
    Pump();
    platform::Stop();
    GameApp::Reset();
    platform::audio::SetPulled(false);
    platform::audio::UseDriver("");
}

void AudioTest::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::vector<std::int16_t> AudioTest::Listen(int frames) {
    std::vector<std::int16_t> out;
    out.reserve(std::size_t(frames) * 2);
    // In steps of a game frame, handling messages in between as the main loop does.
    while (frames > 0) {
        const int n = std::min(frames, 706);
        std::vector<std::int16_t> part = platform::audio::Render(n);
        out.insert(out.end(), part.begin(), part.end());
        frames -= n;
        Pump();
    }
    return out;
}

}  // namespace sound_test
