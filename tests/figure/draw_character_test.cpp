// The figure as the game scene sees it: where its joints land, which sprites it draws in which order,
// where each picture ends up on screen, and how facing left mirrors it.
#include "figure/draw_character.h"
#include "figure/figure_fixture.h"
#include "figure/pose_table.h"
#include "graphics/sprite_pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace figure_test {
namespace {

constexpr float kPi = 3.14159265f;

// Pictures drawn as whole textures: a few texels spread over a part picture.
constexpr float kTexels[][2] = {{0, 0}, {30, 0}, {0, 40}, {17, 23}, {12, 10}};

// Slide, frame 0: every angle 0, the figure stands straight as painted.
void Straighten(DrawCharacter& figure) {
    figure.pose = kPoseSlide;
    figure.frame = 0;
}

using FigureInit = FigureTest;

TEST_F(FigureInit, PlacesTheFigureStandingAndEmptyHanded) {
    DrawCharacter figure;
    figure.scale = 0.8f;
    figure.isPlayer = 1;
    figure.partSlots[0] = 5;
    figure.pose = 7;
    figure.frame = 3;
    figure.facingLeft = 1;
    figure.heldItem = 2;
    EXPECT_EQ(figure.init(100, 280), &figure);
    EXPECT_EQ(figure.x, 100);
    EXPECT_EQ(figure.y, 280);
    EXPECT_EQ(figure.pose, kPoseWalk);
    EXPECT_EQ(figure.frame, 11);
    EXPECT_EQ(figure.facingLeft, 0);
    EXPECT_EQ(figure.heldItem, 0);
    // The owner's settings survive.
    EXPECT_EQ(figure.scale, 0.8f);
    EXPECT_EQ(figure.isPlayer, 1);
    EXPECT_EQ(figure.partSlots[0], 5);
    // Full-size joints until the first draw.
    EXPECT_EQ(figure.joints[kJointHead].x, 100);
    EXPECT_EQ(figure.joints[kJointHead].y, 290);
    EXPECT_EQ(figure.joints[kJointBody].y, 325);
    EXPECT_EQ(figure.joints[kJointNearLowerLeg].y, 405);
    EXPECT_EQ(figure.joints[kJointFarUpperArm].x, 125);
    EXPECT_EQ(figure.joints[kJointHip].x, 97);
}

using FigureJoints = FigureTest;

TEST_F(FigureJoints, FeetStayOnTheSameLineAtEveryScale) {
    DrawCharacter full = Player(100, 280, 1.0f);
    Draw(full);
    EXPECT_EQ(full.joints[kJointNearLowerLeg].x, 100);
    EXPECT_EQ(full.joints[kJointNearLowerLeg].y, 405);
    EXPECT_EQ(full.joints[kJointHead].x, 90);
    EXPECT_EQ(full.joints[kJointHead].y, 270);

    DrawCharacter half = Player(100, 280, 0.5f);
    Draw(half);
    // 280 + 62.5 + 75 = 417.5, truncated.
    EXPECT_EQ(half.joints[kJointNearLowerLeg].x, 100);
    EXPECT_EQ(half.joints[kJointNearLowerLeg].y, 417);
    EXPECT_EQ(half.joints[kJointFarLowerLeg].x, 104);
    EXPECT_EQ(half.joints[kJointFarLowerLeg].y, 417);
    // The head anchor drops with the figure but keeps its offsets unscaled.
    EXPECT_EQ(half.joints[kJointHead].x, 90);
    EXPECT_EQ(half.joints[kJointHead].y, 345);
    EXPECT_EQ(half.joints[kJointBody].x, 97);   // 100 - 2.5
    EXPECT_EQ(half.joints[kJointBody].y, 378);  // 280 + 23 + 75

    // The lower legs' pictures end 25 pixels (at full size) below their anchors: on y + 150.
    for (float scale : {1.0f, 0.5f, 0.72f}) {
        DrawCharacter figure = Player(100, 280, scale);
        Straighten(figure);
        const auto drawn = Draw(figure);
        for (SpriteIndex leg : {kNearLowerLeg, kFarLowerLeg}) {
            const ScreenPoint foot = Place(Sprite(drawn, leg).transform, 15, 25);
            EXPECT_NEAR(foot.y, 430.0f, 1.0f) << "scale " << scale;
        }
    }
}

TEST_F(FigureJoints, NegativePositionsTruncateTowardZero) {
    DrawCharacter figure = Passer(-101, -301, 0.5f);
    Draw(figure);
    EXPECT_EQ(figure.joints[kJointBody].x, -103);        // -103.5, not -104
    EXPECT_EQ(figure.joints[kJointFarUpperArm].x, -88);  // -88.5, not -89
    EXPECT_EQ(figure.joints[kJointHip].x, -102);         // -102.5, not -103
    EXPECT_EQ(figure.joints[kJointNearUpperArm].x, -106);
    EXPECT_EQ(figure.joints[kJointNearLowerLeg].y, -163);  // -301 + 62.5 + 75
    EXPECT_EQ(figure.joints[kJointHead].y, -236);          // -311 + 75
}

TEST_F(FigureJoints, TheHeldItemIsPlacedWithoutRounding) {
    DrawCharacter figure = Player(100, 280, 0.72f);
    Straighten(figure);
    const auto drawn = Draw(figure);
    const D3DXMATRIX& m = Sprite(drawn, kItem).transform;
    // Straight, the item's picture corner sits at its anchor (100 - 34 x 0.72, 280 + 99 x 0.72 + 42).
    EXPECT_NEAR(m._41, 75.52f, 1e-3f);
    EXPECT_NEAR(m._42, 393.28f, 1e-3f);
}

TEST_F(FigureJoints, DrawingChangesNothingButTheJoints) {
    DrawCharacter figure = Player(123, 250, 0.84f);
    figure.pose = kPoseAttack2;
    figure.frame = 7;
    figure.frameBack = 1;
    figure.facingLeft = 1;
    figure.vx = -16;
    figure.vy = 5;
    figure.groundY = 250;
    figure.dx = -1;
    figure.dy = 2;
    figure.flying = 0;
    const DrawCharacter before = figure;
    Draw(figure);
    EXPECT_EQ(figure.x, before.x);
    EXPECT_EQ(figure.y, before.y);
    EXPECT_EQ(figure.pose, before.pose);
    EXPECT_EQ(figure.frame, before.frame);
    EXPECT_EQ(figure.frameBack, before.frameBack);
    EXPECT_EQ(figure.facingLeft, before.facingLeft);
    EXPECT_EQ(figure.vx, before.vx);
    EXPECT_EQ(figure.vy, before.vy);
    EXPECT_EQ(figure.groundY, before.groundY);
    EXPECT_EQ(figure.dx, before.dx);
    EXPECT_EQ(figure.dy, before.dy);
    EXPECT_EQ(figure.flying, before.flying);
    EXPECT_EQ(figure.scale, before.scale);
    EXPECT_EQ(std::memcmp(figure.partSlots, before.partSlots, sizeof(figure.partSlots)), 0);
    EXPECT_EQ(figure.heldItem, before.heldItem);
    EXPECT_EQ(figure.isPlayer, before.isPlayer);
    EXPECT_NE(std::memcmp(figure.joints, before.joints, sizeof(figure.joints)), 0);
}

using FigureSprites = FigureTest;

TEST_F(FigureSprites, ElevenPicturesEmptyHandedTwelveWithAnItem) {
    DrawCharacter passer = Passer(300, 260);
    const auto bare = Draw(passer);
    ASSERT_EQ(bare.size(), 11u);
    for (const SpriteDrawRecord& r : bare) {
        EXPECT_NE(r.texture, Slot(kBagSlot));
        EXPECT_NE(r.texture, Slot(kUmbrellaSlot));
    }

    DrawCharacter player = Player(100, 280);
    const auto withBag = Draw(player);
    ASSERT_EQ(withBag.size(), 12u);
    EXPECT_EQ(withBag[kItem].texture, Slot(kBagSlot));

    passer.heldItem = 2;
    const auto withUmbrella = Draw(passer);
    ASSERT_EQ(withUmbrella.size(), 12u);
    EXPECT_EQ(withUmbrella[kItem].texture, Slot(kUmbrellaSlot));
}

TEST_F(FigureSprites, FarLimbsBehindNearArmInFront) {
    DrawCharacter player = Player(100, 280);
    const auto drawn = Draw(player);
    ASSERT_EQ(drawn.size(), 12u);
    const int* parts = kPlayerParts;
    const int expected[12] = {parts[kPartLowerArm], parts[kPartUpperArm],
                              parts[kPartLowerLeg], parts[kPartUpperLeg],
                              parts[kPartLowerLeg], parts[kPartUpperLeg],
                              parts[kPartHip],      parts[kPartBody],
                              parts[kPartHead],     kBagSlot,
                              parts[kPartUpperArm], parts[kPartLowerArm]};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(drawn[i].texture, Slot(expected[i])) << "sprite " << i;
        EXPECT_EQ(drawn[i].color, 0xFFFFFFFFu) << "sprite " << i;
    }
    // Hip, body and head cut their pictures out of the texture; the rest draw it whole.
    auto expectRect = [&](SpriteIndex i, LONG w, LONG h) {
        ASSERT_TRUE(drawn[i].hasRect) << "sprite " << i;
        EXPECT_EQ(drawn[i].rect.left, 0);
        EXPECT_EQ(drawn[i].rect.top, 0);
        EXPECT_EQ(drawn[i].rect.right, w);
        EXPECT_EQ(drawn[i].rect.bottom, h);
    };
    expectRect(kHip, 70, 35);
    expectRect(kBody, 50, 81);
    expectRect(kHead, 64, 64);
    for (SpriteIndex i : {kFarLowerArm, kFarUpperArm, kFarLowerLeg, kFarUpperLeg, kNearLowerLeg,
                          kNearUpperLeg, kItem, kNearUpperArm, kNearLowerArm}) {
        EXPECT_FALSE(drawn[i].hasRect) << "sprite " << i;
    }
}

TEST_F(FigureSprites, PlayerChangesHisHeadWhenStumblingAndAttacking) {
    DrawCharacter player = Player(100, 280);
    for (int pose = 0; pose < kPoseCount; ++pose) {
        player.pose = pose;
        player.frame = 4;
        const auto drawn = Draw(player);
        int expected = kPlayerParts[kPartHead];
        if (pose == kPoseStumble) expected = kPlayerStumbleHeadSlot;
        if (pose >= kPoseAttack1 && pose <= kPoseAttack3) expected = kPlayerAttackHeadSlot;
        EXPECT_EQ(Sprite(drawn, kHead).texture, Slot(expected)) << "pose " << pose;
    }
}

TEST_F(FigureSprites, PasserByKeepsItsOwnHead) {
    DrawCharacter passer = Passer(300, 260);
    for (int pose = 0; pose < kPoseCount; ++pose) {
        passer.pose = pose;
        passer.frame = 4;
        const auto drawn = Draw(passer);
        EXPECT_EQ(Sprite(drawn, kHead).texture, Slot(kPasserParts[kPartHead])) << "pose " << pose;
    }
    // The player's own look on a figure that is not the player: no head change either.
    DrawCharacter lookalike = Player(100, 280);
    lookalike.isPlayer = 0;
    lookalike.pose = kPoseStumble;
    EXPECT_EQ(Sprite(Draw(lookalike), kHead).texture, Slot(kPlayerParts[kPartHead]));
}

TEST_F(FigureSprites, AMissingPictureLeavesOnlyItsOwnGap) {
    DrawCharacter passer = Passer(300, 260);
    const auto whole = Draw(passer);
    passer.partSlots[kPartHip] = 15;  // a slot the game never fills
    ASSERT_EQ(Slot(15), nullptr);
    const auto gap = Draw(passer);
    ASSERT_EQ(gap.size(), whole.size() - 1);
    for (std::size_t i = 0, j = 0; i < whole.size(); ++i) {
        if (i == static_cast<std::size_t>(kHip)) continue;
        EXPECT_EQ(gap[j].texture, whole[i].texture);
        EXPECT_TRUE(gap[j].transform == whole[i].transform);
        ++j;
    }
}

// The body's transform worked out link by link as the figure's chain reads: waist, then body, then
// the scale and the anchor.
D3DXMATRIX BodyChain(int pose, int frame, float scale, POINT anchor) {
    D3DXMATRIX m, t;
    D3DXMatrixIdentity(&m);
    m *= *D3DXMatrixTranslation(&t, -25, -3, 0);
    m *= *D3DXMatrixRotationZ(&t, PoseAngle(::kWaist, pose, frame) * kDegreesToRadians);
    m *= *D3DXMatrixTranslation(&t, 25, 3, 0);
    m *= *D3DXMatrixTranslation(&t, -25, 15, 0);
    m *= *D3DXMatrixRotationZ(&t, PoseAngle(::kBody, pose, frame) * kDegreesToRadians);
    m *= *D3DXMatrixTranslation(&t, 25, -15, 0);
    m *= *D3DXMatrixScaling(&t, scale, scale, 1);
    m *= *D3DXMatrixTranslation(&t, float(anchor.x), float(anchor.y), 0);
    return m;
}

TEST(MatrixProduct, SumsEveryElementLeftToRightBitForBit) {
    const float values[] = {0.0f,    -0.0f,  1.0f, -1.0f,       0.5f,     3.0e-39f,
                            1.0e30f, -7.25f, 0.1f, 1.0f / 3.0f, 123456.7f};
    const int count = sizeof values / sizeof values[0];
    unsigned seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return values[(seed >> 16) % count] * ((seed & 1) ? 1.0f : 0.75f);
    };
    for (int round = 0; round < 2000; ++round) {
        D3DXMATRIX a, b, expected;
        for (int i = 0; i < 16; ++i) a.m[i / 4][i % 4] = next(), b.m[i / 4][i % 4] = next();
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                float sum = a.m[i][0] * b.m[0][j];
                sum = sum + a.m[i][1] * b.m[1][j];
                sum = sum + a.m[i][2] * b.m[2][j];
                expected.m[i][j] = sum + a.m[i][3] * b.m[3][j];
            }
        D3DXMATRIX out;
        D3DXMatrixMultiply(&out, &a, &b);
        ASSERT_EQ(std::memcmp(out.m, expected.m, sizeof out.m), 0) << "round " << round;
        // In place, either way round.
        D3DXMATRIX left = a, right = b;
        left *= b;
        ASSERT_EQ(std::memcmp(left.m, expected.m, sizeof left.m), 0) << "round " << round;
        D3DXMatrixMultiply(&right, &a, &right);
        ASSERT_EQ(std::memcmp(right.m, expected.m, sizeof right.m), 0) << "round " << round;
    }
}

using FigureTransform = FigureTest;

TEST_F(FigureTransform, EveryPoseAndFrameKeepsItsOwnChainWhateverWasDrawnBefore) {
    DrawCharacter passer = Passer(300, 260);
    // Back and forth through the table, at two scales, so each pose and frame is met after others.
    for (int pass = 0; pass < 2; ++pass) {
        passer.scale = pass == 0 ? 1.0f : 0.75f;
        for (int n = 0; n < kPoseCount * kPoseFrameCount; ++n) {
            const int k =
                pass == 0 ? (n * 7) % (kPoseCount * kPoseFrameCount) : kPoseCount * kPoseFrameCount - 1 - n;
            passer.pose = k / kPoseFrameCount;
            passer.frame = k % kPoseFrameCount;
            const auto drawn = Draw(passer);
            const D3DXMATRIX expected =
                BodyChain(passer.pose, passer.frame, passer.scale, passer.joints[kJointBody]);
            EXPECT_EQ(std::memcmp(Sprite(drawn, kBody).transform.m, expected.m, sizeof expected.m), 0)
                << "pose " << passer.pose << " frame " << passer.frame << " scale " << passer.scale;
        }
    }
}

TEST_F(FigureTransform, KnockedAwayFigureTurnsAboutItsMiddle) {
    const int x = 200, y = 150;
    DrawCharacter passer = Passer(x, y);
    passer.pose = kPoseKnockedAway;
    for (int frame = 0; frame < kPoseFrameCount; ++frame) {
        passer.frame = frame;
        const auto drawn = Draw(passer);
        // Body and head turn about their own points, which stay put (the body's where it is when
        // standing straight, the channel-9 pivot of every sprite)...
        const ScreenPoint body = Place(Sprite(drawn, kBody).transform, 25, -15);
        EXPECT_NEAR(body.x, x + 20, 1e-3) << frame;
        EXPECT_NEAR(body.y, y + 31, 1e-3) << frame;
        const ScreenPoint head = Place(Sprite(drawn, kHead).transform, 20, 20);
        EXPECT_NEAR(head.x, x + 10, 1e-3) << frame;
        EXPECT_NEAR(head.y, y + 10, 1e-3) << frame;
        // ...and so does the point of the hip and legs.
        for (SpriteIndex i : {kHip}) {
            const ScreenPoint p = Place(Sprite(drawn, i).transform, 23, -75);
            EXPECT_NEAR(p.x, x + 20, 1e-3) << frame;
            EXPECT_NEAR(p.y, y + 30, 1e-3) << frame;
        }
        const ScreenPoint leg = Place(Sprite(drawn, kNearLowerLeg).transform, 20, -95);
        EXPECT_NEAR(leg.x, x + 20, 1e-3) << frame;
        EXPECT_NEAR(leg.y, y + 30, 1e-3) << frame;
    }

    // A quarter turn (frame 5, 90 degrees clockwise): worked out by hand.
    passer.frame = 5;
    const auto drawn = Draw(passer);
    const ScreenPoint bodyCorner = Place(Sprite(drawn, kBody).transform, 0, 0);
    EXPECT_NEAR(bodyCorner.x, x + 5, 1e-3);  // (-25, 15) from the pivot turns to (-15, -25)
    EXPECT_NEAR(bodyCorner.y, y + 6, 1e-3);
    const ScreenPoint headCorner = Place(Sprite(drawn, kHead).transform, 0, 0);
    EXPECT_NEAR(headCorner.x, x + 30, 1e-3);  // (-20, -20) turns to (20, -20)
    EXPECT_NEAR(headCorner.y, y - 10, 1e-3);
    const ScreenPoint legCorner = Place(Sprite(drawn, kNearLowerLeg).transform, 0, 0);
    EXPECT_NEAR(legCorner.x, x - 75, 1e-3);  // the legs point backward
    EXPECT_NEAR(legCorner.y, y + 10, 1e-3);
}

TEST_F(FigureTransform, KnockedAwayTurnLoopsSeamlessly) {
    // Frame 19 turned on by one more step is frame 0 again, sprite by sprite.
    DrawCharacter passer = Passer(200, 150);
    passer.pose = kPoseKnockedAway;
    passer.frame = 19;
    const auto last = Draw(passer);
    passer.frame = 0;
    const auto first = Draw(passer);
    ASSERT_EQ(last.size(), first.size());
    const float step = 18.0f * kPi / 180.0f;
    for (std::size_t i = 0; i < last.size(); ++i) {
        const bool head = i == static_cast<std::size_t>(kHead);
        const bool body = i == static_cast<std::size_t>(kBody);
        const float px = head ? 210.0f : 220.0f;
        const float py = head ? 160.0f : (body ? 181.0f : 180.0f);
        for (const auto& t : kTexels) {
            const ScreenPoint a = Place(last[i].transform, t[0], t[1]);
            const float dx = a.x - px, dy = a.y - py;
            const ScreenPoint turned = {px + dx * std::cos(step) - dy * std::sin(step),
                                        py + dx * std::sin(step) + dy * std::cos(step)};
            const ScreenPoint b = Place(first[i].transform, t[0], t[1]);
            EXPECT_NEAR(turned.x, b.x, 0.01f) << "sprite " << i;
            EXPECT_NEAR(turned.y, b.y, 0.01f) << "sprite " << i;
        }
    }
}

TEST_F(FigureTransform, ShoulderSwingsTheWholeArm) {
    // Stumbling, the near shoulder stands at 40 degrees: the elbow, 26 pixels below the shoulder at
    // (x + 2, y + 62), swings forward and up to (x + 2 - 26 sin 40, y + 62 + 26 cos 40).
    DrawCharacter player = Player(100, 280);
    player.pose = kPoseStumble;
    const auto drawn = Draw(player);
    const ScreenPoint elbow = Place(Sprite(drawn, kNearLowerArm).transform, 12, 10);
    const float a = 40.0f * kPi / 180.0f;
    EXPECT_NEAR(elbow.x, 102.0f - 26.0f * std::sin(a), 1e-3);
    EXPECT_NEAR(elbow.y, 342.0f + 26.0f * std::cos(a), 1e-3);
    // The upper arm turns about its shoulder, a pixel lower than the lower arm's.
    const ScreenPoint shoulder = Place(Sprite(drawn, kNearUpperArm).transform, 12, 10);
    EXPECT_NEAR(shoulder.x, 102.0f, 1e-3);
    EXPECT_NEAR(shoulder.y, 343.0f, 1e-3);
}

TEST_F(FigureTransform, TheBagHangsFromTheNearElbowInEveryPose) {
    DrawCharacter player = Player(100, 280);
    for (int pose = 0; pose < kPoseCount; ++pose) {
        for (int frame = 0; frame < kPoseFrameCount; frame += 3) {
            player.pose = pose;
            player.frame = frame;
            const auto drawn = Draw(player);
            const ScreenPoint bagElbow = Place(drawn[kItem].transform, 36, -11);
            const ScreenPoint armElbow = Place(drawn[kNearLowerArm].transform, 12, 10);
            // The bag's shoulder is 2 pixels above the forearm's, so a raised arm parts them by up to 4.
            EXPECT_LE(std::hypot(bagElbow.x - armElbow.x, bagElbow.y - armElbow.y), 4.001f)
                << "pose " << pose << " frame " << frame;
        }
    }
}

TEST_F(FigureTransform, LimbsStayJoinedInEveryPoseAndFrame) {
    // The lower part's joint goes where its upper part's end went. The two turn about points a few
    // pixels apart (shoulders 1, hips 5), which parts them a little at large angles.
    struct Limb {
        SpriteIndex upper, lower;
        float endU, endV, jointU, jointV, tolerance;
    };
    const Limb limbs[] = {
        {kNearUpperArm, kNearLowerArm, 12, 36, 12, 10, 2.01f},
        {kFarUpperArm, kFarLowerArm, 12, 36, 12, 10, 2.01f},
        {kNearUpperLeg, kNearLowerLeg, 15, 40, 15, 10, 6.0f},
        {kFarUpperLeg, kFarLowerLeg, 15, 40, 15, 10, 6.0f},
    };
    DrawCharacter player = Player(100, 280);
    for (int facingLeft = 0; facingLeft < 2; ++facingLeft) {
        for (int pose = 0; pose < kPoseCount; ++pose) {
            for (int frame = 0; frame < kPoseFrameCount; ++frame) {
                player.facingLeft = facingLeft;
                player.pose = pose;
                player.frame = frame;
                const auto drawn = Draw(player);
                for (const Limb& limb : limbs) {
                    const ScreenPoint end = Place(drawn[limb.upper].transform, limb.endU, limb.endV);
                    const ScreenPoint joint = Place(drawn[limb.lower].transform, limb.jointU, limb.jointV);
                    EXPECT_LE(std::hypot(end.x - joint.x, end.y - joint.y), limb.tolerance)
                        << "sprites " << limb.upper << "/" << limb.lower << " pose " << pose << " frame "
                        << frame << (facingLeft ? " left" : " right");
                }
            }
        }
    }
}

TEST_F(FigureTransform, FarForearmKeepsItsFullHeightWhenSmall) {
    DrawCharacter far = Passer(100, 280, 0.5f);
    Straighten(far);
    const auto drawn = Draw(far);
    const D3DXMATRIX& farArm = Sprite(drawn, kFarLowerArm).transform;
    const D3DXMATRIX& nearArm = Sprite(drawn, kNearLowerArm).transform;
    EXPECT_FLOAT_EQ(Place(farArm, 0, 40).y - Place(farArm, 0, 0).y, 40.0f);
    EXPECT_FLOAT_EQ(Place(farArm, 20, 0).x - Place(farArm, 0, 0).x, 10.0f);
    EXPECT_FLOAT_EQ(Place(nearArm, 0, 40).y - Place(nearArm, 0, 0).y, 20.0f);
    EXPECT_FLOAT_EQ(Place(nearArm, 20, 0).x - Place(nearArm, 0, 0).x, 10.0f);
}

using FigureMirror = FigureTest;

TEST_F(FigureMirror, FacingLeftMirrorsEverySpriteAboutItsOwnLine) {
    struct Case {
        int pose, frame;
        float scale;
    };
    for (const Case& c : {Case{kPoseWalk, 3, 1.0f}, Case{kPoseKnockedAway, 7, 0.72f},
                          Case{kPoseAttack3, 12, 0.9f}, Case{kPoseSlide, 19, 0.5f}}) {
        DrawCharacter player = Player(250, 200, c.scale);
        player.pose = c.pose;
        player.frame = c.frame;
        const auto right = Draw(player);
        player.facingLeft = 1;
        const auto left = Draw(player);
        ASSERT_EQ(right.size(), left.size());
        for (std::size_t i = 0; i < right.size(); ++i) {
            EXPECT_EQ(left[i].texture, right[i].texture);
            // Same heights, and x mirrored: the sum of both x is the same for every texel.
            const float axis2 = Place(left[i].transform, 0, 0).x + Place(right[i].transform, 0, 0).x;
            for (const auto& t : kTexels) {
                const ScreenPoint r = Place(right[i].transform, t[0], t[1]);
                const ScreenPoint l = Place(left[i].transform, t[0], t[1]);
                EXPECT_NEAR(l.y, r.y, 1e-3) << "pose " << c.pose << " sprite " << i;
                EXPECT_NEAR(l.x + r.x, axis2, 1e-3) << "pose " << c.pose << " sprite " << i;
            }
        }
    }
}

TEST_F(FigureMirror, BodyTurnsAroundInPlaceAtFullSize) {
    DrawCharacter player = Player(100, 280);
    player.facingLeft = 1;
    Straighten(player);
    const auto drawn = Draw(player);
    // The body's turning point stays at (x + 20, y + 31); its picture now spans x + 20 - 25 .. x + 20 + 25
    // the other way round.
    const ScreenPoint pivot = Place(Sprite(drawn, kBody).transform, 25, -15);
    EXPECT_FLOAT_EQ(pivot.x, 120.0f);
    EXPECT_FLOAT_EQ(pivot.y, 311.0f);
    EXPECT_FLOAT_EQ(Place(Sprite(drawn, kBody).transform, 0, 0).x, 145.0f);
    // The head turns about (x + 24, y + 10) when facing left: 2 (x - 10) + 54 - (x + 10).
    const ScreenPoint head = Place(Sprite(drawn, kHead).transform, 20, 20);
    EXPECT_FLOAT_EQ(head.x, 124.0f);
    EXPECT_FLOAT_EQ(head.y, 290.0f);
    // Far and near legs swap sides: at full size the near knee moves from x + 15 to x + 23.
    const ScreenPoint knee = Place(Sprite(drawn, kNearLowerLeg).transform, 15, 10);
    EXPECT_FLOAT_EQ(knee.x, 123.0f);
    EXPECT_FLOAT_EQ(knee.y, 415.0f);
}

}  // namespace
}  // namespace figure_test
