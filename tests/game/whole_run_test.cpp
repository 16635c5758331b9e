// A whole run replayed from tests/replays/whole_run.txt (made by tools/make-whole-run): the opening,
// the title, both legs with their result screens, and back to the title.
#include "game/game_scene.h"
#include "scenes/game_clear_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

void PlayTo(long frame) {
    RunGame(testing_support::WholeRun(frame));
}

template <typename T>
T* Current() {
    return dynamic_cast<T*>(GameApp::Get().scene);
}

}  // namespace

class WholeRun : public GameRunTest {};

TEST_F(WholeRun, FromTheOpeningThroughBothLegsBackToTheTitle) {
    ASSERT_FALSE(testing_support::WholeRun(1).script.empty());
    GameApp& app = GameApp::Get();

    // Leg 1 starts at 7:00 and reaches the station at 7:39: the 7:40 train, rank 3.
    PlayTo(98);
    ASSERT_NE(Current<GameScene>(), nullptr);
    EXPECT_EQ(Current<GameScene>()->clock, 420000);
    PlayTo(10354);
    ASSERT_NE(Current<GameScene>(), nullptr);
    EXPECT_EQ(app.arrivalRank, 3);
    EXPECT_EQ(app.elapsedClock, 39208);
    EXPECT_EQ(app.resultCount, 84);
    EXPECT_EQ(app.gameMode, 0);

    // The result screen scores it: 84 x 100 - 39208 + 60000.
    PlayTo(10355);
    ASSERT_NE(Current<GameClearScene>(), nullptr);
    EXPECT_EQ(app.totalScore, 29192);
    EXPECT_EQ(Current<GameClearScene>()->rank, 3);

    // Leg 2 leaves the station at 8:20 and reaches school just before 9:00.
    PlayTo(10632);
    ASSERT_NE(Current<GameScene>(), nullptr);
    EXPECT_EQ(app.gameMode, 1);
    EXPECT_EQ(Current<GameScene>()->clock, 500000);
    EXPECT_EQ(Current<GameScene>()->legOneRank, 3);
    PlayTo(20888);
    ASSERT_NE(Current<GameScene>(), nullptr);
    EXPECT_EQ(app.arrivalRank, 6);
    EXPECT_EQ(app.elapsedClock, Current<GameScene>()->clock - 500000);

    PlayTo(20889);
    ASSERT_NE(Current<GameClearScene>(), nullptr);
    EXPECT_EQ(Current<GameClearScene>()->previousScore, 29192);
    EXPECT_EQ(app.totalScore, 29192 + app.resultCount * 100 - app.elapsedClock + 60000);

    // After the end picture, the title again, ready for a first leg.
    PlayTo(21180);
    EXPECT_NE(Current<TitleScene>(), nullptr);
    EXPECT_EQ(app.gameMode, 0);
}
