// Where the player's own files are kept on this system: Linux's $XDG_CONFIG_HOME/rushmora (or
// ~/.config/rushmora), Windows' %APPDATA%\Rushmora. Empty where there is none (the browser, or no
// home at all). Headless runs never read from it.
#pragma once

#include <string>

namespace platform::settings {

std::string SettingsFolder();

}  // namespace platform::settings
