#include "platform/settings/settings_folder.h"

#include <cstdlib>

namespace platform::settings {

std::string SettingsFolder() {
#if defined(__EMSCRIPTEN__)
    return {};
#elif defined(_WIN32)
    const char* appData = std::getenv("APPDATA");
    return appData && *appData ? std::string(appData) + "\\Rushmora" : std::string();
#else
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::string(config) + "/rushmora";
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config/rushmora" : std::string();
#endif
}

}  // namespace platform::settings
