// The pose table as the figure's animation: spot values where a wrong row or a frame shifted by one
// would show, and the relations between poses that the game relies on.
#include "figure/pose_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PoseTableLayout, ChannelMajorOrderReachesTheRightCell) {
    // Element 200 c + 20 p + f: the slide's body ends lying flat at the very last frame of channel 9.
    EXPECT_EQ(poseTable[200 * 9 + 20 * 6 + 19], 90.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 19), 90.0f);
    // First and last cells of the whole table.
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseWalk, 0), poseTable.front());
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 19), poseTable.back());
    EXPECT_EQ(poseTable.size(), 2000u);
}

TEST(PoseKnockedAway, TurnsOnceAroundAndLoopsWithoutAJump) {
    EXPECT_EQ(PoseAngle(kBody, kPoseKnockedAway, 0), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseKnockedAway, 19), 342.0f);
    // Every step, including frame 19 back to frame 0, is the same 18 degrees of a 360-degree turn.
    for (int f = 0; f < kPoseFrameCount; ++f) {
        const float next = PoseAngle(kBody, kPoseKnockedAway, (f + 1) % kPoseFrameCount);
        const float step = std::fmod(next - PoseAngle(kBody, kPoseKnockedAway, f) + 360.0f, 360.0f);
        EXPECT_EQ(step, 18.0f) << "frame " << f;
    }
    // Arms flung up over the head, legs and waist straight, all the way round.
    for (int f = 0; f < kPoseFrameCount; ++f) {
        EXPECT_EQ(PoseAngle(kNearShoulder, kPoseKnockedAway, f), 160.0f);
        EXPECT_EQ(PoseAngle(kFarShoulder, kPoseKnockedAway, f), -160.0f);
        EXPECT_EQ(PoseAngle(kWaist, kPoseKnockedAway, f), 0.0f);
    }
}

TEST(PoseWalk, NearShoulderStepsBySixThenBySeven) {
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseWalk, 13), -18.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseWalk, 14), -25.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseWalk, 19), -60.0f);
}

TEST(PoseWalk, RunningTheFramesBackwardSwapsNearAndFarLimbs) {
    // The walk plays up and down; frame f of a near limb is frame 19 - f of the far one, so the
    // return half of a stride is the mirror of the outward half.
    const int pairs[][2] = {
        {kNearShoulder, kFarShoulder}, {kNearElbow, kFarElbow}, {kNearHip, kFarHip}, {kNearKnee, kFarKnee}};
    for (const auto& pair : pairs) {
        for (int f = 0; f < kPoseFrameCount; ++f) {
            EXPECT_EQ(PoseAngle(pair[0], kPoseWalk, f), PoseAngle(pair[1], kPoseWalk, 19 - f))
                << "channels " << pair[0] << "/" << pair[1] << " frame " << f;
        }
    }
    // The body leans forward at one end of the stride and as far back at the other, upright at frame 10.
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 0), 7.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 1), 7.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 6), 4.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 7), 3.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 10), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 16), -6.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseWalk, 19), -7.0f);
    // The waist sways evenly, one degree a frame.
    EXPECT_EQ(PoseAngle(kWaist, kPoseWalk, 0), -10.0f);
    EXPECT_EQ(PoseAngle(kWaist, kPoseWalk, 10), 0.0f);
    EXPECT_EQ(PoseAngle(kWaist, kPoseWalk, 19), 9.0f);
}

TEST(PoseDash, IsTheWalkWithItsOwnBodySway) {
    for (int c = kNearShoulder; c <= kWaist; ++c) {
        for (int f = 0; f < kPoseFrameCount; ++f) {
            EXPECT_EQ(PoseAngle(c, kPoseDash, f), PoseAngle(c, kPoseWalk, f))
                << "channel " << c << " frame " << f;
        }
    }
    // The dash leans back twice per row, never forward.
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 0), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 5), -5.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 10), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 15), -5.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseDash, 19), -1.0f);
}

TEST(PoseJump, HoldsTheWalksFirstFrameUpright) {
    for (int f = 0; f < kPoseFrameCount; ++f) {
        for (int c = kNearShoulder; c <= kFarKnee; ++c) {
            EXPECT_EQ(PoseAngle(c, kPoseJump, f), PoseAngle(c, kPoseWalk, 0))
                << "channel " << c << " frame " << f;
        }
        EXPECT_EQ(PoseAngle(kWaist, kPoseJump, f), 0.0f);
        EXPECT_EQ(PoseAngle(kBody, kPoseJump, f), 0.0f);
    }
}

TEST(PoseStumble, IsOneStillPicture) {
    for (int f = 0; f < kPoseFrameCount; ++f) {
        EXPECT_EQ(PoseAngle(kNearShoulder, kPoseStumble, f), 40.0f);
        EXPECT_EQ(PoseAngle(kNearElbow, kPoseStumble, f), -150.0f);
        EXPECT_EQ(PoseAngle(kFarHip, kPoseStumble, f), -10.0f);
        EXPECT_EQ(PoseAngle(kNearHip, kPoseStumble, f), -40.0f);
        EXPECT_EQ(PoseAngle(kNearKnee, kPoseStumble, f), 10.0f);
    }
}

TEST(PoseAttack, FirstStagePunchesOutAtFrameSixAndHolds) {
    EXPECT_EQ(PoseAngle(kFarElbow, kPoseAttack1, 5), -100.0f);
    EXPECT_EQ(PoseAngle(kFarElbow, kPoseAttack1, 6), 0.0f);
    EXPECT_EQ(PoseAngle(kFarShoulder, kPoseAttack1, 6), -80.0f);
    EXPECT_EQ(PoseAngle(kFarShoulder, kPoseAttack1, 7), -110.0f);
    EXPECT_EQ(PoseAngle(kFarShoulder, kPoseAttack1, 19), -110.0f);
    EXPECT_EQ(PoseAngle(kFarKnee, kPoseAttack1, 6), 15.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack1, 5), 0.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack1, 6), -15.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack1, 7), -50.0f);
    EXPECT_EQ(PoseAngle(kNearElbow, kPoseAttack1, 10), -120.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseAttack1, 0), -10.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseAttack1, 8), 20.0f);
    // The near shoulder creeps up two degrees every other frame.
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack1, 0), 32.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack1, 1), 32.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack1, 2), 34.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack1, 19), 50.0f);
}

TEST(PoseAttack, SecondStageHoldsItsKickForTwoFrames) {
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack2, 9), -63.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack2, 10), -70.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack2, 11), -70.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack2, 12), -60.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack2, 18), 0.0f);
    EXPECT_EQ(PoseAngle(kFarShoulder, kPoseAttack2, 0), 30.0f);
    EXPECT_EQ(PoseAngle(kFarElbow, kPoseAttack2, 13), -120.0f);
    EXPECT_EQ(PoseAngle(kNearElbow, kPoseAttack2, 4), -50.0f);
}

TEST(PoseAttack, ThirdStageSwingsTheNearArmOverhead) {
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack3, 1), 50.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack3, 2), 40.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseAttack3, 19), -130.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack3, 5), -35.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseAttack3, 6), -42.0f);
    EXPECT_EQ(PoseAngle(kFarKnee, kPoseAttack3, 6), 49.0f);
    EXPECT_EQ(PoseAngle(kFarKnee, kPoseAttack3, 0), 7.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseAttack3, 5), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseAttack3, 6), -10.0f);
    EXPECT_EQ(PoseAngle(kNearHip, kPoseAttack3, 3), 30.0f);
    EXPECT_EQ(PoseAngle(kNearKnee, kPoseAttack3, 3), 25.0f);
}

TEST(PoseSlide, FallsFlatWithArmsSweepingBack) {
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 0), 0.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 16), 80.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 17), 83.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 18), 87.0f);
    EXPECT_EQ(PoseAngle(kBody, kPoseSlide, 19), 90.0f);
    for (int f = 0; f < kPoseFrameCount; ++f) {
        EXPECT_EQ(PoseAngle(kNearShoulder, kPoseSlide, f), PoseAngle(kFarShoulder, kPoseSlide, f));
    }
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseSlide, 17), -170.0f);
    EXPECT_EQ(PoseAngle(kNearShoulder, kPoseSlide, 18), -175.0f);
}

TEST(PoseStand, BreathesSlowlyWithLegsApart) {
    EXPECT_EQ(PoseAngle(kNearHip, kPoseStand, 3), 20.0f);
    EXPECT_EQ(PoseAngle(kNearHip, kPoseStand, 4), 19.0f);
    EXPECT_EQ(PoseAngle(kNearHip, kPoseStand, 17), 16.0f);
    EXPECT_EQ(PoseAngle(kNearHip, kPoseStand, 18), 15.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseStand, 11), -22.0f);
    EXPECT_EQ(PoseAngle(kFarHip, kPoseStand, 12), -23.0f);
    EXPECT_EQ(PoseAngle(kWaist, kPoseStand, 7), 1.0f);
    EXPECT_EQ(PoseAngle(kWaist, kPoseStand, 8), 2.0f);
    EXPECT_EQ(PoseAngle(kWaist, kPoseStand, 19), 5.0f);
    // The legs open evenly: the far hip is always the near hip less 40 degrees.
    for (int f = 0; f < kPoseFrameCount; ++f) {
        EXPECT_EQ(PoseAngle(kFarHip, kPoseStand, f), PoseAngle(kNearHip, kPoseStand, f) - 40.0f) << f;
    }
}

}  // namespace
