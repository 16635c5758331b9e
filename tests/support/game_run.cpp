#include "support/game_run.h"

#include "shell/game_app.h"
#include "shell/win_main.h"

#include <SDL_image.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

namespace {
bool g_running = false;
}

std::string TempPath(const std::string& name) {
    static std::string dir;
    if (dir.empty()) {
        char templ[] = "/tmp/rushmora-test-XXXXXX";
        dir = mkdtemp(templ);
    }
    return dir + "/" + name;
}

void WritePicture(const std::string& file, int w, int h, Uint32 argb) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(s, nullptr, argb);
    IMG_SavePNG(s, file.c_str());
    SDL_FreeSurface(s);
}

Uint32 PixelAt(const std::string& png, int x, int y) {
    SDL_Surface* loaded = IMG_Load(png.c_str());
    if (!loaded) return 0xDEADBEEF;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    Uint32 p = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
    SDL_FreeSurface(s);
    return p;
}

const std::string& TestDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = TempPath("data");
    mkdir(dir.c_str(), 0755);
    mkdir((dir + "/Texture").c_str(), 0755);
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

int RunGame(const RunSetup& setup) {
    EndRun();
    platform::RuntimeOptions o;
    o.headless = true;
    o.frames = setup.frames;
    o.screenWidth = setup.screenWidth;
    o.screenHeight = setup.screenHeight;
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
