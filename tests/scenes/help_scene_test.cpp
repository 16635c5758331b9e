// The help book through scripted headless runs: paging, the closing fade into the run, the way back
// to the title, and what the pages look like.
#include "game/game_scene.h"
#include "harness/state_dump.h"
#include "scenes/help_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "support/png.h"

#include <SDL_image.h>

using testing_support::PixelAt;
using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

// The game window's origin on the test screen.
constexpr int kOx = 300;
constexpr int kOy = 150;

constexpr Uint32 kSky = 0xFF0000FF;
constexpr Uint32 kLabel = 0xFFFF0000;
constexpr Uint32 kGap = 0xFF000000;
// Page k of the test book is painted in kPageColour[k]; the gaps between pages are black.
constexpr Uint32 kPageColour[7] = {0xFF00FF00, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF,
                                   0xFF808000, 0xFF008080, 0xFF800080};

// Plain-coloured stand-ins for the help book's pictures, so that a pixel tells what lies on top.
const std::string& HelpDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = testing_support::TempPath("help-data");
    testing_support::MakeDir(dir);
    testing_support::MakeDir((dir + "/Texture"));
    const std::string t = dir + "/Texture/";
    testing_support::WritePicture(t + "sora.png", 640, 480, kSky);
    testing_support::WritePicture(t + "title_msk.png", 640, 480, 0xFFFFFFFF);
    testing_support::WritePicture(t + "NOWLOAD.png", 256, 64, kLabel);
    SDL_Surface* book = SDL_CreateRGBSurfaceWithFormat(0, 4096, 512, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(book, nullptr, kGap);
    for (int k = 0; k < 7; ++k) {
        SDL_Rect cell{370 * k, 0, 361, 477};
        SDL_FillRect(book, &cell, kPageColour[k]);
    }
    IMG_SavePNG(book, (t + "help.png").c_str());
    SDL_FreeSurface(book);
    return dir;
}

HelpScene* Help() {
    return dynamic_cast<HelpScene*>(GameApp::Get().scene);
}
bool InTitle() {
    return dynamic_cast<TitleScene*>(GameApp::Get().scene) != nullptr;
}
bool InGame() {
    return dynamic_cast<GameScene*>(GameApp::Get().scene) != nullptr;
}

// Runs the help book from its first frame and returns a copy of its state after the last frame.
struct HelpState {
    bool alive;
    int page, inputDelay, fadeState, fadeAlpha, nextScene;
};
HelpState Play(const std::string& script, long frames) {
    RunSetup setup;
    setup.scene = "Help";
    setup.frames = frames;
    setup.script = script;
    setup.dataDir = HelpDataDir();
    RunGame(setup);
    HelpScene* h = Help();
    if (!h) return {false, 0, 0, 0, 0, 0};
    return {true, h->page, h->inputDelay, h->fadeState, h->fadeAlpha, h->nextScene};
}

// A help book that never leaves, so that a frame's requests can be looked at after it.
class StayingHelpScene : public HelpScene {
  public:
    void ChangeScene() override {}
};
HelpScene* PlayStaying(const std::string& script, long frames) {
    RunSetup setup;
    setup.frames = frames;
    setup.script = script;
    setup.dataDir = HelpDataDir();
    setup.make = [] { return static_cast<SceneBase*>(new StayingHelpScene); };
    RunGame(setup);
    return Help();
}

// Enter held from frame 11 turns to page k in frame 11 + 20 (k - 1).
constexpr long TurnFrame(int page) {
    return 11 + 20 * (page - 1);
}

}  // namespace

class HelpPaging : public GameRunTest {};

TEST_F(HelpPaging, OpensOnTheFirstPageAndIgnoresKeysForTenFrames) {
    HelpState s = Play("1-10 RETURN BACK ESCAPE SPACE JB=2\n", 10);
    ASSERT_TRUE(s.alive);
    EXPECT_EQ(s.page, 0);
    EXPECT_EQ(s.fadeState, 0);
    EXPECT_EQ(s.fadeAlpha, 0);
    EXPECT_EQ(s.nextScene, -1);
    EXPECT_EQ(s.inputDelay, 20);
    // The eleventh frame is the first that listens.
    s = Play("1-11 RETURN\n", 11);
    EXPECT_EQ(s.page, 1);
    EXPECT_EQ(s.inputDelay, 1);
}

TEST_F(HelpPaging, HeldEnterTurnsAPageEveryTwentyFrames) {
    const std::string held = "1-300 RETURN\n";
    EXPECT_EQ(Play(held, TurnFrame(2) - 1).page, 1);
    EXPECT_EQ(Play(held, TurnFrame(2)).page, 2);
    EXPECT_EQ(Play(held, TurnFrame(6) + 19).page, 6);
    HelpState closing = Play(held, TurnFrame(7));
    EXPECT_EQ(closing.page, 7);
    EXPECT_EQ(closing.fadeState, 1);
}

TEST_F(HelpPaging, WithoutAKeyTheDelayStopsAtTwentyOne) {
    HelpState s = Play("", 200);
    ASSERT_TRUE(s.alive);
    EXPECT_EQ(s.page, 0);
    EXPECT_EQ(s.inputDelay, 21);
}

TEST_F(HelpPaging, BackspaceTurnsBackButNotPastTheFirstPage) {
    EXPECT_EQ(Play("11 RETURN\n31 BACK\n", 31).page, 0);
    // Too soon after a turn.
    EXPECT_EQ(Play("11 RETURN\n30 BACK\n", 30).page, 1);
    // On the first page it changes nothing and leaves the delay as it was: Enter right after it
    // still turns.
    HelpState first = Play("11 BACK\n", 11);
    EXPECT_EQ(first.page, 0);
    EXPECT_EQ(first.inputDelay, 21);
    EXPECT_EQ(Play("11-20 BACK\n21 RETURN\n", 21).page, 1);
}

TEST_F(HelpPaging, JoystickButtonTwoTurnsOnlyAlone) {
    EXPECT_EQ(Play("11 JB=2\n", 11).page, 1);
    HelpState both = Play("11 JB=6\n", 11);
    ASSERT_TRUE(both.alive);
    EXPECT_EQ(both.page, 0);
    EXPECT_EQ(both.nextScene, -1);
}

TEST_F(HelpPaging, EnterAndBackspaceInOneFrameCancelOut) {
    HelpState s = Play("11 RETURN\n31 RETURN BACK\n", 31);
    EXPECT_EQ(s.page, 1);
    EXPECT_EQ(s.inputDelay, 1);
}

class HelpClosing : public GameRunTest {};

TEST_F(HelpClosing, EnterOnTheLastPageFadesEightyFiveFramesIntoTheRun) {
    const std::string script = "11-" + std::to_string(TurnFrame(7)) + " RETURN\n";
    const long start = TurnFrame(7);
    HelpState s = Play(script, start);
    EXPECT_EQ(s.page, 7);
    EXPECT_EQ(s.fadeAlpha, 3);
    s = Play(script, start + 83);
    ASSERT_TRUE(s.alive);
    EXPECT_EQ(s.fadeAlpha, 252);
    EXPECT_EQ(s.nextScene, -1);
    Play(script, start + 84);
    EXPECT_TRUE(InGame());
}

TEST_F(HelpClosing, SpaceStartsTheFadeAtOnceOnAnyPage) {
    HelpState s = Play("11 SPACE\n", 11);
    EXPECT_EQ(s.page, 0);
    EXPECT_EQ(s.fadeState, 1);
    EXPECT_EQ(s.fadeAlpha, 3);
    s = Play("11 RETURN\n31 RETURN\n51 SPACE\n", 51);
    EXPECT_EQ(s.page, 2);
    EXPECT_EQ(s.fadeState, 1);
    Play("11 SPACE\n", 11 + 84);
    EXPECT_TRUE(InGame());
}

TEST_F(HelpClosing, PagingDuringTheFadeDoesNotStopIt) {
    // Past the last page Enter counts on to 8; Backspace brings page 6 back into view; the run
    // still starts on time.
    const long start = TurnFrame(7);
    const std::string script = "11-" + std::to_string(start) + " RETURN\n" + std::to_string(start + 20) +
                               " RETURN\n" + std::to_string(start + 40) + "-" + std::to_string(start + 60) +
                               " BACK\n";
    EXPECT_EQ(Play(script, start + 20).page, 8);
    HelpState back = Play(script, start + 60);
    EXPECT_EQ(back.page, 6);
    EXPECT_EQ(back.fadeState, 1);
    EXPECT_EQ(back.fadeAlpha, 3 * 61);
    Play(script, start + 84);
    EXPECT_TRUE(InGame());
}

TEST_F(HelpClosing, EscapeGoesToTheTitleEvenDuringTheFade) {
    Play("11 ESCAPE\n", 11);
    EXPECT_TRUE(InTitle());
    Play("11 SPACE\n60 ESCAPE\n", 60);
    EXPECT_TRUE(InTitle());
    // In the frame the fade completes the run wins.
    Play("11 SPACE\n95 ESCAPE\n", 95);
    EXPECT_TRUE(InGame());
}

TEST_F(HelpClosing, EscapeWithSpaceInOneFrameGoesToTheTitle) {
    Play("11 ESCAPE SPACE\n", 11);
    EXPECT_TRUE(InTitle());
    // The fade had begun all the same.
    HelpScene* h = PlayStaying("11 ESCAPE SPACE\n", 11);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->fadeState, 1);
    EXPECT_EQ(h->nextScene, 0);
}

TEST_F(HelpClosing, JoystickButtonThreeStepsBackAndAsksForTheTitle) {
    HelpScene* h = PlayStaying("11 RETURN\n31 JB=4\n", 31);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->page, 0);
    EXPECT_EQ(h->inputDelay, 1);
    EXPECT_EQ(h->nextScene, 0);
    // The title wins.
    Play("11 RETURN\n31 JB=4\n", 31);
    EXPECT_TRUE(InTitle());
    Play("11 JB=4\n", 11);
    EXPECT_TRUE(InTitle());
}

TEST_F(HelpClosing, TheTitlesHelpRequestOpensTheBook) {
    RunSetup setup;
    setup.frames = 2;
    setup.dataDir = HelpDataDir();
    setup.make = [] {
        auto* title = new TitleScene;
        title->nextScene = kSceneHelp;
        return static_cast<SceneBase*>(title);
    };
    RunGame(setup);
    ASSERT_NE(Help(), nullptr);
    EXPECT_EQ(Help()->page, 0);
    EXPECT_EQ(Help()->inputDelay, 11);
}

class HelpPictures : public GameRunTest {};

TEST_F(HelpPictures, EachPageIsItsOwnCellOverTheSky) {
    RunSetup setup;
    setup.scene = "Help";
    setup.script = "11-200 RETURN\n";
    setup.dataDir = HelpDataDir();
    for (int k = 0; k < 7; ++k)
        setup.screenshots.push_back({k == 0 ? 5 : TurnFrame(k) + 5,
                                     testing_support::TempPath("help-page-" + std::to_string(k) + ".png")});
    setup.frames = TurnFrame(6) + 5;
    RunGame(setup);
    for (int k = 0; k < 7; ++k) {
        const std::string& shot = setup.screenshots[k].file;
        SCOPED_TRACE("page " + std::to_string(k));
        // The page stands at (140, 2), 361 x 477, with the sky around it.
        EXPECT_EQ(PixelAt(shot, kOx + 320, kOy + 240), kPageColour[k]);
        EXPECT_EQ(PixelAt(shot, kOx + 142, kOy + 4), kPageColour[k]);
        EXPECT_EQ(PixelAt(shot, kOx + 498, kOy + 476), kPageColour[k]);
        EXPECT_EQ(PixelAt(shot, kOx + 20, kOy + 20), kSky);
        EXPECT_EQ(PixelAt(shot, kOx + 136, kOy + 240), kSky);
        EXPECT_EQ(PixelAt(shot, kOx + 506, kOy + 240), kSky);
        // No sheet, no label before the fade.
        EXPECT_EQ(PixelAt(shot, kOx + 560, kOy + 430), kSky);
    }
}

TEST_F(HelpPictures, TheClosingSheetCoversTheSkyAndTheLabelShows) {
    const long start = TurnFrame(7);
    RunSetup setup;
    setup.scene = "Help";
    setup.script = "11-" + std::to_string(start) + " RETURN\n";
    setup.dataDir = HelpDataDir();
    const std::string empty = testing_support::TempPath("help-empty.png");
    const std::string half = testing_support::TempPath("help-half.png");
    const std::string last = testing_support::TempPath("help-last.png");
    setup.screenshots = {{start, empty}, {start + 42, half}, {start + 84, last}};
    setup.frames = start + 84;
    RunGame(setup);
    // Past the last page the page area is empty; the sheet is barely there.
    Uint32 sky = PixelAt(empty, kOx + 320, kOy + 240);
    EXPECT_EQ(sky & 0xFF, 0xFFu);
    EXPECT_LE((sky >> 16) & 0xFF, 0x08u);
    // Half-way the sky is whitening and the label reddening.
    Uint32 mid = PixelAt(half, kOx + 20, kOy + 20);
    EXPECT_GT((mid >> 16) & 0xFF, 0x60u);
    EXPECT_LT((mid >> 16) & 0xFF, 0xA0u);
    Uint32 label = PixelAt(half, kOx + 560, kOy + 430);
    EXPECT_GT((label >> 16) & 0xFF, 0x60u);
    EXPECT_LT(label & 0xFF, 0xA0u);
    // The last frame of the book, shown while the run loads: white sheet, red label.
    EXPECT_EQ(PixelAt(last, kOx + 20, kOy + 20), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(last, kOx + 320, kOy + 240), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(last, kOx + 560, kOy + 430), kLabel);
    EXPECT_TRUE(InGame());
}

TEST_F(HelpPictures, MissingPicturesLeaveTheScreenBlackButTheKeysWork) {
    RunSetup setup;
    setup.scene = "Help";
    setup.script = "11 RETURN\n";
    setup.frames = 11;
    const std::string shot = testing_support::TempPath("help-missing.png");
    setup.screenshots = {{11, shot}};
    setup.dataDir = testing_support::TempPath("help-nothing");
    testing_support::MakeDir(setup.dataDir);
    RunGame(setup);
    ASSERT_NE(Help(), nullptr);
    EXPECT_EQ(Help()->page, 1);
    EXPECT_EQ(PixelAt(shot, kOx + 320, kOy + 240), 0xFF000000u);
    EXPECT_EQ(PixelAt(shot, kOx + 20, kOy + 20), 0xFF000000u);
}

TEST_F(HelpPictures, StateDumpShowsTheBook) {
    Play("11 RETURN\n", 15);
    const std::string dump = DumpState();
    EXPECT_NE(dump.find("\"name\": \"HelpScene\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"page\": 1"), std::string::npos);
    EXPECT_NE(dump.find("\"inputDelay\": 5"), std::string::npos);
    EXPECT_NE(dump.find("\"fadeState\": 0"), std::string::npos);
    EXPECT_NE(dump.find("\"fadeAlpha\": 0"), std::string::npos);
    EXPECT_NE(dump.find("\"nextScene\": -1"), std::string::npos);
}
