// Scripted input for headless runs and replays: one directive per line. "A[-B] TOKEN..." holds the
// tokens during frames A to B (inclusive); "SCREEN WxH" names the screen the script was made for;
// "SEED N" is what the clock gives the next time the game seeds its random numbers from it;
// "TIME START MS" is the millisecond timer in frame 1 and "TIME A[-B] MS" how long each of frames A
// to B lasts on it (16 ms where no line says); "NOSOUND A[-B]" says that the run's openings A to B
// of the sound device failed (a recorded run that had none); "SPEED N" that the run was played at N %
// of the game's speed (it replays the same at any). '#' starts a comment.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// A set of virtual-key codes, one bit each.
using KeySet = std::array<std::uint64_t, 4>;

struct ScriptRange {
    long first = 0;
    long last = 0;
    KeySet keys{};  // virtual-key codes held
    bool hasJoyX = false, hasJoyY = false, hasJoyButtons = false;
    unsigned joyX = 0, joyY = 0, joyButtons = 0;
    bool close = false;
    int answer = 0;  // IDYES, IDNO or IDOK for a message box opened in these frames, 0 none
};

// What the script gives for a run of frames, from first up to the next run's first.
struct ScriptFrameState {
    long first = 0;
    KeySet keys{};  // virtual-key codes held
    unsigned joyX = 32767, joyY = 32767, joyButtons = 0;
    bool close = false;
    int answer = 0;
};

// The millisecond timer of a headless run: what it reads in frame 1, and how far it moves a frame.
constexpr std::uint32_t kTimerStart = 0x10000;
constexpr std::uint32_t kFrameMs = 16;

class InputScript {
  public:
    // The largest script read, and the last frame a directive can name.
    static constexpr std::uint64_t kMaxBytes = 16u << 20;
    static constexpr long kMaxFrame = 1L << 30;

    // Parses the text; on a bad line returns false and sets error to "FILE:LINE: what is wrong".
    bool Parse(const std::string& text, const std::string& fileName, std::string* error);
    // Reads a regular file of at most kMaxBytes and parses it.
    bool Load(const std::string& path, std::string* error);

    bool UsesJoystick() const { return usesJoystick_; }
    // The screen the script says it was made for (SCREEN WxH), 0 by 0 when it does not say.
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    // The state the script gives for one frame.
    void KeysAt(long frame, std::uint8_t keys[256]) const;
    void JoystickAt(long frame, unsigned* x, unsigned* y, unsigned* buttons) const;
    bool CloseAt(long frame) const;
    int AnswerAt(long frame) const;
    bool Empty() const { return states_.empty(); }

    // The seeds of SEED lines, in the order the game is to take them.
    const std::vector<std::uint32_t>& Seeds() const { return seeds_; }
    // Whether the script says how the timer went (a TIME line); a run on virtual time then reads
    // TimerStart in frame 1 and moves FrameMs(N) from frame N to the next.
    bool HasTimes() const { return hasTimes_; }
    std::uint32_t TimerStart() const { return timerStart_; }
    std::uint32_t FrameMs(long frame) const;
    // Whether the run's nth opening of the sound device (counted from 1) is to fail, as it did when
    // the script was recorded (NOSOUND lines).
    bool SoundOpeningFails(long opening) const;
    // The lowest game speed (percent) the run was played at (SPEED lines), 100 when none says: a
    // run played slower replays the same, and is told apart wherever runs are compared.
    int LowestSpeed() const { return lowestSpeed_; }

  private:
    struct TimedFrames {
        long first, last;
        std::uint32_t ms;
        long line;
    };
    bool ParseLines(const std::string& text, const std::string& fileName, std::vector<ScriptRange>* ranges,
                    std::string* error);
    // Splits the frames into runs over which no directive starts or stops, and works out each run's
    // state, in time that grows with the number of directives times its logarithm.
    void IndexFrames(const std::vector<ScriptRange>& ranges);
    // The state of the run holding frame, null before the first directive starts.
    const ScriptFrameState* StateAt(long frame) const;

    std::vector<ScriptFrameState> states_;  // by first frame
    bool usesJoystick_ = false;
    int screenWidth_ = 0, screenHeight_ = 0;
    std::vector<std::uint32_t> seeds_;
    bool hasTimes_ = false;
    std::uint32_t timerStart_ = kTimerStart;
    std::vector<TimedFrames> times_;  // by first frame, none overlapping
    std::vector<std::pair<long, long>> soundFails_;
    int lowestSpeed_ = 100;
};

// Maps a key name of the script (RETURN, ESCAPE, ..., or one letter or digit) to its virtual key, 0 if none.
int VirtualKeyFromName(const std::string& name);
// The script's name of a virtual key, null for a key it has no name for.
const char* VirtualKeyName(int vk);

// Reads "WxH" with both sides plain decimal numbers within the bounds.
bool ParseScreenSize(const std::string& text, int minWidth, int minHeight, int max, int* width, int* height);

}  // namespace platform
