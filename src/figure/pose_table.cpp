#include "figure/pose_table.h"

#include <cstddef>
#include <iterator>

namespace {

// One table row: a channel's angles at one pose over the twenty frames.
struct PoseRow {
    float angle[kPoseFrameCount];
};

// A row given frame by frame.
template <typename... Angles>
constexpr PoseRow Frames(Angles... angles) {
    static_assert(sizeof...(Angles) == kPoseFrameCount, "a row has twenty frames");
    return PoseRow{{static_cast<float>(angles)...}};
}

// A row that holds one angle in every frame.
constexpr PoseRow Every(int angle) {
    PoseRow row{};
    for (float& a : row.angle) a = static_cast<float>(angle);
    return row;
}

// A row that runs evenly from one angle to another over the twenty frames.
template <int From, int To, int Step>
constexpr PoseRow Run() {
    static_assert(From + Step * (kPoseFrameCount - 1) == To, "a run spans exactly twenty frames");
    PoseRow row{};
    for (int f = 0; f < kPoseFrameCount; ++f) row.angle[f] = static_cast<float>(From + Step * f);
    return row;
}

// Rows in table order: channel by channel, each with its ten poses (0 walk, 1 jump, 2 stumble,
// 3 to 5 the attack stages, 6 slide, 7 knocked away, 8 stand, 9 dash).
// Dash (9) repeats walk (0) except for the body; jump (1) holds walk's frame 0 with a straight body.
// clang-format off
constexpr PoseRow kRows[] = {
    // Channel 0, near shoulder.
    Frames(60, 54, 48, 42, 36, 30, 24, 18, 12, 6,  // 0 walk
           0, -6, -12, -18, -25, -32, -39, -46, -53, -60),
    Every(60),  // 1 jump
    Every(40),  // 2 stumble
    Frames(32, 32, 34, 34, 36, 36, 38, 38, 40, 40,  // 3 attack 1
           42, 42, 44, 44, 46, 46, 48, 48, 50, 50),
    Every(40),  // 4 attack 2
    Frames(50, 50, 40, 30, 20, 10, 0, -10, -20, -30,  // 5 attack 3
           -40, -50, -60, -70, -80, -90, -100, -110, -120, -130),
    Frames(0, -10, -20, -30, -40, -50, -60, -70, -80, -90,  // 6 slide
           -100, -110, -120, -130, -140, -150, -160, -170, -175, -180),
    Every(160),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(60, 54, 48, 42, 36, 30, 24, 18, 12, 6,  // 9 dash
           0, -6, -12, -18, -25, -32, -39, -46, -53, -60),

    // Channel 1, near elbow.
    Frames(-25, -28, -31, -34, -37, -40, -43, -46, -49, -52,  // 0 walk
           -55, -58, -61, -65, -70, -74, -78, -82, -86, -90),
    Every(-25),  // 1 jump
    Every(-150),  // 2 stumble
    Every(-120),  // 3 attack 1
    Every(-50),  // 4 attack 2
    Every(0),  // 5 attack 3
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(-25, -28, -31, -34, -37, -40, -43, -46, -49, -52,  // 9 dash
           -55, -58, -61, -65, -70, -74, -78, -82, -86, -90),

    // Channel 2, far shoulder.
    Frames(-60, -53, -46, -39, -32, -25, -18, -12, -6, 0,  // 0 walk
           6, 12, 18, 24, 30, 36, 42, 48, 54, 60),
    Every(-60),  // 1 jump
    Every(-25),  // 2 stumble
    Frames(-20, -30, -30, -30, -20, -40, -80, -110, -110, -110,  // 3 attack 1
           -110, -110, -110, -110, -110, -110, -110, -110, -110, -110),
    Every(30),  // 4 attack 2
    Every(30),  // 5 attack 3
    Frames(0, -10, -20, -30, -40, -50, -60, -70, -80, -90,  // 6 slide
           -100, -110, -120, -130, -140, -150, -160, -170, -175, -180),
    Every(-160),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(-60, -53, -46, -39, -32, -25, -18, -12, -6, 0,  // 9 dash
           6, 12, 18, 24, 30, 36, 42, 48, 54, 60),

    // Channel 3, far elbow.
    Frames(-90, -86, -82, -78, -74, -70, -65, -61, -58, -55,  // 0 walk
           -52, -49, -46, -43, -40, -37, -34, -31, -28, -25),
    Every(-90),  // 1 jump
    Every(-15),  // 2 stumble
    Frames(-150, -160, -160, -160, -130, -100, 0, 0, 0, 0,  // 3 attack 1
           0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    Every(-120),  // 4 attack 2
    Every(0),  // 5 attack 3
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(-90, -86, -82, -78, -74, -70, -65, -61, -58, -55,  // 9 dash
           -52, -49, -46, -43, -40, -37, -34, -31, -28, -25),

    // Channel 4, near hip.
    Frames(-50, -45, -40, -35, -30, -25, -20, -15, -10, -5,  // 0 walk
           0, 5, 8, 11, 14, 17, 20, 23, 26, 30),
    Every(-50),  // 1 jump
    Every(-40),  // 2 stumble
    Every(-10),  // 3 attack 1
    Every(-10),  // 4 attack 2
    Every(30),  // 5 attack 3
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Frames(20, 20, 20, 20, 19, 19, 19, 19, 18, 18,  // 8 stand
           18, 18, 17, 17, 17, 17, 16, 16, 15, 15),
    Frames(-50, -45, -40, -35, -30, -25, -20, -15, -10, -5,  // 9 dash
           0, 5, 8, 11, 14, 17, 20, 23, 26, 30),

    // Channel 5, near knee.
    Frames(20, 21, 21, 22, 22, 23, 23, 24, 24, 25,  // 0 walk
           25, 26, 26, 27, 27, 28, 28, 29, 29, 30),
    Every(20),  // 1 jump
    Every(10),  // 2 stumble
    Every(25),  // 3 attack 1
    Every(25),  // 4 attack 2
    Every(25),  // 5 attack 3
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(20, 21, 21, 22, 22, 23, 23, 24, 24, 25,  // 9 dash
           25, 26, 26, 27, 27, 28, 28, 29, 29, 30),

    // Channel 6, far hip.
    Frames(30, 26, 23, 20, 17, 14, 11, 8, 5, 0,  // 0 walk
           -5, -10, -15, -20, -25, -30, -35, -40, -45, -50),
    Every(30),  // 1 jump
    Every(-10),  // 2 stumble
    Frames(0, 0, 0, 0, 0, 0, -15, -50, -50, -50,  // 3 attack 1
           -50, -50, -50, -50, -50, -50, -50, -50, -50, -50),
    Frames(0, -7, -14, -21, -28, -35, -42, -49, -56, -63,  // 4 attack 2
           -70, -70, -60, -50, -40, -30, -20, -10, 0, 0),
    Frames(0, -7, -14, -21, -28, -35, -42, -42, -42, -42,  // 5 attack 3
           -42, -42, -42, -42, -42, -42, -42, -42, -42, -42),
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Frames(-20, -20, -20, -20, -21, -21, -21, -21, -22, -22,  // 8 stand
           -22, -22, -23, -23, -23, -23, -24, -24, -25, -25),
    Frames(30, 26, 23, 20, 17, 14, 11, 8, 5, 0,  // 9 dash
           -5, -10, -15, -20, -25, -30, -35, -40, -45, -50),

    // Channel 7, far knee.
    Frames(30, 29, 29, 28, 28, 27, 27, 26, 26, 25,  // 0 walk
           25, 24, 24, 23, 23, 22, 22, 21, 21, 20),
    Every(30),  // 1 jump
    Every(10),  // 2 stumble
    Frames(10, 20, 20, 20, 20, 20, 15, 30, 30, 30,  // 3 attack 1
           30, 30, 30, 30, 30, 30, 30, 30, 30, 30),
    Every(0),  // 4 attack 2
    Frames(7, 14, 21, 28, 35, 42, 49, 49, 49, 49,  // 5 attack 3
           49, 49, 49, 49, 49, 49, 49, 49, 49, 49),
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(30, 29, 29, 28, 28, 27, 27, 26, 26, 25,  // 9 dash
           25, 24, 24, 23, 23, 22, 22, 21, 21, 20),

    // Channel 8, waist.
    Run<-10, 9, 1>(),  // 0 walk
    Every(0),  // 1 jump
    Every(0),  // 2 stumble
    Every(0),  // 3 attack 1
    Every(0),  // 4 attack 2
    Every(0),  // 5 attack 3
    Every(0),  // 6 slide
    Every(0),  // 7 knocked away
    Frames(0, 0, 0, 0, 1, 1, 1, 1, 2, 2,  // 8 stand
           2, 2, 3, 3, 3, 3, 4, 4, 5, 5),
    Run<-10, 9, 1>(),  // 9 dash

    // Channel 9, body.
    Frames(7, 7, 6, 6, 5, 5, 4, 3, 2, 1,  // 0 walk
           0, -1, -2, -3, -4, -5, -6, -6, -7, -7),
    Every(0),  // 1 jump
    Every(0),  // 2 stumble
    Frames(-10, -20, -20, -20, -20, -10, 0, 10, 20, 20,  // 3 attack 1
           20, 20, 20, 20, 20, 20, 20, 20, 20, 20),
    Every(0),  // 4 attack 2
    Frames(5, 4, 3, 2, 1, 0, -10, -10, -10, -10,  // 5 attack 3
           -10, -10, -10, -10, -10, -10, -10, -10, -10, -10),
    Frames(0, 5, 10, 15, 20, 25, 30, 35, 40, 45,  // 6 slide
           50, 55, 60, 65, 70, 75, 80, 83, 87, 90),
    Run<0, 342, 18>(),  // 7 knocked away
    Every(0),  // 8 stand
    Frames(0, -1, -2, -3, -4, -5, -4, -3, -2, -1,  // 9 dash
           0, -1, -2, -3, -4, -5, -4, -3, -2, -1),
};
// clang-format on
static_assert(std::size(kRows) == kPoseChannelCount * kPoseCount, "ten poses for each of ten channels");

constexpr std::array<float, kPoseTableSize> Flatten() {
    std::array<float, kPoseTableSize> table{};
    std::size_t i = 0;
    for (const PoseRow& row : kRows)
        for (float a : row.angle) table[i++] = a;
    return table;
}

}  // namespace

constinit const std::array<float, kPoseTableSize> poseTable = Flatten();
