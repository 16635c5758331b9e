// libFuzzer target: the game's command line. The input is split at line breaks into arguments; the
// value after --input names a script file that holds that value's own text (';' for line breaks),
// so the fuzzer never sends the parser to a file of the machine's. Every command line is taken or
// refused with a message.
#include "harness/cli.h"
#include "scratch_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The scene names, as the game has them: the parser only asks whether a name is known.
bool KnownScene(const std::string& name) {
    for (const char* s : {"Logo", "Title", "CharaSelect", "Option", "Help", "Game", "GameClear"})
        if (name == s) return true;
    return false;
}

namespace {

const std::string& ScriptFile() {
    static const std::string path = ScratchFolder() + "/script.txt";
    return path;
}

void WriteScript(std::string text) {
    for (char& c : text)
        if (c == ';') c = '\n';
    std::FILE* f = std::fopen(ScriptFile().c_str(), "wb");
    if (!f) std::abort();
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args = {"rushmora"};
    std::string arg;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += char(data[i]);
        }
    }
    for (std::size_t i = 1; i + 1 < args.size(); ++i)
        if (args[i] == "--input") {
            WriteScript(args[i + 1]);
            args[++i] = ScriptFile();
        }
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);

    CommandLine line;
    std::string error;
    if (!ParseCommandLine(int(args.size()), argv.data(), &line, &error)) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const platform::RuntimeOptions& r = line.runtime;
    if (r.headless && (r.screenWidth < 640 || r.screenHeight < 480)) std::abort();
    if (r.windowWidth != 0 && (r.windowWidth < 640 || r.windowHeight < 480)) std::abort();
    for (const platform::Screenshot& s : r.screenshots)
        if (s.frame < 1 || s.file.empty()) std::abort();
    return 0;
}
