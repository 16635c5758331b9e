// Scripted input for headless runs and replays: one directive per line, "A[-B] TOKEN...", which holds
// the tokens during frames A to B (inclusive), or "SCREEN WxH", the screen the script was made for.
// '#' starts a comment.
#pragma once

#include <array>
#include <cstdint>
#include <string>
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

  private:
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
};

// Maps a key name of the script (RETURN, ESCAPE, ..., or one letter or digit) to its virtual key, 0 if none.
int VirtualKeyFromName(const std::string& name);

// Reads "WxH" with both sides plain decimal numbers within the bounds.
bool ParseScreenSize(const std::string& text, int minWidth, int minHeight, int max, int* width, int* height);

}  // namespace platform
