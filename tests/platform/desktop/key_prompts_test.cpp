// The keys the pictures show: a cap keycaps.txt lists shows the player's key for its action, or the
// pad's button in the pad's own family once the pad was used last; a cap that would show what it was
// drawn with keeps every texel, and a list that is missing or broken changes nothing.
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/key_prompts.h"
#include "platform/common/owner.h"
#include "platform/files/file_handle.h"
#include "platform/pictures/picture_cache.h"
#include "platform/raster/draw_list.h"
#include "platform/settings/settings.h"
#include "actions/actions.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace desktop = platform::desktop;
using desktop::PromptFamily;

namespace {

constexpr std::uint32_t kInk = 0xFF2D3047, kFace = 0xFFFFF8E7, kEdge = 0xFFE8DCC8;
constexpr int kW = 128, kH = 64;

struct Cap {
    int x, y, w, h;
    const char* label;
};
// Jump, dash, a key nobody moves, the arrows and the pad's button 3.
constexpr Cap kCaps[] = {{8, 8, 24, 20, "A"},
                         {40, 8, 24, 20, "S"},
                         {72, 8, 40, 20, "F5"},
                         {8, 36, 40, 20, "←→"},
                         {56, 36, 48, 20, "ボタン3"}};
constexpr SDL_Point kReach{8 + 12, 8 + 2};

std::string ListLine(const Cap& c) {
    return "\"caps.png\" " + std::to_string(c.x) + " " + std::to_string(c.y) + " " + std::to_string(c.w) +
           " " + std::to_string(c.h) + " #fff8e7 #2d3047 13 \"" + c.label + "\"\n";
}

// A picture with every texel its own colour, and the caps on it: an outline two texels wide, a line of
// light just inside it (as the antialiased outline's edge), the face, a block of ink where the label is.
std::shared_ptr<platform::pictures::Picture> MakePicture() {
    auto p = std::make_shared<platform::pictures::Picture>();
    p->width = kW;
    p->height = kH;
    p->fileHasAlpha = true;
    p->pixels.reset(new std::uint32_t[kW * kH]);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            p->pixels[y * kW + x] =
                0xFF000000u | std::uint32_t(x * 2) << 16 | std::uint32_t(y * 4) << 8 | 0x40;
    for (const Cap& c : kCaps)
        for (int y = c.y; y < c.y + c.h; ++y)
            for (int x = c.x; x < c.x + c.w; ++x) {
                const int in = std::min({x - c.x, y - c.y, c.x + c.w - 1 - x, c.y + c.h - 1 - y});
                const bool label =
                    std::abs(2 * x - (2 * c.x + c.w)) < 6 && std::abs(2 * y - (2 * c.y + c.h)) < 8;
                p->pixels[y * kW + x] = in < 2 || label ? kInk : in == 2 ? kEdge : kFace;
            }
    // The jump cap's label reaches past its face into the edge, as the tip of an arrow may.
    p->pixels[kReach.y * kW + kReach.x] = kInk;
    return p;
}

// The picture as a cap drawn anew leaves it outside the faces: the jump cap's label gone from its edge.
std::vector<std::uint32_t> EdgeCleaned(std::vector<std::uint32_t> pixels) {
    pixels[kReach.y * kW + kReach.x] = kEdge;
    return pixels;
}

std::vector<std::uint32_t> PixelsOf(const platform::pictures::Picture& p) {
    return std::vector<std::uint32_t>(p.pixels.get(), p.pixels.get() + kW * kH);
}

std::vector<std::uint32_t> PixelsOf(const platform::raster::TextureData& t) {
    std::vector<std::uint32_t> out(kW * kH);
    for (int y = 0; y < kH; ++y)
        std::memcpy(&out[y * kW], static_cast<const Uint8*>(t.surface->pixels) + y * t.surface->pitch,
                    kW * 4);
    return out;
}

// The texels where two pictures differ, as the rectangle holding them (empty when none).
SDL_Rect Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    int x0 = kW, y0 = kH, x1 = -1, y1 = -1;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (a[y * kW + x] != b[y * kW + x])
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    return x1 < 0 ? SDL_Rect{} : SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

bool Within(const SDL_Rect& inner, const Cap& c) {
    return inner.w > 0 && inner.x >= c.x + 3 && inner.y >= c.y + 3 && inner.x + inner.w <= c.x + c.w - 3 &&
           inner.y + inner.h <= c.y + c.h - 3;
}

class KeyPrompts : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::UseGameKeys(GameActions());
        platform::owner::EndRun();
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        }
        wasHeadless = desktop::TheScreen().headless;
        desktop::TheScreen().headless = false;  // as in a window
        folder = testing_support::TempPath("prompts-" + std::to_string(++made));
        testing_support::MakeDir(folder);
        picture = folder + "/caps.png";
        std::string list = "# the test's caps\n";
        for (const Cap& c : kCaps) list += ListLine(c);
        WriteList(list);
        original = MakePicture();
    }
    void TearDown() override {
        desktop::TheScreen().controller.reset();
        desktop::TheScreen().joystick.reset();
        desktop::TheScreen().headless = wasHeadless;
        platform::settings::LoadSettings("", true);
        platform::owner::EndRun();
    }
    void WriteList(const std::string& text) const {
        std::ofstream(folder + "/keycaps.txt", std::ios::binary) << text;
    }
    void UseSettings(const std::string& text) const {
        const std::string file = folder + "/settings.ini";
        std::ofstream(file, std::ios::binary) << text;
        platform::settings::LoadSettings(file, true);
    }
    static bool HaveFont() {
        platform::sdl::SurfacePtr t(desktop::RenderText("A", 12, SDL_Color{0, 0, 0, 255}));
        return t != nullptr;
    }
    // The picture's pixels with the caps of now drawn over them.
    std::vector<std::uint32_t> Patched() const {
        std::vector<std::uint32_t> px = PixelsOf(*original);
        desktop::PatchKeyCaps(picture, px.data(), kW, kH, kW);
        return px;
    }
    std::shared_ptr<platform::raster::TextureData> TextureOfPicture() const {
        auto t = std::make_shared<platform::raster::TextureData>(kW, kH);
        EXPECT_TRUE(t->ShareFrom(original, original->pixels.get(), kW, kH));
        desktop::KeyCapsOnTexture(picture, original, t);
        return t;
    }

    inline static int made = 0;
    bool wasHeadless = true;
    std::string folder, picture;
    std::shared_ptr<platform::pictures::Picture> original;
};

TEST_F(KeyPrompts, TheDefaultKeysOnAKeyboardChangeNoTexel) {
    EXPECT_EQ(desktop::PromptInput(), PromptFamily::kKeyboard);
    for (const Cap& c : kCaps) EXPECT_EQ(desktop::CapShows(c.label), "") << c.label;
    EXPECT_EQ(Patched(), PixelsOf(*original));
    // A texture made from the picture keeps showing the picture's own pixels, not a copy.
    const auto texture = TextureOfPicture();
    EXPECT_NE(texture->sharedPixels, nullptr);
    EXPECT_EQ(PixelsOf(*texture), PixelsOf(*original));
}

TEST_F(KeyPrompts, JumpMovedToJShowsJOnTheJumpCapAndNothingElseChanges) {
    if (!HaveFont()) GTEST_SKIP() << "no Japanese font on this machine";
    UseSettings("[keys]\njump=J\n");
    EXPECT_EQ(desktop::CapShows("A"), "J");
    EXPECT_EQ(desktop::CapShows("S"), "");
    const std::vector<std::uint32_t> before = PixelsOf(*original), after = Patched();
    EXPECT_EQ(after[kReach.y * kW + kReach.x], kEdge);
    const SDL_Rect changed = Changed(EdgeCleaned(before), after);
    EXPECT_TRUE(Within(changed, kCaps[0]))
        << changed.x << "," << changed.y << " " << changed.w << "x" << changed.h;
    // Its face is the cap's colour around a letter of ink, in the middle of the cap.
    int x0 = kW, x1 = -1, y0 = kH, y1 = -1;
    for (int y = kCaps[0].y + 3; y < kCaps[0].y + kCaps[0].h - 3; ++y)
        for (int x = kCaps[0].x + 3; x < kCaps[0].x + kCaps[0].w - 3; ++x)
            if (after[y * kW + x] != kFace)
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    ASSERT_GE(x1, 0) << "no letter drawn";
    EXPECT_NEAR((x0 + x1) / 2.0, kCaps[0].x + kCaps[0].w / 2.0, 2.0);
    EXPECT_NEAR((y0 + y1) / 2.0, kCaps[0].y + kCaps[0].h / 2.0, 2.0);
    // Another key draws another letter.
    UseSettings("[keys]\njump=K\n");
    EXPECT_NE(Patched(), after);

    // The arrows moved: the cap shows the new key beside the arrow that stayed.
    UseSettings("[keys]\nleft=Q\n");
    EXPECT_EQ(desktop::CapShows("←→"), "Q →");
    EXPECT_TRUE(Within(Changed(before, Patched()), kCaps[3]));
}

TEST_F(KeyPrompts, ATextureShowsThePadsButtonsOnceThePadIsUsedAndTheKeysAgainAfterAKey) {
    if (!HaveFont()) GTEST_SKIP() << "no Japanese font on this machine";
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    const auto texture = TextureOfPicture();
    const std::vector<std::uint32_t> asDrawn = PixelsOf(*original);
    const unsigned version = desktop::KeyPromptsVersion();

    // A PlayStation 4 pad becomes the game's, and a button of it is pressed.
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.vendor_id = 0x054c;
    d.product_id = 0x09cc;
    d.name = "Virtual PlayStation pad";
    const int index = SDL_JoystickAttachVirtualEx(&d);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* hand = SDL_JoystickOpen(index);
    desktop::PadAdded(index);
    ASSERT_NE(desktop::TheScreen().controller, nullptr);
    SDL_JoystickSetVirtualButton(hand, SDL_CONTROLLER_BUTTON_B, 1);
    SDL_JoystickUpdate();
    for (SDL_Event e; SDL_PollEvent(&e);) desktop::PromptInputSeen(e);

    EXPECT_EQ(desktop::PromptInput(), PromptFamily::kPlayStation);
    EXPECT_NE(desktop::KeyPromptsVersion(), version);
    EXPECT_EQ(desktop::CapShows("A"), "(□)");        // jump: the game's button 3, the square
    EXPECT_EQ(desktop::CapShows("ボタン3"), "(□)");  // the same button by its number
    EXPECT_EQ(desktop::CapShows("←→"), "✚←→");       // the stick's directions: the pad's cross
    EXPECT_EQ(desktop::CapShows("F5"), "");
    const std::vector<std::uint32_t> onPad = PixelsOf(*texture);
    for (const Cap& c : {kCaps[0], kCaps[1], kCaps[3], kCaps[4]}) {
        std::vector<std::uint32_t> only = asDrawn;
        for (int y = c.y + 3; y < c.y + c.h - 3; ++y)
            for (int x = c.x + 3; x < c.x + c.w - 3; ++x) only[y * kW + x] = onPad[y * kW + x];
        EXPECT_NE(only, asDrawn) << c.label << " shows no button";
    }
    // What changed lies inside the caps' faces, and the decoded picture stays as it was.
    std::vector<std::uint32_t> outside = onPad;
    for (const Cap& c : kCaps)
        for (int y = c.y + 3; y < c.y + c.h - 3; ++y)
            for (int x = c.x + 3; x < c.x + c.w - 3; ++x) outside[y * kW + x] = asDrawn[y * kW + x];
    EXPECT_EQ(outside, EdgeCleaned(asDrawn));
    EXPECT_EQ(PixelsOf(*original), asDrawn);

    // A key: the texture shows the picture's own pixels again.
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_A;
    desktop::PromptInputSeen(key);
    EXPECT_EQ(desktop::PromptInput(), PromptFamily::kKeyboard);
    EXPECT_EQ(PixelsOf(*texture), asDrawn);

    desktop::TheScreen().controller.reset();
    SDL_JoystickClose(hand);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

TEST_F(KeyPrompts, EachFamilyNamesTheButtonTheSettingsPutTheActionOn) {
    platform::settings::Settings s;
    EXPECT_EQ(desktop::CapShows("A", PromptFamily::kXbox, s), "(X)");
    EXPECT_EQ(desktop::CapShows("Button 3", PromptFamily::kNintendo, s), "(Y)");
    EXPECT_EQ(desktop::CapShows("ボタン5", PromptFamily::kSteamDeck, s), "L1");
    EXPECT_EQ(desktop::CapShows("Space", PromptFamily::kPlayStation, s), "Share");  // the game's button 7
    EXPECT_EQ(desktop::CapShows("Enter", PromptFamily::kPlayStation, s), "(○)");
    EXPECT_EQ(desktop::CapShows("S", PromptFamily::kOtherPad, s), "(1)");
    // A key the pad has no button for, and what no action is, stay as drawn.
    EXPECT_EQ(desktop::CapShows("BackSpace", PromptFamily::kXbox, s), "");
    EXPECT_EQ(desktop::CapShows("スティック", PromptFamily::kXbox, s), "");
    EXPECT_EQ(desktop::CapShows("ボタン5〜10", PromptFamily::kXbox, s), "");
    // "Confirm with A" swaps buttons 1 and 2: the choosing key's cap follows it.
    platform::settings::ConfirmWithA(&s);
    EXPECT_EQ(desktop::CapShows("Enter", PromptFamily::kXbox, s), "(A)");
    // The Steam Deck by its maker or its name; a pad of a kind SDL does not name, by Xbox's names.
    EXPECT_EQ(desktop::PadFamily(SDL_CONTROLLER_TYPE_XBOX360, 0x28de, "Steam Virtual Gamepad"),
              PromptFamily::kSteamDeck);
    EXPECT_EQ(desktop::PadFamily(SDL_CONTROLLER_TYPE_UNKNOWN, 0, "Steam Deck"), PromptFamily::kSteamDeck);
    EXPECT_EQ(desktop::PadFamily(SDL_CONTROLLER_TYPE_PS5, 0x054c, "DualSense"), PromptFamily::kPlayStation);
    EXPECT_EQ(desktop::PadFamily(SDL_CONTROLLER_TYPE_UNKNOWN, 0x1234, "Some pad"), PromptFamily::kXbox);
}

TEST_F(KeyPrompts, AHeadlessRunDrawsOverNothing) {
    UseSettings("[keys]\njump=J\n");
    desktop::TheScreen().headless = true;
    EXPECT_EQ(Patched(), PixelsOf(*original));
    const auto texture = TextureOfPicture();
    EXPECT_EQ(PixelsOf(*texture), PixelsOf(*original));
}

// In English the list is the language folder's, of its own pictures: a picture the English run shows
// from the Japanese folder is not drawn on by the English list, whose caps lie elsewhere.
TEST_F(KeyPrompts, TheLanguageFoldersListSpeaksOfItsOwnPictures) {
    if (!HaveFont()) GTEST_SKIP() << "no Japanese font on this machine";
    UseSettings("[keys]\njump=J\n");
    const std::string data = folder + "/data";
    for (const char* f : {"", "/Texture", "/lang", "/lang/en", "/lang/en/Texture"})
        testing_support::MakeDir(data + f);
    const Cap english{40, 36, 24, 20, "A"};
    std::ofstream(data + "/Texture/keycaps.txt") << ListLine(kCaps[0]);
    std::ofstream(data + "/lang/en/Texture/keycaps.txt") << ListLine(english);
    std::ofstream(data + "/lang/en/Texture/caps.png") << "an English picture";
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(data);
    platform::files::SetDataLanguage("en");
    picture = "Texture/caps.png";
    EXPECT_TRUE(Within(Changed(PixelsOf(*original), Patched()), english));
    std::remove((data + "/lang/en/Texture/caps.png").c_str());  // now shown from the Japanese folder
    EXPECT_EQ(Patched(), PixelsOf(*original));
    platform::files::SetDataLanguage("ja");
    EXPECT_TRUE(Within(Changed(EdgeCleaned(PixelsOf(*original)), Patched()), kCaps[0]));
    std::filesystem::current_path(was);
}

TEST_F(KeyPrompts, AMissingOrBrokenListChangesNothing) {
    UseSettings("[keys]\njump=J\ndash=K\n");
    const std::string huge = "99999999999999999999999999";
    // Each list, and whether it is told of: a line that is not a cap, or a cap that does not fit.
    const std::pair<std::string, bool> lists[] = {
        {"", false},
        {"\"caps.png\" 8 8 24 20 #fff8e7 #2d3047 13\n", true},              // no label
        {"\"caps.png\" 8 8 24 20 #fff8e7 #2d3047 13 \"A\" extra\n", true},  // a field too many
        {"\"caps.png\" " + huge + " 8 24 20 #fff8e7 #2d3047 13 \"A\"\n", true},
        {"\"caps.png\" 8 8 4294967304 20 #fff8e7 #2d3047 13 \"A\"\n", true},  // wider than any texture
        {"\"caps.png\" 8 8 65536 65536 #fff8e7 #2d3047 13 \"A\"\n", true},    // outside the picture
        {"\"caps.png\" 120 60 24 20 #fff8e7 #2d3047 13 \"A\"\n", true},       // partly outside
        {"\"caps.png\" 8 8 5 5 #fff8e7 #2d3047 13 \"A\"\n", true},            // no face inside the outline
        {"\"caps.png\" -8 8 24 20 #fff8e7 #2d3047 13 \"A\"\n", true},         // a sign
        {"\"caps.png\" 8 8 24 20 fff8e7 #2d3047 13 \"A\"\n", true},           // not a colour
        {"\"caps.png\" 8 8 24 20 #fff8e7 #2d3047 1e9 \"A\"\n", true},         // not a size
        {"\"caps.png 8 8 24 20 #fff8e7 #2d3047 13 A\n", true},                // a quote never closed
        {"caps.png 8 8 24 20 #fff8e7 #2d3047 13 A\n", true},                  // nothing quoted
        {std::string(5000, '\x01') + "\n\"caps.png\"\n", true},
        {"\"other.png\" 8 8 24 20 #fff8e7 #2d3047 13 \"A\"\n", false},        // another picture's
        {"\"caps.png\" 8 8 24 20 #fff8e7 #2d3047 13 \"\xff\xfe\"\n", false},  // no key of the game
    };
    for (const auto& [list, told] : lists) {
        WriteList(list);
        platform::owner::EndRun();  // the list is read again
        desktop::TheScreen().headless = false;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Patched(), PixelsOf(*original)) << list;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("keycaps.txt") != std::string::npos, told) << list << "\n" << said;
    }
    std::remove((folder + "/keycaps.txt").c_str());
    platform::owner::EndRun();
    desktop::TheScreen().headless = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Patched(), PixelsOf(*original));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the key caps"), std::string::npos);
}

TEST_F(KeyPrompts, TheListsLinesAreTakenOneByOne) {
    std::vector<std::string> warnings;
    const auto caps = desktop::ReadKeyCaps(
        "\xEF\xBB\xBF# caps\n"
        "\"PUSH KEY.png\" 1 2 30 40 #ABCDEF #000000 12.5 \"Button 2\"\n"
        "\"x.png\" 1 2 3\n"
        "\t\"sc_moji.png\"\t6 5 28 20 #fff8e7 #2d3047 5.6 \"←→↑↓\"  \r\n",
        "keycaps.txt", &warnings);
    ASSERT_EQ(caps.size(), 2u);
    EXPECT_EQ(caps[0].picture, "PUSH KEY.png");
    EXPECT_EQ(caps[0].label, "Button 2");
    EXPECT_EQ(caps[0].face.h, 40);
    EXPECT_EQ(caps[0].faceColour, 0xFFABCDEFu);
    EXPECT_DOUBLE_EQ(caps[0].px, 12.5);
    EXPECT_EQ(caps[1].label, "←→↑↓");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("keycaps.txt:3:"), std::string::npos) << warnings[0];
    // A file of bad lines says a few of them, then how many more.
    warnings.clear();
    desktop::ReadKeyCaps(
        std::string(10000, '\n') + std::string(20, 'x') + "\n" + std::string(20, 'y') + "\n" +
            [] {
                std::string s;
                for (int i = 0; i < 100; ++i) s += "bad\n";
                return s;
            }(),
        "keycaps.txt", &warnings);
    EXPECT_EQ(warnings.size(), 6u);
}

}  // namespace
