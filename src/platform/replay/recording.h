// Recording a run (--record): what the game saw, frame by frame, written as an input script that a
// headless run replays to the same state. Internal to the platform layer.
#pragma once

#include "platform/input_script.h"

#include <cstdint>
#include <string>

namespace platform::replay {

// What the game saw in one frame: the keys and the joystick it read, whether the window was asked
// to close, and the answer of a message box opened in it.
struct SeenFrame {
    KeySet keys{};
    unsigned joyX = 32767, joyY = 32767, joyButtons = 0;
    bool close = false;
    int answer = 0;  // IDYES, IDNO or IDOK, 0 for no box (or one closed as Cancel, a script's default)
    bool operator==(const SeenFrame&) const = default;
};

// Turns a run's frames into script lines: a run of frames that saw the same becomes one "A-B" line,
// and frames whose timer moved other than the 16 ms of a headless frame "TIME" lines. Lines come in
// two parts: those done, which later frames no longer change, and those still open, which they may
// lengthen (each open line only ever grows, and when it is done it is as it was last shown).
class ScriptRecorder {
  public:
    // The first lines: a comment, the game's screen, and that a joystick is attached when it is.
    void Begin(const std::string& comment, int screenWidth, int screenHeight, bool joystick);
    // Frame `frame` begins with the timer reading `timer`; the frame before is done.
    void BeginFrame(long frame, std::uint32_t timer);
    // What the frame being played saw so far, to add to; null before the first frame, which a script
    // cannot name.
    SeenFrame* Current() { return frame_ > 0 ? &current_ : nullptr; }
    // The game took a seed from the clock.
    void Seed(std::uint32_t seed);
    // The run's nth opening of the sound device failed.
    void SoundFailed(long opening);
    void Speed(int percent);
    // The lines done since the last call.
    std::string TakeDone();
    // The lines still open, as they would be written were the run to end now, and a closing comment
    // with the frame it reached.
    std::string Open() const;

  private:
    struct Held {
        long first = 0, last = 0;
        SeenFrame seen;
    };
    struct Timed {
        long first = 0, last = 0;
        std::uint32_t ms = 0;
    };
    // The current frame's inputs join the open run of frames (or end it and start another).
    void CloseCurrent();
    void EndHeld();
    void EndTimed();
    std::string HeldLine(const Held& h) const;

    std::string done_;
    long frame_ = 0;
    SeenFrame current_;
    std::uint32_t timer_ = 0;
    bool holding_ = false, timing_ = false;
    Held held_;
    Timed timed_;
};

namespace recording {

// Starts recording the run into the file of RuntimeOptions::recordFile, if there is one: a file that
// cannot be written is said (OutputFailed) and the run plays on. The recording begins with the screen
// the run has and whether a pad was there.
void Start(int screenWidth, int screenHeight, bool joystickPresent);
// What the platform tells of the run as it goes.
// The game's speed changed (or is below 100 % as the run starts): the script says so (SPEED N), and
// its lowest is what the run was played at.
void SpeedChanged(int percent);
void FrameBegins(long frame, std::uint32_t timer);
void KeysSeen(const std::uint8_t keys[256]);
void JoystickSeen(unsigned x, unsigned y, unsigned buttons);
void CloseAsked();
void BoxAnswered(long frame, int answer);
void SeedTaken(std::uint32_t seed);
void SoundFailed(long opening);

}  // namespace recording
}  // namespace platform::replay
