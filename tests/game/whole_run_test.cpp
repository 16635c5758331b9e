// A whole run replayed from tests/replays/whole_run.txt (made by tools/make-whole-run): the opening,
// the title, both legs with their result screens, and back to the title.
#include "game/game_scene.h"
#include "scenes/game_clear_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "platform/runtime.h"
#include "support/game_run.h"

#include <vector>

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

template <typename T>
T* Current() {
    return dynamic_cast<T*>(GameApp::Get().scene);
}

}  // namespace

class WholeRun : public GameRunTest {};

// One pass through the replay, looked at as it reaches each checkpoint.
TEST_F(WholeRun, FromTheOpeningThroughBothLegsBackToTheTitle) {
    RunSetup setup = testing_support::WholeRun(21180);
    ASSERT_FALSE(setup.script.empty());
    GameApp& app = GameApp::Get();
    std::vector<long> seen;
    setup.atFrameEnd = [&] {
        const long frame = platform::CurrentFrame();
        switch (frame) {
            case 98:
                // Leg 1 starts at 7:00.
                ASSERT_NE(Current<GameScene>(), nullptr);
                EXPECT_EQ(Current<GameScene>()->clock, 420000);
                break;
            case 10354:
                // ... and reaches the station at 7:39: the 7:40 train, rank 3.
                ASSERT_NE(Current<GameScene>(), nullptr);
                EXPECT_EQ(app.arrivalRank, 3);
                EXPECT_EQ(app.elapsedClock, 39208);
                EXPECT_EQ(app.resultCount, 84);
                EXPECT_EQ(app.gameMode, 0);
                break;
            case 10355:
                // The result screen scores it: 84 x 100 - 39208 + 60000.
                ASSERT_NE(Current<GameClearScene>(), nullptr);
                EXPECT_EQ(app.totalScore, 29192);
                EXPECT_EQ(Current<GameClearScene>()->rank, 3);
                break;
            case 10632:
                // Leg 2 leaves the station at 8:20 ...
                ASSERT_NE(Current<GameScene>(), nullptr);
                EXPECT_EQ(app.gameMode, 1);
                EXPECT_EQ(Current<GameScene>()->clock, 500000);
                EXPECT_EQ(Current<GameScene>()->legOneRank, 3);
                break;
            case 20888:
                // ... and reaches school just before 9:00.
                ASSERT_NE(Current<GameScene>(), nullptr);
                EXPECT_EQ(app.arrivalRank, 6);
                EXPECT_EQ(app.elapsedClock, Current<GameScene>()->clock - 500000);
                break;
            case 20889:
                ASSERT_NE(Current<GameClearScene>(), nullptr);
                EXPECT_EQ(Current<GameClearScene>()->previousScore, 29192);
                EXPECT_EQ(app.totalScore, 29192 + app.resultCount * 100 - app.elapsedClock + 60000);
                break;
            default:
                return;
        }
        seen.push_back(frame);
    };
    RunGame(setup);
    EXPECT_EQ(seen, (std::vector<long>{98, 10354, 10355, 10632, 20888, 20889}));
    // After the end picture, the title again, ready for a first leg.
    EXPECT_EQ(platform::CurrentFrame(), 21180);
    EXPECT_NE(Current<TitleScene>(), nullptr);
    EXPECT_EQ(app.gameMode, 0);
}
