// Where the game's data and instruments lie on the disk whole (Linux, Windows): nothing is ever on
// its way.
#include "platform/audio/audio_mixer.h"
#include "platform/common/owner.h"
#include "platform/files/file_handle.h"

namespace platform {

namespace files {
void WaitWhileComing(const std::string&) {}
}  // namespace files

namespace audio {
namespace {
struct InstrumentsComing {
    bool coming = false;  // only ever true in tests
};
}  // namespace

bool MusicInstrumentsComing() {
    return owner::Part<InstrumentsComing>(owner::Life::Program).coming;
}

void SimulateInstrumentsComing(bool coming) {
    owner::Part<InstrumentsComing>(owner::Life::Program).coming = coming;
}

}  // namespace audio
}  // namespace platform
