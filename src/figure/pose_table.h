// The figure's whole animation: one joint angle in degrees for every channel, pose and frame.
#pragma once

#include <array>

// Joint channels of the table; a positive angle turns the joint clockwise on screen (facing right).
enum PoseChannel {
    kNearShoulder = 0,  // near upper arm, near lower arm, held item
    kNearElbow = 1,     // near lower arm, held item
    kFarShoulder = 2,   // far upper arm, far lower arm
    kFarElbow = 3,      // far lower arm
    kNearHip = 4,       // near upper leg, near lower leg
    kNearKnee = 5,      // near lower leg
    kFarHip = 6,        // far upper leg, far lower leg
    kFarKnee = 7,       // far lower leg
    kWaist = 8,         // everything but the head
    kBody = 9,          // everything, the head about its own pivot
};

// Poses of the figure. The game's special move (10) has no row: the figure is never drawn in it.
enum Pose {
    kPoseWalk = 0,
    kPoseJump = 1,
    kPoseStumble = 2,
    kPoseAttack1 = 3,
    kPoseAttack2 = 4,
    kPoseAttack3 = 5,
    kPoseSlide = 6,
    kPoseKnockedAway = 7,
    kPoseStand = 8,
    kPoseDash = 9,
    kPoseSpecial = 10,
};

constexpr int kPoseChannelCount = 10;
constexpr int kPoseCount = 10;
constexpr int kPoseFrameCount = 20;
constexpr int kPoseTableSize = kPoseChannelCount * kPoseCount * kPoseFrameCount;

// Channel by channel, within a channel pose by pose, within a pose frame by frame:
// the angle of channel c, pose p, frame f is element 200 c + 20 p + f.
extern const std::array<float, kPoseTableSize> poseTable;

// The angle in degrees of a channel at a pose and frame. No range check: the figure's owner keeps
// pose in 0..9 and frame in 0..19.
inline float PoseAngle(int channel, int pose, int frame) {
    return poseTable[channel * (kPoseCount * kPoseFrameCount) + pose * kPoseFrameCount + frame];
}
