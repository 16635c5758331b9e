// The articulated figure of the player and the passers-by: a paper doll of seven body-part pictures
// and an optional held item, put together every frame from the pose table.
#pragma once

#include "platform/win32.h"

// Anchor points of the part sprites, in the order of DrawCharacter::joints.
enum CharacterJoint {
    kJointHead = 0,
    kJointBody = 1,
    kJointNearUpperArm = 2,
    kJointNearLowerArm = 3,
    kJointFarUpperArm = 4,
    kJointFarLowerArm = 5,
    kJointNearUpperLeg = 6,
    kJointNearLowerLeg = 7,
    kJointFarUpperLeg = 8,
    kJointFarLowerLeg = 9,
    kJointHip = 10,
    kJointCount = 11,
};

// Order of the pictures in DrawCharacter::partSlots.
enum CharacterPart {
    kPartHead = 0,
    kPartBody = 1,
    kPartUpperArm = 2,
    kPartLowerArm = 3,
    kPartUpperLeg = 4,
    kPartLowerLeg = 5,
    kPartHip = 6,
    kPartCount = 7,
};

// Texture slots the figure reads besides its parts (the game scene loads them).
constexpr int kHeldItemSlotBase = 55;  // heldItem k draws slot 55 + k (56 the bag, 57 the umbrella)
constexpr int kPlayerStumbleHeadSlot = 61;
constexpr int kPlayerAttackHeadSlot = 62;

// The figure has no behaviour of its own: its owner sets the fields, steps pose and frame, and calls
// draw inside an open sprite pass. Several fields only hold the owner's motion state.
// The constructor leaves every field unset; init and the owner set them.
class DrawCharacter {
  public:
    int x;                      // position in game-window pixels
    int y;                      // grows downward; the feet stand on y + 150 at every scale
    POINT joints[kJointCount];  // part anchors, rewritten by every draw
    int pose;                   // row of the pose table, 0..9
    int frame;                  // column of the pose table, 0..19
    int frameBack;              // owner's state: frame stepping direction
    int facingLeft;             // 0 faces right as painted; anything else mirrors the figure
    int vx, vy;                 // owner's state: speeds
    int groundY;                // owner's state: ground line
    int dx, dy;                 // owner's state: move of this frame
    int flying;                 // owner's state: knocked away
    float scale;                // 1.0 is full size
    int partSlots[kPartCount];  // texture slots: head, body, upper arm, lower arm, upper leg, lower leg, hip
    int heldItem;               // 0 nothing; k draws texture slot 55 + k in the near hand
    int isPlayer;               // 1: the head changes when stumbling and attacking

    // Places the figure at (x, y), presets the joints, and sets pose 0, frame 11 (standing), facing
    // right, nothing in the hand. Returns the figure.
    virtual DrawCharacter* init(int x, int y);
    // Recomputes the joints and draws the twelve sprites (eleven without an item) through the
    // graphics device's sprite; the caller has opened the sprite pass.
    virtual void draw();
};
