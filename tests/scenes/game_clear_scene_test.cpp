// The result screen through scripted headless runs: the leg's score, the lines one after another, the
// count-up and its skip, the white-out to the second leg, the end picture and the way to the title.
#include "game/game_scene.h"
#include "scenes/game_clear_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "support/png.h"

#include <climits>
#include <cstdio>

using testing_support::PixelAt;
using testing_support::RunGame;
using testing_support::RunSetup;
using testing_support::TempPath;
using testing_support::WritePicture;

namespace {

constexpr Uint32 kWhite = 0xFFFFFFFF;
constexpr Uint32 kEndColour = 0xFFC00000;     // the game-over picture
constexpr Uint32 kLegOneColour = 0xFF0000C0;  // the first leg's result picture
constexpr Uint32 kLegTwoColour = 0xFF00A000;  // the second leg's result picture
constexpr Uint32 kTrainColour = 0xFF202020;
constexpr Uint32 kLoadingColour = 0xFFFFC000;

// The result screen's pictures in plain colours.
const std::string& ResultDataDir() {
    static std::string dir;
    if (!dir.empty()) return dir;
    dir = TempPath("result-data");
    testing_support::MakeDir(dir);
    const std::string t = dir + "/Texture/";
    testing_support::MakeDir(t);
    WritePicture(t + "densya.png", 1024, 64, kTrainColour);
    WritePicture(t + "GAMEOVER.png", 512, 128, kEndColour);
    WritePicture(t + "BB.png", 640, 480, kLegTwoColour);
    WritePicture(t + "suuji3.png", 170, 32, 0xFF000000);
    WritePicture(t + "NOWLOAD.png", 256, 64, kLoadingColour);
    WritePicture(t + "jikoku_g.png", 640, 480, kLegOneColour);
    WritePicture(t + "title_msk.png", 640, 480, kWhite);
    return dir;
}

GameClearScene* Result() {
    return dynamic_cast<GameClearScene*>(GameApp::Get().scene);
}

// What the sprite drew in the last frame of the result screen, and in the frame being drawn.
std::vector<SpriteDrawRecord> g_lastFrame;
std::vector<SpriteDrawRecord> g_drawing;
struct RecordedResult : GameClearScene {
    void Draw() override {
        ID3DXSprite* sprite = GameApp::Get().graphics.sprite;
        g_drawing.clear();
        sprite->SetLog(&g_drawing);
        GameClearScene::Draw();  // may replace this scene: nothing of it is touched afterwards
        sprite->SetLog(nullptr);
        g_lastFrame = g_drawing;
    }
};

struct Leg {
    int gameMode, rank, resultCount, elapsed, totalScore;
};

// The result screen after a leg, played for some frames with a script.
GameClearScene* Play(const Leg& leg, long frames, const std::string& script = "",
                     std::vector<platform::Screenshot> shots = {}) {
    RunSetup setup;
    setup.scene = "GameClear";
    // Made as the game makes it, but with its sprites recorded frame by frame.
    setup.make = [] { return static_cast<SceneBase*>(new RecordedResult); };
    g_lastFrame.clear();
    setup.frames = frames;
    setup.script = script;
    setup.seed = 5;
    setup.dataDir = ResultDataDir();
    setup.fields = {{"gameMode", leg.gameMode},
                    {"arrivalRank", leg.rank},
                    {"resultCount", leg.resultCount},
                    {"elapsedClock", leg.elapsed},
                    {"totalScore", leg.totalScore}};
    setup.screenshots = std::move(shots);
    RunGame(setup);
    return Result();
}

// The digits the screen shows as it stands, by line (the y they are drawn at), each with its x.
struct ShownDigit {
    int digit, x, y;
};
std::vector<ShownDigit> Digits(GameClearScene* s) {
    std::vector<ShownDigit> digits;
    if (!s) return digits;
    // The digit strip is the picture drawn in 15-pixel cells 32 high.
    for (const SpriteDrawRecord& r : g_lastFrame)
        if (r.rect.bottom - r.rect.top == 32 && r.rect.right - r.rect.left == 15)
            digits.push_back({(r.rect.left - 2) / 15, int(r.transform._41), int(r.transform._42)});
    return digits;
}
std::string Line(GameClearScene* s, int y) {
    std::string text;
    for (const ShownDigit& d : Digits(s))
        if (d.y == y) text += char('0' + d.digit);
    return text;
}

const Leg kLegOne{0, 3, 12, 45000, 0};  // the 7:40 train; arrived at 7:45 having sent 12 flying

}  // namespace

class ResultScore : public GameRunTest {};

TEST_F(ResultScore, FirstLegScoresItsPassersAndItsTime) {
    ASSERT_NE(Play(kLegOne, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, 1200 - 45000 + 60000);
    // Whatever total stood before is replaced.
    ASSERT_NE(Play({0, 3, 12, 45000, 99999}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, 16200);
}

TEST_F(ResultScore, TotalsPastWhatAnIntHoldsStopAtItsEnds) {
    // Counts and times no run could reach, as a context set by hand might hold them: the sums are
    // made wide and held at the ends of an int, and the screen still shows its places.
    ASSERT_NE(Play({0, 3, 123456789, 0, 0}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MAX);
    ASSERT_NE(Play({0, 3, 0, -2147483647, 0}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MAX);
    ASSERT_NE(Play({0, 3, -123456789, INT_MAX, 0}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MIN);
    ASSERT_NE(Play({1, 6, 5, 30000, INT_MAX}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MAX);
    ASSERT_NE(Play({1, 6, 0, INT_MAX, INT_MIN}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MIN);
    // Near the ends but within them, the sum is exact.
    ASSERT_NE(Play({1, 6, 0, 60000, INT_MAX}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MAX);
    ASSERT_NE(Play({1, 6, 0, 60001, INT_MAX}, 1), nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, INT_MAX - 1);
    // The first line shows the last six places of the total before.
    GameClearScene* s = Play({1, 6, 1000, -2147483647, 2147483647}, 260);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Line(s, 60), "483647");
}

TEST_F(ResultScore, SecondLegAddsToTheFirstAndShowsItOnTheFirstLine) {
    GameClearScene* s = Play({1, 6, 5, 30000, 16200}, 195);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->previousScore, 16200);
    EXPECT_EQ(GameApp::Get().totalScore, 16200 + 500 - 30000 + 60000);
    EXPECT_EQ(Line(s, 60), "16200");
    std::vector<int> xs;
    for (const ShownDigit& d : Digits(s)) {
        if (d.y == 60) xs.push_back(d.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{300, 315, 330, 345, 360}))
        << "six places from x 285, the first one empty";
}

TEST_F(ResultScore, ALateLegStillWritesATotalButShowsOnlyTheEndPicture) {
    const std::string shot = TempPath("result-late.png");
    GameClearScene* s = Play({0, 1, 4, 0, 0}, 260, "", {{260, shot}});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, 400 + 60000);
    EXPECT_TRUE(Digits(s).empty());
    // White all round, the picture at (115, 200) of the window.
    EXPECT_EQ(PixelAt(shot, 300 + 20, 150 + 20), kWhite);
    EXPECT_EQ(PixelAt(shot, 300 + 120, 150 + 205), kEndColour);
    EXPECT_EQ(PixelAt(shot, 300 + 620, 150 + 320), kEndColour);
    EXPECT_EQ(PixelAt(shot, 300 + 110, 150 + 205), kWhite);
    EXPECT_EQ(PixelAt(shot, 300 + 300, 150 + 440), kWhite) << "no train after a late leg";
}

class ResultLines : public GameRunTest {};

TEST_F(ResultLines, AppearOneAfterAnother) {
    EXPECT_TRUE(Digits(Play(kLegOne, 49)).empty());
    // The 7:40 train.
    GameClearScene* s = Play(kLegOne, 50);
    EXPECT_EQ(Line(s, 60), "740");
    EXPECT_EQ(Digits(s).size(), 3u);
    EXPECT_EQ(Digits(Play(kLegOne, 89)).size(), 3u);
    // 45 minutes used, 00 seconds.
    s = Play(kLegOne, 90);
    EXPECT_EQ(Line(s, 130), "4500");
    EXPECT_EQ(Line(Play(kLegOne, 129), 208), "");
    // Twelve sent flying, as two digits in the last two of four places.
    s = Play(kLegOne, 130);
    EXPECT_EQ(Line(s, 208), "12");
    std::vector<int> xs;
    for (const ShownDigit& d : Digits(s)) {
        if (d.y == 208) xs.push_back(d.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{350, 365}));
    EXPECT_EQ(Line(Play(kLegOne, 189), 325), "");
    EXPECT_EQ(Line(Play(kLegOne, 190), 325), "1");
}

TEST_F(ResultLines, TheDepartureNamesTheTrainOfEachRank) {
    const char* times[4] = {"755", "740", "723", "715"};
    for (int rank = 2; rank <= 5; ++rank)
        EXPECT_EQ(Line(Play({0, rank, 0, 1000, 0}, 60), 60), times[rank - 2]) << rank;
}

TEST_F(ResultLines, TheTimeUsedShowsMinutesAndSeconds) {
    EXPECT_EQ(Line(Play({0, 4, 0, 10250, 0}, 100), 130), "1015");
    EXPECT_EQ(Line(Play({0, 4, 0, 9999, 0}, 100), 130), "0959");
}

TEST_F(ResultLines, ASmallScoreIsOneDigitInTheLastPlaceAndANegativeOneIsZero) {
    GameClearScene* s = Play({0, 2, 0, 59993, 0}, 260);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, 7);
    EXPECT_EQ(Line(s, 325), "7");
    for (const ShownDigit& d : Digits(s)) {
        if (d.y == 325) {
            EXPECT_EQ(d.x, 310 + 5 * 15);
        }
    }
    // A second leg that took longer than an hour's worth of points.
    s = Play({1, 6, 0, 59000, -5000}, 260);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(GameApp::Get().totalScore, -4000);
    EXPECT_EQ(s->shownScore, -4000);
    EXPECT_EQ(Line(s, 325), "0");
    EXPECT_EQ(Line(s, 60), "0");
}

class ResultCountUp : public GameRunTest {};

TEST_F(ResultCountUp, CountsOneAFrameFromFrame190) {
    EXPECT_EQ(Play(kLegOne, 189)->shownScore, 0);
    EXPECT_EQ(Play(kLegOne, 190)->shownScore, 1);
    EXPECT_EQ(Play(kLegOne, 300)->shownScore, 111);
    EXPECT_EQ(Line(Play(kLegOne, 300), 325), "111");
    // The frame counter stops at 251.
    EXPECT_EQ(Play(kLegOne, 400)->frames, 251);
}

TEST_F(ResultCountUp, EnterSkipsToTheTotalWithEveryLineShown) {
    // Too early: nothing happens before frame 190.
    GameClearScene* s = Play(kLegOne, 100, "60 RETURN\n");
    EXPECT_EQ(s->frames, 100);
    EXPECT_EQ(s->shownScore, 0);
    s = Play(kLegOne, 200, "200 RETURN\n");
    EXPECT_EQ(s->shownScore, 16200);
    EXPECT_EQ(s->frames, 221);
    EXPECT_EQ(s->fading, 0) << "the first press only skips";
    EXPECT_EQ(Line(s, 325), "16200");
    EXPECT_EQ(Line(s, 208), "12");
}

TEST_F(ResultCountUp, HoldingEnterKeepsTheScreenFromClosing) {
    // Held, the skip sets the counter back every frame, so it never reaches 250.
    GameClearScene* s = Play(kLegOne, 400, "200-400 RETURN\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fading, 0);
    EXPECT_EQ(s->frames, 221);
}

class ResultWayOn : public GameRunTest {};

TEST_F(ResultWayOn, AFurtherEnterWhitesOutIntoTheSecondLeg) {
    // Skip at 200; the counter reaches 250 at frame 229; Enter again at 235 starts the white-out,
    // 5 a frame.
    const std::string script = "200 RETURN\n235 RETURN\n";
    GameClearScene* s = Play(kLegOne, 234, script);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fading, 0);
    s = Play(kLegOne, 235, script);
    EXPECT_EQ(s->fading, 1);
    EXPECT_EQ(s->fadeAlpha, 5);
    const std::string shot = TempPath("result-whiteout.png");
    s = Play(kLegOne, 284, script, {{284, shot}});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fadeAlpha, 250);
    EXPECT_EQ(GameApp::Get().gameMode, 0);
    // Nearly white, with the loading label coming up over it.
    const Uint32 p = PixelAt(shot, 300 + 20, 150 + 20);
    EXPECT_GE((p >> 16) & 0xFF, 245u);
    EXPECT_GE((p >> 8) & 0xFF, 245u);
    const Uint32 label = PixelAt(shot, 300 + 360, 150 + 410);
    EXPECT_GE((label >> 16) & 0xFF, 245u);
    EXPECT_LE(label & 0xFF, 20u) << "the yellow label";

    Play(kLegOne, 285, script);
    auto* game = dynamic_cast<GameScene*>(GameApp::Get().scene);
    ASSERT_NE(game, nullptr) << "the second leg";
    EXPECT_EQ(GameApp::Get().gameMode, 1);
    EXPECT_EQ(game->clock, 500000) << "leaving on the 7:40 train, the second leg starts at 8:20";
}

TEST_F(ResultWayOn, TheSecondLegEndsOnTheEndPictureAndGoesToTheTitle) {
    const Leg legTwo{1, 6, 3, 20000, 16200};
    const std::string script = "200 RETURN\n235 RETURN\n";
    GameClearScene* s = Play(legTwo, 285, script);
    ASSERT_NE(s, nullptr) << "no further leg";
    EXPECT_EQ(s->rank, 1);
    EXPECT_EQ(s->nextScene, -1);
    EXPECT_TRUE(Digits(s).empty());
    Play(legTwo, 290, script + "290 RETURN\n");
    ASSERT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    EXPECT_EQ(GameApp::Get().gameMode, 0);
    EXPECT_EQ(GameApp::Get().totalScore, 16200 + 300 - 20000 + 60000);
}

TEST_F(ResultWayOn, AfterALateLegEnterOrEscapeGoesToTheTitleAtOnce) {
    Play({0, 1, 0, 0, 0}, 1, "1 RETURN\n");
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    EXPECT_EQ(GameApp::Get().gameMode, 0);
    Play({1, 1, 0, 0, 500}, 1, "1 ESCAPE\n");
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    EXPECT_EQ(GameApp::Get().gameMode, 0) << "a late second leg leaves the run too";
}

TEST_F(ResultWayOn, ThePadGoesOnWithButtonTwoAndBackWithButtonThree) {
    Play(kLegOne, 20, "20 ESCAPE\n");
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    // Button 3 (mask 4) leaves for the title even when the count is complete.
    Play(kLegOne, 260, "200 RETURN\n260 JB=4\n");
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    EXPECT_EQ(GameApp::Get().gameMode, 0);
    // Button 2 (mask 2) skips the count, then whites out into the second leg, as Enter does.
    GameClearScene* s = Play(kLegOne, 200, "200 JB=2\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->frames, 221);
    Play(kLegOne, 285, "200 JB=2\n235 JB=2\n");
    auto* game = dynamic_cast<GameScene*>(GameApp::Get().scene);
    ASSERT_NE(game, nullptr) << "the second leg";
    EXPECT_EQ(GameApp::Get().gameMode, 1);
    // Other button masks, both buttons together among them, do nothing.
    for (const char* mask : {"6", "1", "8"}) {
        s = Play(kLegOne, 260, std::string("200 RETURN\n260 JB=") + mask + "\n");
        ASSERT_NE(s, nullptr) << mask;
        EXPECT_EQ(s->fading, 0) << mask;
    }
}

class ResultPicture : public GameRunTest {};

TEST_F(ResultPicture, FirstLegWithTheTrainAlongTheBottom) {
    const std::string shot = TempPath("result-leg1.png");
    GameClearScene* s = Play(kLegOne, 10, "", {{10, shot}});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->trainX, -790);
    EXPECT_EQ(PixelAt(shot, 300 + 20, 150 + 20), kLegOneColour);
    // The train reaches x 234 of the window at y 425 and below.
    EXPECT_EQ(PixelAt(shot, 300 + 230, 150 + 430), kTrainColour);
    EXPECT_EQ(PixelAt(shot, 300 + 240, 150 + 430), kLegOneColour);
    EXPECT_EQ(PixelAt(shot, 300 + 230, 150 + 420), kLegOneColour);
}

TEST_F(ResultPicture, SecondLegWithoutTrainOrLabel) {
    const std::string shot = TempPath("result-leg2.png");
    GameClearScene* s = Play({1, 6, 0, 1000, 100}, 10, "", {{10, shot}});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(PixelAt(shot, 300 + 20, 150 + 20), kLegTwoColour);
    EXPECT_EQ(PixelAt(shot, 300 + 100, 150 + 440), kLegTwoColour);
}

TEST_F(ResultPicture, TheTrainComesRoundAgain) {
    GameClearScene* s = Play(kLegOne, 1440);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->trainX, -800);
    EXPECT_EQ(Play(kLegOne, 1439)->trainX, 639);
}

class ResultHarness : public GameRunTest {};

TEST_F(ResultHarness, TheStateDumpShowsTheResultScreen) {
    const std::string cmd = testing_support::GameProgram() +
                            " --headless --scene GameClear --set gameMode=0 --set arrivalRank=3"
                            " --set resultCount=12 --set elapsedClock=45000 --frames 195 --dump-state";
    std::string out;
    EXPECT_EQ(testing_support::RunCommand(cmd, &out), 0) << out;
    EXPECT_NE(out.find("\"name\": \"GameClearScene\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"rank\": 3"), std::string::npos);
    EXPECT_NE(out.find("\"frames\": 195"), std::string::npos);
    EXPECT_NE(out.find("\"shownScore\": 6"), std::string::npos);
    EXPECT_NE(out.find("\"totalScore\": 16200"), std::string::npos);
    EXPECT_NE(out.find("\"trainX\": -605"), std::string::npos);
}
