// The font the game ships is found beside the program wherever the player unpacked it: in a folder
// whose name is not ASCII, and from KeyConfig1.exe one folder below, and the name found opens.
#include "platform/desktop/font_lookup.h"
#include "platform/files/file_handle.h"
#include "support/game_run.h"

#include <SDL.h>

#include <fstream>

namespace desktop = platform::desktop;

namespace {

namespace fs = std::filesystem;

// A game folder at the temporary place named, with data/ and, where asked, fonts/ipagp.ttf.
std::string GameFolder(const std::string& name, bool withFont) {
    const std::string folder = testing_support::TempPath(name);
    const fs::path path = platform::files::PathOfUtf8(folder);
    std::error_code error;
    fs::remove_all(path, error);
    fs::create_directories(path / "data");
    if (withFont) {
        fs::create_directories(path / "fonts");
        std::ofstream(path / "fonts" / "ipagp.ttf", std::ios::binary) << "a font";
    }
    return folder;
}

bool Opens(const std::string& utf8Name) {
    SDL_RWops* rw = SDL_RWFromFile(utf8Name.c_str(), "rb");
    if (!rw) return false;
    SDL_RWclose(rw);
    return true;
}

}  // namespace

TEST(ShippedFont, IsFoundInAFolderOfAnyNameFromTheGameAndFromKeyConfig) {
    for (const std::string name : {"ゲーム フォルダ", "Spiel_ä", "plain"}) {
        const std::string folder = GameFolder(name, true);
        const std::string fromGame = desktop::FindShippedFont(folder + "/");
        ASSERT_FALSE(fromGame.empty()) << name;
        EXPECT_NE(fromGame.find(name), std::string::npos) << fromGame;
        EXPECT_TRUE(Opens(fromGame)) << fromGame;
        // KeyConfig1.exe runs from data/.
        const std::string fromKeyConfig = desktop::FindShippedFont(folder + "/data/");
        ASSERT_FALSE(fromKeyConfig.empty()) << name;
        EXPECT_TRUE(Opens(fromKeyConfig)) << fromKeyConfig;
    }
    EXPECT_EQ(desktop::FindShippedFont(GameFolder("ゲーム", false) + "/"), "");
    EXPECT_EQ(desktop::FindShippedFont(""), "");
}
