// The runner through scripted headless runs: steering, standing, the jump, the attack, the dash,
// the special move, the Escape question and the count-in.
#include "game/game_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"
#include "support/game_run.h"

using testing_support::RunGame;
using testing_support::RunSetup;

namespace {

GameScene* Game() {
    return dynamic_cast<GameScene*>(GameApp::Get().scene);
}

// Plays the game scene for some frames with a script; the first frame that reads keys is 201.
GameScene* Play(const std::string& script, long frames,
                std::vector<std::pair<std::string, int>> fields = {}) {
    RunSetup setup;
    setup.scene = "Game";
    setup.frames = frames;
    setup.script = script;
    setup.seed = 7;
    setup.dataDir = RUSHMORA_SOURCE_DATA_DIR;  // with the game's own sounds
    setup.fields = std::move(fields);
    RunGame(setup);
    EXPECT_NE(Game(), nullptr);
    return Game();
}

}  // namespace

class Runner : public GameRunTest {};

TEST_F(Runner, StandsStillAtOnceAndWaitsForTheCountIn) {
    GameScene* g = Play("1-200 RIGHT A D S\n", 200);
    ASSERT_NE(g, nullptr);
    // Keys do nothing before the count-in ends; a runner without keys stands.
    EXPECT_EQ(g->player.pose, kPoseStand);
    EXPECT_EQ(g->player.vx, 0);
    EXPECT_EQ(g->player.x, 100);
    for (int f = 0; f < kActionCount; ++f) EXPECT_EQ(g->input[f], 0) << f;
    EXPECT_EQ(g->clock, kClockLegOneStart);
    EXPECT_EQ(g->runFrames, 200);
}

TEST_F(Runner, SteeringIsNotSymmetricFromAStandstill) {
    GameScene* g = Play("201 RIGHT\n", 201);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->player.vx, 8);  // 0 -> 8 -> 12, friction -> 8
    EXPECT_EQ(g->player.facingLeft, 0);
    EXPECT_EQ(g->player.pose, kPoseWalk);
    g = Play("201 LEFT\n", 201);
    EXPECT_EQ(g->player.vx, -4);
    EXPECT_EQ(g->player.facingLeft, 1);
    // Right wins when both are held.
    g = Play("201 LEFT RIGHT\n", 201);
    EXPECT_EQ(g->player.vx, 8);
}

TEST_F(Runner, TopSpeedIsSevenPixelsAFrame) {
    GameScene* g = Play("201-300 RIGHT\n", 300);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->player.vx, 124);
    EXPECT_EQ(g->player.dx, 7);
    // The runner stays in the left part of the window; the street moved instead.
    EXPECT_LE(g->player.x, 241);
    EXPECT_GT(g->player.x, 230);
    EXPECT_GT(g->distance, 500);
}

TEST_F(Runner, DepthMovesTwoRowsAFrameWithinItsBand) {
    GameScene* g = Play("201-205 UP\n", 205);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->player.groundY, 270);
    EXPECT_EQ(g->player.y, 270);
    EXPECT_FLOAT_EQ(g->player.scale, 0.84f);
    g = Play("201-300 UP\n", 300);
    EXPECT_EQ(g->player.groundY, 240);
    EXPECT_FLOAT_EQ(g->player.scale, 0.72f);
    g = Play("201-300 DOWN\n", 300);
    EXPECT_EQ(g->player.groundY, 300);
    EXPECT_FLOAT_EQ(g->player.scale, 0.96f);
}

TEST_F(Runner, JumpRisesFortyFramesAndLandsWhereItStarted) {
    GameScene* g = Play("201 A\n", 201);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->player.pose, kPoseJump);
    EXPECT_EQ(g->player.vy, -156);
    const int first = g->player.y;
    EXPECT_EQ(first, 280 - 4 - 10);
    // Highest after 40 frames, then down again.
    g = Play("201 A\n", 240);
    const int top = g->player.y;
    EXPECT_EQ(g->player.vy, 0);
    g = Play("201 A\n", 241);
    EXPECT_GE(g->player.y, top);
    g = Play("201 A\n", 300);
    EXPECT_EQ(g->player.y, 280);
    EXPECT_NE(g->player.pose, kPoseJump);
    // In the air, up, down, dash and attack are ignored; left and right still steer.
    g = Play("201 A\n202-230 UP S D LEFT\n", 230);
    EXPECT_EQ(g->player.pose, kPoseJump);
    EXPECT_EQ(g->player.groundY, 280);
    EXPECT_EQ(g->dashTimer, 0);
    EXPECT_EQ(g->comboStage, 0);
    EXPECT_LT(g->player.vx, 0);
}

TEST_F(Runner, AttackStartsWhenTheKeyIsLetGo) {
    GameScene* g = Play("201-230 D\n", 230);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->comboStage, 0);
    EXPECT_EQ(g->comboQueued, 1);
    EXPECT_NE(g->player.pose, kPoseAttack1);
    g = Play("201-230 D\n", 231);
    EXPECT_EQ(g->comboStage, 1);
    EXPECT_EQ(g->player.pose, kPoseAttack1);
    EXPECT_EQ(g->player.vx, 52 - 4);  // the lunge, less this frame's friction
    // Asked again during the stage, the second stage follows once frame 16 is reached.
    g = Play("201 D\n205 D\n", 225);
    EXPECT_EQ(g->comboStage, 2);
    EXPECT_EQ(g->player.pose, kPoseAttack2);
    // Not asked: the combo ends at frame 19.
    g = Play("201 D\n", 222);  // the first stage started in frame 202
    EXPECT_EQ(g->comboStage, 0);
    EXPECT_EQ(g->player.pose, kPoseWalk);
}

TEST_F(Runner, DashRunsThenCoolsDown) {
    GameScene* g = Play("201 S\n", 201);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->dashTimer, 1);
    EXPECT_EQ(g->player.pose, kPoseDash);
    EXPECT_EQ(g->player.vx, 192 + 3 - 4);
    // The dash slows by one a frame; the runner shakes between rows meanwhile but stays in the band.
    g = Play("201 S\n", 230);
    EXPECT_EQ(g->player.vx, 192 - 30);
    EXPECT_GE(g->player.groundY, 240);
    EXPECT_LE(g->player.groundY, 300);
    // At 96 it ends, and the cool-down runs to 300.
    g = Play("201 S\n", 201 + 100);
    EXPECT_EQ(g->player.pose == kPoseDash, false);
    EXPECT_GT(g->dashTimer, 1);
    g = Play("201 S\n202-700 S\n", 201 + 400);
    EXPECT_GE(g->dashTimer, 1);
}

TEST_F(Runner, SpecialMoveOnlyOncePerLeg) {
    GameScene* g = Play("201 SPACE\n", 201);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->specialTimer, 2);
    EXPECT_EQ(g->gauge, -1);
    EXPECT_EQ(g->player.pose, kPoseSpecial);
    EXPECT_EQ(g->handOffset, 600 - 12);
    // The hands slide in over 50 frames, the windows shake from 100 to 299.
    g = Play("201 SPACE\n", 260);
    EXPECT_EQ(g->handOffset, 0);
    g = Play("201 SPACE\n", 350);
    EXPECT_TRUE(g->shakeX != 0 || g->shakeY != 0);
    EXPECT_GE(g->shakeX, -25);
    EXPECT_LT(g->shakeX, 25);
    g = Play("201 SPACE\n", 201 + 400);
    EXPECT_EQ(g->specialTimer, 0);
    EXPECT_EQ(g->shakeX, 0);
    EXPECT_EQ(g->handOffset, 600);
    EXPECT_EQ(g->player.pose == kPoseSpecial, false);
    // A second press does nothing: the gauge is spent for the leg.
    g = Play("201 SPACE\n700 SPACE\n", 701);
    EXPECT_EQ(g->specialTimer, 0);
    EXPECT_EQ(g->gauge, -1);
}

TEST_F(Runner, EscapeAsksBeforeGoingBackToTheTitle) {
    GameScene* g = Play("50 ESCAPE NO\n", 60);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(platform::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::MessageBoxes()[0].text, "タイトルに戻りますか？");
    EXPECT_EQ(platform::MessageBoxes()[0].caption, "確認");
    RunSetup setup;
    setup.scene = "Game";
    setup.frames = 60;
    setup.script = "50 ESCAPE YES\n";
    RunGame(setup);
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    // Buttons 5 to 10 together, and nothing else, leave too.
    setup.script = "50 JB=0x3F0\n";
    RunGame(setup);
    EXPECT_NE(dynamic_cast<TitleScene*>(GameApp::Get().scene), nullptr);
    setup.script = "50 JB=0x3F1\n";
    RunGame(setup);
    EXPECT_NE(Game(), nullptr);
}

TEST_F(Runner, ButtonsAreFoundInTheMask) {
    // Buttons 1 (dash) and 2 (attack) together: both are read.
    GameScene* g = Play("201 JB=3\n", 201);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->input[kActionDash], 1);
    EXPECT_EQ(g->input[kActionAttack], 1);
    EXPECT_EQ(g->input[kActionJump], 0);
    EXPECT_EQ(g->player.pose, kPoseDash);
    g = Play("201 JB=64 JX=65535\n", 201);
    EXPECT_EQ(g->input[kActionSpecial], 1);
    EXPECT_EQ(g->input[kActionRight], 1);
}
