#include "support/game_run.h"

#include "actions/actions.h"

#include "app/game_app.h"
#include "shell/win_main.h"
#include "support/png.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace testing_support {

namespace {
bool g_running = false;
}

std::string TempPath(const std::string& name) {
    static std::string dir;
    if (dir.empty()) {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::random_device entropy;
        for (;;) {
            const auto tried = base / ("rushmora-test-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(tried, error)) {
                dir = tried.generic_string();
                break;
            }
        }
    }
    return dir + "/" + name;
}

void MakeDir(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directory(path, error);
}

std::string GameProgram() {
#ifdef _WIN32
    // The console build beside the test program: the shell waits for it and reads what it writes.
    char* base = SDL_GetBasePath();
    std::string exe = std::string(base ? base : "") + "rushmora-console.exe";
    SDL_free(base);
    // Quotes only where they are needed: cmd /c takes a command that starts with one apart.
    return exe.find(' ') == std::string::npos ? exe : "\"" + exe + "\"";
#else
    return RUSHMORA_GAME_EXE;
#endif
}

const char* Quietly() {
#ifdef _WIN32
    return " > NUL 2>&1";
#else
    return " > /dev/null 2>&1";
#endif
}

int RunCommand(const std::string& cmd, std::string* out) {
    out->clear();
#ifdef _WIN32
    FILE* p = _popen((cmd + " 2>&1").c_str(), "rb");
#else
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
#endif
    if (!p) return -1;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out->append(buf, n);
#ifdef _WIN32
    return _pclose(p);
#else
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

const std::string& TestDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = TempPath("data");
    testing_support::MakeDir(dir);
    testing_support::MakeDir((dir + "/Texture"));
    const std::string t = dir + "/Texture/";
    // The logo scene's pictures in plain colours, so that pixels tell what lies on top.
    WritePicture(t + "ti_bg.png", 640, 480, 0xFF0000FF);      // blue background
    WritePicture(t + "title_msk.png", 640, 480, 0xFFFFFFFF);  // white sheet
    WritePicture(t + "ti-mu.png", 512, 128, 0xFF00FF00);      // green logo
    WritePicture(t + "d.png", 640, 256, 0x00000000);          // an invisible title picture
    WritePicture(t + "PUSH KEY.png", 280, 80, 0xFFFFFF00);    // yellow sign
    WritePicture(t + "hari.png", 3, 80, 0xFFFF0000);          // red hand
    return dir;
}

RunSetup WholeRun(long frames) {
    std::ifstream in(std::string(RUSHMORA_TEST_DIR) + "/replays/whole_run.txt");
    std::stringstream text;
    text << in.rdbuf();
    RunSetup setup;
    setup.frames = frames;
    setup.seed = 20261207;
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;
    setup.script = text.str();
    return setup;
}

int RunGame(const RunSetup& setup) {
    EndRun();
    platform::RuntimeOptions o;
    o.gameKeys = GameActions();
    o.headless = true;
    o.frames = setup.frames;
    o.screenWidth = setup.screenWidth;
    o.screenHeight = setup.screenHeight;
    o.scale = setup.scale;
    o.language = setup.language;
    o.dataDir = setup.dataDir.empty() ? TestDataDir() : setup.dataDir;
    o.screenshots = setup.screenshots;
    if (setup.seed >= 0) {
        o.hasSeed = true;
        o.seed = std::uint32_t(setup.seed);
    }
    if (!setup.script.empty()) {
        std::string error;
        if (!o.script.Parse(setup.script, "test-script", &error)) {
            ADD_FAILURE() << error;
            return -1;
        }
        o.hasScript = true;
    }
    std::string error;
    int code = 0;
    if (!platform::Start(o, &error, &code)) {
        ADD_FAILURE() << error;
        return -1;
    }
    g_running = true;
    if (setup.atFrameEnd) platform::AddFrameEndHook(setup.atFrameEnd);
    StartRequest r;
    r.scene = setup.scene;
    r.fields = setup.fields;
    r.make = setup.make;
    SetStartRequest(r);
    return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
}

void EndRun() {
    if (!g_running) return;
    GameApp& app = GameApp::Get();
    delete app.scene;
    app.scene = nullptr;
    ReleaseAllTextures();
    app.graphics.Release();
    platform::Stop();
    GameApp::Reset();
    SetStartRequest(StartRequest{});
    g_running = false;
}

}  // namespace testing_support

void DeviceTest::SetUp() {
    platform::RuntimeOptions o;
    o.gameKeys = GameActions();
    o.headless = true;
    o.dataDir = testing_support::TestDataDir();
    std::string error;
    int code;
    ASSERT_TRUE(platform::Start(o, &error, &code)) << error;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Probe";
    RegisterClassExA(&wc);
    window = CreateWindowExA(0, "Probe", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(g.Init(window, 640, 480, D3DFMT_X8R8G8B8, 0));
    g.ApplyRenderStates();
}

void DeviceTest::TearDown() {
    g.Release();
    platform::Stop();
}

namespace {

// Every test sees the game's keys as the program hands them over (a run's Start hands them again).
class GameKeysHanded : public ::testing::Environment {
  public:
    void SetUp() override { platform::UseGameKeys(GameActions()); }
};
[[maybe_unused]] const ::testing::Environment* const kGameKeysHanded =
    ::testing::AddGlobalTestEnvironment(new GameKeysHanded);

}  // namespace
