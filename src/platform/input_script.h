// Scripted input for headless runs and replays: one directive per line, "A[-B] TOKEN...", which holds
// the tokens during frames A to B (inclusive). '#' starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ScriptRange {
    long first = 0;
    long last = 0;
    std::vector<std::uint8_t> keys;  // virtual-key codes held
    bool hasJoyX = false, hasJoyY = false, hasJoyButtons = false;
    unsigned joyX = 0, joyY = 0, joyButtons = 0;
    bool close = false;
    int answer = 0;  // IDYES, IDNO or IDOK for a message box opened in these frames, 0 none
};

// What the script gives for a run of frames, from first up to the next run's first.
struct ScriptFrameState {
    long first = 0;
    std::vector<std::uint8_t> keys;  // virtual-key codes held, each once
    unsigned joyX = 32767, joyY = 32767, joyButtons = 0;
    bool close = false;
    int answer = 0;
};

class InputScript {
  public:
    // Parses the text; on a bad line returns false and sets error to "FILE:LINE: what is wrong".
    bool Parse(const std::string& text, const std::string& fileName, std::string* error);
    bool Load(const std::string& path, std::string* error);

    bool UsesJoystick() const { return usesJoystick_; }
    // The state the script gives for one frame.
    void KeysAt(long frame, std::uint8_t keys[256]) const;
    void JoystickAt(long frame, unsigned* x, unsigned* y, unsigned* buttons) const;
    bool CloseAt(long frame) const;
    int AnswerAt(long frame) const;
    bool Empty() const { return ranges_.empty(); }

  private:
    bool ParseLines(const std::string& text, const std::string& fileName, std::string* error);
    // Splits the frames into runs over which no directive starts or stops, and works out each run's state.
    void IndexFrames();
    // The state of the run holding frame, null before the first directive starts.
    const ScriptFrameState* StateAt(long frame) const;

    std::vector<ScriptRange> ranges_;       // in the order of the file: later lines win
    std::vector<ScriptFrameState> states_;  // by first frame
    bool usesJoystick_ = false;
};

// Maps a key name of the script (RETURN, ESCAPE, ..., or one letter or digit) to its virtual key, 0 if none.
int VirtualKeyFromName(const std::string& name);

}  // namespace platform
