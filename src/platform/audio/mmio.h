// What mmio knows beside the Windows functions it stands in for (mmaudio.h).
#pragma once

#include <string>

namespace platform::audio {

// The wave file mmio opened last: the game reads a wave file whole and then makes its sound buffer,
// so a buffer made now holds that file's sound (DirectSound names its buffers by it).
std::string LastWaveOpened();

}  // namespace platform::audio
