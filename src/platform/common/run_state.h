// What every room reads of the run: its options as Start took them (Options(), Headless() in
// platform/runtime.h) and its warnings (Warn, WarnPlayer, OutputFailed), kept in the run's part of
// the owner.
#pragma once

#include "platform/runtime.h"

#include <string>
#include <vector>

namespace platform {

// Start: the run's options, which it then fills in from the player's settings.
RuntimeOptions& SetRunOptions(const RuntimeOptions& options);
// The warnings for the start-up box (RuntimeOptions::warningsInBox) told since they were last taken.
std::vector<std::string> TakePlayerWarnings();

}  // namespace platform
