// Recorded runs: the script lines the recorder makes of what the game saw, read back frame by frame.
#include "platform/replay/recording.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Frame {
    platform::replay::SeenFrame seen;
    std::uint32_t timer = 0;
};

void Hold(platform::replay::SeenFrame* seen, int vk) {
    seen->keys[std::size_t(vk) / 64] |= std::uint64_t(1) << (vk % 64);
}

// The file as the recorder's writer keeps it: the lines done, then the open ones.
struct File {
    platform::replay::ScriptRecorder recorder;
    std::string done;
    std::string Text() {
        done += recorder.TakeDone();
        return done + recorder.Open();
    }
};

// Checks that the script gives every frame up to last what it saw, and its timer.
void ExpectReplays(const std::string& text, const std::vector<Frame>& frames, long last) {
    platform::InputScript script;
    std::string error;
    ASSERT_TRUE(script.Parse(text, "recorded.txt", &error)) << error << "\n" << text;
    std::uint32_t timer = script.TimerStart();
    for (long f = 1; f <= last; ++f) {
        const Frame& want = frames[std::size_t(f - 1)];
        std::uint8_t keys[256] = {};
        script.KeysAt(f, keys);
        for (int vk = 0; vk < 256; ++vk)
            ASSERT_EQ(keys[vk] != 0, (want.seen.keys[std::size_t(vk) / 64] >> (vk % 64) & 1u) != 0)
                << "frame " << f << ", key " << vk << "\n"
                << text;
        unsigned x, y, b;
        script.JoystickAt(f, &x, &y, &b);
        ASSERT_EQ(x, want.seen.joyX) << "frame " << f;
        ASSERT_EQ(y, want.seen.joyY) << "frame " << f;
        ASSERT_EQ(b, want.seen.joyButtons) << "frame " << f;
        ASSERT_EQ(script.CloseAt(f), want.seen.close) << "frame " << f;
        ASSERT_EQ(script.AnswerAt(f), want.seen.answer) << "frame " << f;
        ASSERT_EQ(timer, want.timer) << "frame " << f << "\n" << text;
        timer += script.FrameMs(f);
    }
    EXPECT_TRUE(script.UsesJoystick());
    EXPECT_EQ(script.ScreenWidth(), 1920);
}

}  // namespace

TEST(ScriptRecorder, MergesFramesThatSawTheSameAndTimesOnlyWhatWasNotSixteenMilliseconds) {
    File file;
    file.recorder.Begin("a test", 1920, 1080, false);
    std::uint32_t timer = 5000;
    for (long f = 1; f <= 40; ++f) {
        file.recorder.BeginFrame(f, timer);
        platform::replay::SeenFrame& seen = *file.recorder.Current();
        if (f <= 10) Hold(&seen, VK_RIGHT);
        if (f >= 8 && f <= 10) Hold(&seen, VK_SPACE);
        if (f == 20) seen.answer = IDYES;
        if (f >= 30) seen.joyX = 0, seen.joyButtons = 5;
        if (f == 35) seen.close = true;
        timer += f == 3 || f == 4 ? 17 : f == 9 ? 250 : 16;
    }
    EXPECT_EQ(file.Text(),
              "# a test\n"
              "SCREEN 1920x1080\n"
              "TIME START 5000\n"
              "TIME 3-4 17\n"
              "1-7 RIGHT\n"
              "TIME 9 250\n"
              "8-10 SPACE RIGHT\n"
              "20 YES\n"
              "30-34 JX=0 JB=0x5\n"
              "35 JX=0 JB=0x5 CLOSE\n"
              "36-40 JX=0 JB=0x5\n"
              "# the run reached frame 40\n");
}

TEST(ScriptRecorder, TheFileIsAWholeScriptAfterEveryFrameAndGivesBackWhatTheGameSaw) {
    // Random frames: runs of keys, a pad, close requests and answers, frames of 16, 17 or more ms.
    std::srand(11);
    const int keys[] = {VK_RIGHT, VK_SPACE, 'S', VK_ESCAPE, VK_F4, VK_LMENU};
    std::vector<Frame> frames;
    platform::replay::SeenFrame run;
    for (int f = 0; f < 600; ++f) {
        if (std::rand() % 8 == 0) {
            run = platform::replay::SeenFrame();
            for (int k : keys)
                if (std::rand() % 3 == 0) Hold(&run, k);
            if (std::rand() % 3 == 0) run.joyX = unsigned(std::rand() % 65536);
            if (std::rand() % 4 == 0) run.joyY = 0;
            if (std::rand() % 4 == 0) run.joyButtons = 1u << (std::rand() % 32);
        }
        Frame frame{run, 0};
        if (std::rand() % 40 == 0) frame.seen.close = true;
        if (std::rand() % 30 == 0) frame.seen.answer = IDYES + std::rand() % 2;
        if (std::rand() % 50 == 0) frame.seen.answer = IDOK;
        frames.push_back(frame);
    }
    std::uint32_t timer = 0xFFFFFF00u;  // the timer goes round during the run
    for (Frame& frame : frames) {
        frame.timer = timer;
        const int r = std::rand() % 10;
        timer += r < 6 ? 16 : r < 9 ? 17 : std::uint32_t(std::rand() % 100000);
    }
    File file;
    file.recorder.Begin("random", 1920, 1080, true);
    std::size_t lastSize = 0;
    for (long f = 1; f <= long(frames.size()); ++f) {
        file.recorder.BeginFrame(f, frames[std::size_t(f - 1)].timer);
        *file.recorder.Current() = frames[std::size_t(f - 1)].seen;
        if (f % 37 == 0 || f == long(frames.size())) {
            // Were the run to end now, the file would give every frame so far.
            const std::string text = file.Text();
            EXPECT_GE(text.size(), lastSize) << "the written file would leave old bytes behind";
            lastSize = text.size();
            ExpectReplays(text, frames, f);
        }
    }
}
