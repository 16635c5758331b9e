#include "platform/replay/recording.h"
#include "platform/replay/virtual_time.h"
#include "platform/common/owner.h"
#include "platform/files/file_handle.h"

#include "platform/runtime.h"
#include "platform/win32.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace platform::replay {
namespace {

std::string Frames(long first, long last) {
    return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

void ScriptRecorder::Begin(const std::string& comment, int screenWidth, int screenHeight, bool joystick) {
    *this = ScriptRecorder();
    if (!comment.empty()) done_ += "# " + comment + "\n";
    done_ += "SCREEN " + std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "\n";
    // A script that names the joystick has one from start-up, as the recorded run had.
    if (joystick) done_ += "1 JB=0  # a joystick is attached\n";
}

void ScriptRecorder::BeginFrame(long frame, std::uint32_t timer) {
    if (frame_ > 0) {
        CloseCurrent();
        const std::uint32_t ms = timer - timer_;
        if (ms == kFrameMs) {
            EndTimed();
        } else if (timing_ && timed_.ms == ms && timed_.last == frame_ - 1) {
            timed_.last = frame_;
        } else {
            EndTimed();
            timing_ = true;
            timed_ = {frame_, frame_, ms};
        }
    } else if (timer != kTimerStart) {
        done_ += "TIME START " + std::to_string(timer) + "\n";
    }
    frame_ = frame;
    current_ = SeenFrame();
    timer_ = timer;
}

void ScriptRecorder::Seed(std::uint32_t seed) {
    done_ += "SEED " + std::to_string(seed) + "\n";
}

void ScriptRecorder::SoundFailed(long opening) {
    done_ += "NOSOUND " + std::to_string(opening) + "\n";
}

void ScriptRecorder::Speed(int percent) {
    done_ += "SPEED " + std::to_string(percent) + "  # the game's speed, percent\n";
}

std::string ScriptRecorder::TakeDone() {
    std::string taken;
    taken.swap(done_);
    return taken;
}

std::string ScriptRecorder::Open() const {
    ScriptRecorder ended = *this;
    ended.done_.clear();
    if (ended.frame_ > 0) ended.CloseCurrent();
    ended.EndHeld();
    ended.EndTimed();
    return ended.done_ + "# the run reached frame " + std::to_string(frame_) + "\n";
}

void ScriptRecorder::CloseCurrent() {
    if (current_ == SeenFrame()) return EndHeld();
    if (holding_ && held_.seen == current_ && held_.last == frame_ - 1) {
        held_.last = frame_;
        return;
    }
    EndHeld();
    holding_ = true;
    held_ = {frame_, frame_, current_};
}

void ScriptRecorder::EndHeld() {
    if (holding_) done_ += HeldLine(held_);
    holding_ = false;
}

void ScriptRecorder::EndTimed() {
    if (timing_)
        done_ += "TIME " + Frames(timed_.first, timed_.last) + " " + std::to_string(timed_.ms) + "\n";
    timing_ = false;
}

std::string ScriptRecorder::HeldLine(const Held& h) const {
    std::string line = Frames(h.first, h.last);
    const SeenFrame& s = h.seen;
    for (int vk = 0; vk < 256; ++vk)
        if (s.keys[std::size_t(vk) / 64] >> (vk % 64) & 1u)
            if (const char* name = VirtualKeyName(vk)) line += std::string(" ") + name;
    if (s.joyX != 32767) line += " JX=" + std::to_string(s.joyX);
    if (s.joyY != 32767) line += " JY=" + std::to_string(s.joyY);
    if (s.joyButtons != 0) {
        char mask[16];
        std::snprintf(mask, sizeof mask, "0x%X", s.joyButtons);
        line += std::string(" JB=") + mask;
    }
    if (s.close) line += " CLOSE";
    if (s.answer == IDYES) line += " YES";
    if (s.answer == IDNO) line += " NO";
    if (s.answer == IDOK) line += " OK";
    return line + "\n";
}

namespace recording {
namespace {

// The file of the recording: the lines done go out once, at the end of what is written; the open
// lines after them are written over again each time, so that the file is a whole script whenever
// the program ends.
struct Recording {
    bool on = false;
    std::string path;
    std::FILE* file = nullptr;
    long doneBytes = 0;  // the done lines in the file
    long written = 0;    // the file's length
    ScriptRecorder recorder;
};

Recording& Rec() {
    return owner::Part<Recording>(owner::Life::Program);
}

// Says what went wrong, once, and stops writing (the run goes on as it would have).
void Fail(const std::string& why = std::strerror(errno)) {
    Recording& r = Rec();
    OutputFailed("cannot write the recording " + r.path + ": " + why);
    if (r.file) std::fclose(r.file);
    r.file = nullptr;
    r.on = false;
}

void Write() {
    Recording& r = Rec();
    if (!r.on || !r.file) return;
    const std::string done = r.recorder.TakeDone();
    std::string open = r.recorder.Open();
    // Open lines that came out shorter than the last ones written (they do not, as they only grow)
    // would leave the old ones' end behind: the closing comment takes up the room.
    const long end = r.doneBytes + long(done.size() + open.size());
    if (end < r.written) open.insert(open.size() - 1, std::size_t(r.written - end), ' ');
    if (std::fseek(r.file, r.doneBytes, SEEK_SET) != 0 ||
        std::fwrite(done.data(), 1, done.size(), r.file) != done.size() ||
        std::fwrite(open.data(), 1, open.size(), r.file) != open.size() || std::fflush(r.file) != 0)
        return Fail();
    r.doneBytes += long(done.size());
    r.written = std::max(end, r.written);
}

// What a script names of the game's keys; a key it has no name for is left out (and said once).
KeySet Named(const std::uint8_t keys[256]) {
    KeySet set{};
    for (int vk = 0; vk < 256; ++vk) {
        if (!(keys[vk] & 0x80)) continue;
        if (!VirtualKeyName(vk)) {
            Warn("the recording leaves out a key the script cannot name (virtual key " + std::to_string(vk) +
                 ")");
            continue;
        }
        set[std::size_t(vk) / 64] |= std::uint64_t(1) << (vk % 64);
    }
    return set;
}

}  // namespace

void Start(int screenWidth, int screenHeight, bool joystickPresent) {
    Recording& r = Rec();
    if (r.file) std::fclose(r.file);
    r = Recording();
    const RuntimeOptions& options = Options();
    if (options.recordFile.empty()) return;
    r.on = true;
    r.path = options.recordFile;
    const std::string name = files::Utf8OfPath(files::PathOfUtf8(r.path).filename());
    r.recorder.Begin("Rushmora: a recorded run. Replay: rushmora --headless --input " + name +
                         (options.recordOptions.empty() ? "" : " " + options.recordOptions) + " --dump-state",
                     screenWidth, screenHeight, joystickPresent);
    if (GameSpeed() < 100) r.recorder.Speed(GameSpeed());
    std::string why;
    r.file = files::OpenOutputFile(r.path, &why).release();
    if (!r.file) return Fail(why);
    Write();
    AddFrameEndHook([] { Write(); });
    AddRunEndHook([] {
        Recording& r = Rec();
        Write();
        if (r.file && std::fclose(r.file) != 0) {
            r.file = nullptr;
            return Fail();
        }
        r.file = nullptr;
        r.on = false;
    });
}

void SpeedChanged(int percent) {
    if (Rec().on) Rec().recorder.Speed(percent);
}

void FrameBegins(long frame, std::uint32_t timer) {
    if (Rec().on) Rec().recorder.BeginFrame(frame, timer);
}

void KeysSeen(const std::uint8_t keys[256]) {
    if (SeenFrame* seen = Rec().on ? Rec().recorder.Current() : nullptr) seen->keys = Named(keys);
}

void JoystickSeen(unsigned x, unsigned y, unsigned buttons) {
    if (SeenFrame* seen = Rec().on ? Rec().recorder.Current() : nullptr) {
        seen->joyX = x;
        seen->joyY = y;
        seen->joyButtons = buttons;
    }
}

void CloseAsked() {
    if (SeenFrame* seen = Rec().on ? Rec().recorder.Current() : nullptr) {
        seen->close = true;
        Write();
    }
}

void BoxAnswered(long frame, int answer) {
    SeenFrame* seen = Rec().on && frame == CurrentFrame() ? Rec().recorder.Current() : nullptr;
    if (!seen || (answer != IDYES && answer != IDNO && answer != IDOK)) return;
    if (seen->answer != 0 && seen->answer != answer) {
        // A script answers every box of a frame alike.
        Warn("two message boxes of frame " + std::to_string(frame) +
             " were answered differently; the recording keeps the first answer");
        return;
    }
    seen->answer = answer;
    Write();
}

void SoundFailed(long opening) {
    if (!Rec().on) return;
    Rec().recorder.SoundFailed(opening);
    Write();
}

void SeedTaken(std::uint32_t seed) {
    if (!Rec().on) return;
    Rec().recorder.Seed(seed);
    Write();
}

}  // namespace recording
}  // namespace platform::replay
