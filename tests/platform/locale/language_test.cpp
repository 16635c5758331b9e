// English beside Japanese: a language folder laid over the game's data (a file there is opened
// instead of the game's own), a catalogue of the texts the platform shows, and the same game in
// both languages.
#include "platform/files/file_handle.h"
#include "platform/files/file_warnings.h"
#include "platform/locale/language.h"
#include "platform/runtime.h"
#include "harness/state_dump.h"
#include "support/game_run.h"
#include "support/png.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

class LanguageRun : public GameRunTest {
  protected:
    void TearDown() override {
        platform::locale::SetLanguage("ja");
        GameRunTest::TearDown();
    }
};

}  // namespace

TEST(LanguageCatalogue, TextsAreTakenAndEveryBadLineIsNamed) {
    std::vector<std::string> warnings;
    const auto texts = platform::locale::ReadCatalogue(
        "# the boxes\n"
        "終了しますか？ => Quit the game?\n"
        "確認=>Confirm\n"
        "二行\\nの文 => Two\\nlines\n"
        "no arrow here\n"
        " => nothing to translate\n"
        "空 =>\n",
        "texts.txt", &warnings);
    EXPECT_EQ(texts.at("終了しますか？"), "Quit the game?");
    EXPECT_EQ(texts.at("確認"), "Confirm");
    EXPECT_EQ(texts.at("二行\nの文"), "Two\nlines");
    EXPECT_EQ(texts.size(), 3u);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[0].find("texts.txt:5:"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("texts.txt:6:"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("texts.txt:7:"), std::string::npos) << warnings[2];
}

// A catalogue of a million bad lines is told in a few warnings; a byte order mark is no part of its
// first text.
TEST(LanguageCatalogue, ManyBadLinesAreToldInAFewWarnings) {
    std::string text = "\xEF\xBB\xBF確認 => Confirm\n";
    for (int i = 0; i < 100000; ++i) text += "\x01 junk\n";
    std::vector<std::string> warnings;
    const auto texts = platform::locale::ReadCatalogue(text, "texts.txt", &warnings);
    EXPECT_EQ(texts.at("確認"), "Confirm");
    ASSERT_EQ(warnings.size(), platform::files::kWarningsShown + 1);
    EXPECT_NE(warnings[0].find("texts.txt:2: \"\\x01 junk\""), std::string::npos) << warnings[0];
    EXPECT_EQ(warnings.back(), "texts.txt: and 99995 more lines that could not be taken");
}

TEST_F(LanguageRun, TheLanguageFolderIsLaidOverTheDataAndTheGameStaysTheSame) {
    // The test pictures, with an English blue background in its own colour over the game's.
    const std::string data = testing_support::TempPath("data-with-english");
    std::error_code error;
    std::filesystem::remove_all(data, error);
    std::filesystem::copy(testing_support::TestDataDir(), data, std::filesystem::copy_options::recursive,
                          error);
    ASSERT_FALSE(error) << error.message();
    std::filesystem::create_directories(data + "/lang/en/Texture");
    std::filesystem::copy_file(data + "/Texture/title_msk.png", data + "/lang/en/Texture/ti_bg.png");
    std::ofstream(data + "/lang/en/texts.txt") << "確認 => Confirm\n";

    RunSetup setup;
    setup.frames = 760;
    setup.dataDir = data;
    setup.seed = 7;
    const std::string japanese = testing_support::TempPath("ja.png"),
                      english = testing_support::TempPath("en.png");
    setup.screenshots = {{760, japanese}};
    RunGame(setup);
    const std::string dumpJa = DumpState();
    // Japanese: the folder is not looked at.
    EXPECT_EQ(platform::files::Overlaid("Texture/ti_bg.png"), "Texture/ti_bg.png");
    EXPECT_EQ(platform::locale::Translated("確認"), "確認");

    setup.language = "en";
    setup.screenshots = {{760, english}};
    RunGame(setup);
    EXPECT_EQ(DumpState(), dumpJa);
    EXPECT_EQ(platform::files::Overlaid("Texture/ti_bg.png"), "lang/en/Texture/ti_bg.png");
    EXPECT_EQ(platform::files::Overlaid("Texture/d.png"), "Texture/d.png");  // none in English: the game's
    EXPECT_EQ(platform::files::Overlaid((data + "/Texture/ti_bg.png").c_str()), data + "/Texture/ti_bg.png");
    EXPECT_EQ(platform::locale::Translated("確認"), "Confirm");
    EXPECT_EQ(platform::locale::Translated("終了しますか？"), "終了しますか？");  // no entry: as it is
    // The background the logo scene shows by then is the English one (white, not blue).
    EXPECT_EQ(testing_support::PixelAt(japanese, 300 + 600, 150 + 450), 0xFF0000FFu);
    EXPECT_EQ(testing_support::PixelAt(english, 300 + 600, 150 + 450), 0xFFFFFFFFu);
}
