#include "platform/common/run_state.h"

#include "platform/common/owner.h"

#include <cstdio>
#include <set>

namespace platform {
namespace {

struct RunState {
    RuntimeOptions options;
    std::set<std::string> warned;
    std::vector<std::string> playerWarnings;  // for the start-up box
    bool outputFailed = false;
};

RunState& TheRunState() {
    return owner::Part<RunState>(owner::Life::Run);
}

}  // namespace

RuntimeOptions& SetRunOptions(const RuntimeOptions& options) {
    return TheRunState().options = options;
}

const RuntimeOptions& Options() {
    return TheRunState().options;
}
bool Headless() {
    return TheRunState().options.headless;
}

void Warn(const std::string& message) {
    if (!TheRunState().warned.insert(message).second) return;
    std::fprintf(stderr, "rushmora: %s\n", message.c_str());
}

void WarnPlayer(const std::string& message) {
    RunState& r = TheRunState();
    if (r.warned.count(message)) return;
    Warn(message);
    if (!r.options.headless) r.playerWarnings.push_back(message);
}

std::vector<std::string> TakePlayerWarnings() {
    std::vector<std::string> taken;
    taken.swap(TheRunState().playerWarnings);
    return taken;
}

void OutputFailed(const std::string& message) {
    TheRunState().outputFailed = true;
    Warn(message);
}
bool AnyOutputFailed() {
    return TheRunState().outputFailed;
}

}  // namespace platform
