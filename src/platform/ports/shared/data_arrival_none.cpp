// Where the game's data and instruments lie on the disk whole (Linux, Windows): nothing is ever on
// its way.
#include "platform/audio/audio_mixer.h"
#include "platform/files/file_handle.h"

namespace platform {

void WaitWhileComing(const std::string&) {}

namespace audio {
namespace {
bool g_instrumentsComing = false;  // only ever true in tests
}  // namespace

bool MusicInstrumentsComing() {
    return g_instrumentsComing;
}

void SimulateInstrumentsComing(bool coming) {
    g_instrumentsComing = coming;
}

}  // namespace audio
}  // namespace platform
