#include "figure/figure_fixture.h"

#include <string>

namespace figure_test {

namespace {

LRESULT CALLBACK FixtureWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Picture sizes of the parts (before rounding up to powers of two), head first.
struct PictureSize {
    int width, height;
};
constexpr PictureSize kPartSizes[kPartCount] = {{64, 64}, {50, 81}, {24, 44}, {24, 44},
                                                {30, 50}, {40, 32}, {70, 35}};

}  // namespace

void FigureTest::SetUp() {
    platform::RuntimeOptions options;
    options.headless = true;
    options.screenWidth = 640;
    options.screenHeight = 480;
    std::string error;
    int exitCode = 0;
    ASSERT_TRUE(platform::Start(options, &error, &exitCode)) << error;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FixtureWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FigureTest";
    RegisterClassExA(&wc);
    window_ = CreateWindowExA(0, "FigureTest", "FigureTest", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    GameApp& app = GameApp::Get();
    ASSERT_TRUE(app.graphics.Init(window_, 640, 480, D3DFMT_X8R8G8B8, 0));

    auto fill = [&](int slot, PictureSize size) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTexture(app.graphics.device, size.width, size.height, 1, 0, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &texture),
                  S_OK);
        app.textures[slot] = texture;
        filled_.push_back(slot);
    };
    for (int part = 0; part < kPartCount; ++part) {
        fill(kPlayerParts[part], kPartSizes[part]);
        fill(kPasserParts[part], kPartSizes[part]);
    }
    fill(kBagSlot, {60, 40});
    fill(kUmbrellaSlot, {60, 80});
    fill(kPlayerStumbleHeadSlot, {64, 64});
    fill(kPlayerAttackHeadSlot, {64, 64});
}

void FigureTest::TearDown() {
    GameApp& app = GameApp::Get();
    for (int slot : filled_) {
        if (app.textures[slot]) app.textures[slot]->Release();
        app.textures[slot] = nullptr;
    }
    filled_.clear();
    if (app.graphics.device) app.graphics.Release();
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    platform::Stop();
}

DrawCharacter FigureTest::Player(int x, int y, float scale) {
    DrawCharacter figure;
    figure.init(x, y);
    figure.scale = scale;
    for (int part = 0; part < kPartCount; ++part) figure.partSlots[part] = kPlayerParts[part];
    figure.heldItem = 1;
    figure.isPlayer = 1;
    return figure;
}

DrawCharacter FigureTest::Passer(int x, int y, float scale) {
    DrawCharacter figure;
    figure.init(x, y);
    figure.scale = scale;
    for (int part = 0; part < kPartCount; ++part) figure.partSlots[part] = kPasserParts[part];
    figure.isPlayer = 0;
    return figure;
}

std::vector<SpriteDrawRecord> FigureTest::Draw(DrawCharacter& figure) {
    GameApp& app = GameApp::Get();
    std::vector<SpriteDrawRecord> log;
    app.graphics.device->BeginScene();
    app.graphics.sprite->SetLog(&log);
    app.graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    figure.draw();
    app.graphics.sprite->End();
    app.graphics.sprite->SetLog(nullptr);
    app.graphics.device->EndScene();
    return log;
}

const SpriteDrawRecord& FigureTest::Sprite(const std::vector<SpriteDrawRecord>& drawn, SpriteIndex index) {
    const bool hasItem = drawn.size() == 12;
    return drawn.at(!hasItem && index > kItem ? index - 1 : index);
}

}  // namespace figure_test
