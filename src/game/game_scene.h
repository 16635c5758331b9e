// The run itself: one leg of the way to school against the game clock. One class, several source
// files by concern: state and loading (game_scene.cpp), input and the player (player.cpp), the clock
// and the end of a leg (clock.cpp), the passers-by (passers.cpp), the street (scenery.cpp) and the
// drawing (drawing.cpp).
#pragma once

#include "figure/draw_character.h"
#include "figure/pose_table.h"
#include "app/scene_base.h"
#include "sound/music_player.h"

#include <cstdint>

// Action flags of GameScene::input.
enum GameAction {
    kActionUp = 0,
    kActionDown = 1,
    kActionLeft = 2,
    kActionRight = 3,
    kActionDash = 4,
    kActionAttack = 5,
    kActionJump = 6,
    kActionPower = 7,
    kActionSpecial = 8,
    kActionCount = 9,
};

// Clock values in thousandths of a minute from midnight.
constexpr int kClockLegOneStart = 420000;     // 7:00
constexpr int kClockLegOneDeadline = 480000;  // 8:00
constexpr int kClockLegTwoDeadline = 540000;  // 9:00
constexpr int kGoalDistance = 32100;
// The most passers-by a run has on its street at once.
constexpr int kMaxPassers = 30;

// The clock at the start of leg 2: the departure of the train that leg 1 caught (its rank 2 to 5);
// 0 for any other rank.
int LegTwoStartClock(int legOneRank);

class GameScene : public SceneBase {
  public:
    DrawCharacter player;
    DrawCharacter passers[kMaxPassers];
    int passerCount;
    int currentPasser;
    MusicPlayer music;
    int pavementScroll;
    int skyScroll;
    int sceneryX[11];
    int sceneryWidth[11];
    int goalX;
    int startStationX;
    int distance;
    int runFrames;
    int comboStage;
    int comboQueued;
    int dashTimer;
    int gauge;
    int powerMode;
    int homingAngle;
    int drawOrder[kMaxPassers];
    int drawOrderKey[kMaxPassers];
    int scratch;
    int dustboxY;
    int dustboxTop;
    int dustboxKicked;
    std::int16_t input[kActionCount];
    int nextScene;
    int wave;
    int desktopShake;
    int lateDigits;
    int passerLook;
    int gaugeBar;
    int boardX;
    int boardReveal;
    int boardMessage;
    int boardPhase;
    int fadeAlpha;
    int stampX, stampY;
    float stampScaleX, stampScaleY;
    int cloudX[5];
    int cloudY[5];
    int trainX;
    float arrowSpin;
    int clock;
    std::uint32_t tickNow;
    std::uint32_t tickPrev;
    int shakeX, shakeY;
    int handOffset;
    int specialTimer;
    int legOneRank;
    POINT windowOrigin;

    GameScene();
    ~GameScene() override;
    void Update() override;       // player.cpp
    void Draw() override;         // drawing.cpp
    void Input() override;        // player.cpp
    void ChangeScene() override;  // clock.cpp

    // ---- state and loading (game_scene.cpp) ----
    void Load();

    // ---- the player (player.cpp) ----
    void AdvancePlayerFrame();
    void WalkAnimation();
    bool SteerStep();
    bool DepthStep();
    void Jump();
    void AttackCombo();
    void Dash();
    void PowerMode();
    void SpecialMove();
    void ScrollAndBounds();

    // ---- passers-by (passers.cpp) ----
    // Makes passer-by i a fresh one, walking in from the right, and re-dresses it.
    void FreshPasser(int i);
    // Gives passer-by currentPasser one of the three looks at random.
    void RedressPasser();
    void MovePassers();
    void Collide();
    void KickDustbox();
    void Home();
    void SpawnWave();
    void SortByDepth();

    // ---- the street (scenery.cpp) ----
    // Places object i of xs apart from the others; returns its new position.
    int PlaceScenery(int i, int* xs, const int* widths, int count);
    void RecycleScenery();
    void FlyDustbox();

    // ---- the clock and the end of a leg (clock.cpp) ----
    void StepClock();
    void CheckArrival();
    void StepBoard();
    void StepStamp();
    void StepFade();

    // ---- drawing (drawing.cpp) ----
    void DrawDesktop();
    void DrawGameWindow();
};
