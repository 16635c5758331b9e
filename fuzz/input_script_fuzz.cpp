// libFuzzer target: any text as a headless run's input script. Parsing answers every text with a
// script or an error naming the file and line; a parsed script answers every frame with keys,
// joystick values in their ranges and a message-box answer the game knows.
#include "platform/input_script.h"
#include "platform/win32.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The frames worth asking about: the first ones, the far end, and each number in the text and its
// neighbours (where directives start and stop).
std::vector<long> FramesOf(const std::string& text) {
    std::vector<long> frames = {-1, 0, 1, 2, 1L << 40};
    for (std::size_t i = 0; i < text.size() && frames.size() < 64;) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        long v = 0;
        std::size_t digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
            if (digits < 15) v = v * 10 + (text[i] - '0');
        for (long d = -1; d <= 1; ++d) frames.push_back(v + d);
    }
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    platform::InputScript script;
    std::string error;
    if (!script.Parse(text, "fuzz.txt", &error)) {
        if (error.rfind("fuzz.txt:", 0) != 0) std::abort();  // every error names the file and line
        return 0;
    }
    for (long frame : FramesOf(text)) {
        std::uint8_t keys[256] = {};
        script.KeysAt(frame, keys);
        for (std::uint8_t k : keys)
            if (k != 0 && k != 0x80) std::abort();
        unsigned x = 0, y = 0, buttons = 0;
        script.JoystickAt(frame, &x, &y, &buttons);
        if (x > 65535 || y > 65535) std::abort();  // the stick's axes run 0..65535
        const int answer = script.AnswerAt(frame);
        if (answer != 0 && answer != IDYES && answer != IDNO && answer != IDOK) std::abort();
        (void)script.CloseAt(frame);
    }
    return 0;
}
