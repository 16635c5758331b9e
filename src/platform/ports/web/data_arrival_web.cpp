// The page fetches the game's data in parts (tools/web/index.html): what the opening shows comes
// before the game starts, the other pictures and the sounds right after, the music's instruments
// last. A data file still on its way is waited for where it is opened (the browser gets its thread
// back meanwhile); the music waits for its instruments without holding the game up.
#include "platform/audio/audio_mixer.h"
#include "platform/run/file_handle.h"

#include <emscripten.h>

#include <string>
#include <unistd.h>

namespace platform {
namespace {

// The page's list of files still coming (none in node or when the page fetched everything).
EM_JS(int, web_file_coming, (const char* path),
      { return Module.rushmoraComing && Module.rushmoraComing(UTF8ToString(path)) ? 1 : 0; });
EM_JS(int, web_instruments_coming, (), { return Module.rushmoraInstrumentsComing ? 1 : 0; });

std::string Absolute(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    char here[4096];
    if (!getcwd(here, sizeof here)) return name;
    std::string path = here;
    if (path.empty() || path.back() != '/') path += '/';
    for (std::size_t i = 0; i < name.size();) {  // "./" and "../" as the file system reads them
        const std::size_t end = name.find('/', i);
        const std::string part = name.substr(i, end == std::string::npos ? std::string::npos : end - i);
        i = end == std::string::npos ? name.size() : end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (path.size() > 1) path.erase(path.find_last_of('/', path.size() - 2) + 1);
            continue;
        }
        path += part;
        if (end != std::string::npos) path += '/';
    }
    return path;
}

}  // namespace

void WaitWhileComing(const std::string& name) {
    const std::string path = Absolute(name);
    while (web_file_coming(path.c_str())) emscripten_sleep(10);
}

namespace audio {

bool MusicInstrumentsComing() {
    return web_instruments_coming() != 0;
}

}  // namespace audio
}  // namespace platform
