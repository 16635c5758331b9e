// Standard MIDI files: checking one and measuring how long it plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::audio {

// The largest file the sequencer reads.
constexpr std::size_t kMaxMidiBytes = 16u << 20;

// Checks a Standard MIDI file and measures it: the time of its last event, in seconds.
bool ParseMidi(const std::vector<std::uint8_t>& d, double* seconds);

}  // namespace platform::audio
