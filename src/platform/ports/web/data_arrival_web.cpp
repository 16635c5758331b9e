// The page fetches the game's data in parts (tools/web/index.html): what the opening shows comes
// before the game starts, the other pictures and the sounds right after, the music's instruments
// last. A data file still on its way is waited for where it is opened (the browser gets its thread
// back meanwhile); the music waits for its instruments without holding the game up.
#include "platform/audio/audio_mixer.h"
#include "platform/files/file_handle.h"

#include <emscripten.h>

#include <string>

namespace platform {
namespace {

// The page's list of files still coming (none in node or when the page fetched everything), by
// their full paths in the game's file system.
EM_JS(int, web_file_coming, (const char* name), {
    return Module.rushmoraComing && Module.rushmoraComing(PATH_FS.resolve(UTF8ToString(name))) ? 1 : 0;
});
EM_JS(int, web_instruments_coming, (), { return Module.rushmoraInstrumentsComing ? 1 : 0; });

}  // namespace

namespace files {

void WaitWhileComing(const std::string& name) {
    while (web_file_coming(name.c_str())) emscripten_sleep(10);
}

}  // namespace files

namespace audio {

bool MusicInstrumentsComing() {
    return web_instruments_coming() != 0;
}

}  // namespace audio
}  // namespace platform
