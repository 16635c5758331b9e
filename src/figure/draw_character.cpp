#include "figure/draw_character.h"

#include "figure/pose_table.h"
#include "graphics/sprite_pass.h"
#include "platform/d3dx9.h"
#include "app/game_app.h"

namespace {

constexpr D3DCOLOR kOpaqueWhite = 0xFFFFFFFF;

// Offset of a joint from the figure position, in full-size pixels.
struct JointOffset {
    int x, y;
};
constexpr JointOffset kJointOffsets[kJointCount] = {
    {-10, -10},  // head: a fixed offset, only dropped with the scale
    {-5, 46},    // body
    {-10, 53},   // near upper arm
    {-10, 78},   // near lower arm
    {25, 58},    // far upper arm
    {25, 83},    // far lower arm
    {0, 95},     // near upper leg
    {0, 125},    // near lower leg
    {8, 95},     // far upper leg
    {8, 125},    // far lower leg
    {-3, 105},   // hip
};

// The held item hangs from the near hand; its anchor is not one of the joints.
constexpr float kItemOffsetX = -34.0f;
constexpr float kItemOffsetY = 99.0f;

// One link of a sprite's rotation chain: the channel's angle turns the picture about a point given
// in pixels of the picture itself.
struct Pivot {
    int channel;
    float x, y;
};

// Which picture a sprite shows.
enum PictureSource { kFromPart, kHeadPicture, kHeldItemPicture };

struct PartSprite {
    PictureSource source;
    int part;                   // partSlots index for kFromPart
    int rectWidth, rectHeight;  // 0: the whole picture
    int joint;                  // anchor joint; -1: the held item's own anchor
    int links;
    Pivot chain[4];       // own joint first, whole body last
    float shiftPerScale;  // mirror shift = shiftPerScale * scale + shift
    float shift;
    bool fullHeight;  // scaled in x only
};

// Painter's order: the far limbs behind, the near arm and what it holds in front.
// The pivots differ a little from sprite to sprite; they are what makes the parts meet.
// clang-format off
constexpr PartSprite kSprites[] = {
    // far lower arm: keeps its full height at any scale
    {kFromPart, kPartLowerArm, 0, 0, kJointFarLowerArm, 4,
     {{kFarElbow, 12, 10}, {kFarShoulder, 12, -16}, {kWaist, -5, -35}, {kBody, -5, -53}}, -30, 20, true},
    // far upper arm
    {kFromPart, kPartUpperArm, 0, 0, kJointFarUpperArm, 3,
     {{kFarShoulder, 12, 10}, {kWaist, -5, -10}, {kBody, -5, -28}}, -30, 20, false},
    // far lower leg
    {kFromPart, kPartLowerLeg, 0, 0, kJointFarLowerLeg, 4,
     {{kFarKnee, 15, 10}, {kFarHip, 15, -15}, {kWaist, 12, -77}, {kBody, 12, -95}}, 0, 22, false},
    // far upper leg
    {kFromPart, kPartUpperLeg, 0, 0, kJointFarUpperLeg, 3,
     {{kFarHip, 15, 10}, {kWaist, 12, -47}, {kBody, 12, -65}}, 0, 22, false},
    // near lower leg
    {kFromPart, kPartLowerLeg, 0, 0, kJointNearLowerLeg, 4,
     {{kNearKnee, 15, 10}, {kNearHip, 15, -15}, {kWaist, 20, -77}, {kBody, 20, -95}}, 0, 38, false},
    // near upper leg
    {kFromPart, kPartUpperLeg, 0, 0, kJointNearUpperLeg, 3,
     {{kNearHip, 15, 10}, {kWaist, 20, -47}, {kBody, 20, -65}}, 0, 38, false},
    // hip
    {kFromPart, kPartHip, 70, 35, kJointHip, 2, {{kWaist, 23, -57}, {kBody, 23, -75}}, 20, 28, false},
    // body
    {kFromPart, kPartBody, 50, 81, kJointBody, 2, {{kWaist, 25, 3}, {kBody, 25, -15}}, 20, 30, false},
    // head: turns with the body, but about its own point
    {kHeadPicture, kPartHead, 64, 64, kJointHead, 1, {{kBody, 20, 20}}, 0, 54, false},
    // held item
    {kHeldItemPicture, 0, 0, 0, -1, 4,
     {{kNearElbow, 36, -11}, {kNearShoulder, 36, -39}, {kWaist, 54, -51}, {kBody, 54, -69}}, 20, 80, false},
    // near upper arm
    {kFromPart, kPartUpperArm, 0, 0, kJointNearUpperArm, 3,
     {{kNearShoulder, 12, 10}, {kWaist, 30, -5}, {kBody, 30, -23}}, 20, 38, false},
    // near lower arm
    {kFromPart, kPartLowerArm, 0, 0, kJointNearLowerArm, 4,
     {{kNearElbow, 12, 10}, {kNearShoulder, 12, -16}, {kWaist, 30, -30}, {kBody, 30, -48}}, 20, 38, false},
};
// clang-format on
constexpr int kSpriteCount = sizeof(kSprites) / sizeof(kSprites[0]);
static_assert(kSpriteCount == 12, "the figure is twelve sprites");

// A sprite's rotation chain at the given channel angles (degrees): each link turns the picture about
// its pivot, own joint first.
void RotationChain(const PartSprite& part, const float* angles, D3DXMATRIX* m) {
    D3DXMATRIX step;
    D3DXMatrixIdentity(m);
    for (int i = 0; i < part.links; ++i) {
        const Pivot& p = part.chain[i];
        *m *= *D3DXMatrixTranslation(&step, -p.x, -p.y, 0.0f);
        *m *= *D3DXMatrixRotationZ(&step, angles[p.channel] * kDegreesToRadians);
        *m *= *D3DXMatrixTranslation(&step, p.x, p.y, 0.0f);
    }
}

// The rotation chains depend on the pose and frame alone, so each pose and frame has its twelve
// worked out once, the first time a figure is drawn in it; every figure after that starts from them.
struct PoseChains {
    bool ready = false;
    D3DXMATRIX sprites[kSpriteCount];
};
PoseChains poseChains[kPoseCount][kPoseFrameCount];

const PoseChains& ChainsAt(int pose, int frame) {
    PoseChains& chains = poseChains[pose][frame];
    if (!chains.ready) {
        float angles[kPoseChannelCount];
        for (int c = 0; c < kPoseChannelCount; ++c) angles[c] = PoseAngle(c, pose, frame);
        for (int i = 0; i < kSpriteCount; ++i) RotationChain(kSprites[i], angles, &chains.sprites[i]);
        chains.ready = true;
    }
    return chains;
}

}  // namespace

DrawCharacter* DrawCharacter::init(int x, int y) {
    this->x = x;
    this->y = y;
    // Full-size joints until the first draw; the head and body presets differ a little from what
    // draw computes.
    const POINT preset[kJointCount] = {
        {x, y + 10}, {x - 5, y + 45}, {x - 10, y + 53}, {x - 10, y + 78}, {x + 25, y + 58}, {x + 25, y + 83},
        {x, y + 95}, {x, y + 125},    {x + 8, y + 95},  {x + 8, y + 125}, {x - 3, y + 105},
    };
    for (int j = 0; j < kJointCount; ++j) joints[j] = preset[j];
    pose = kPoseWalk;
    frame = 11;
    facingLeft = 0;
    heldItem = 0;
    return this;
}

void DrawCharacter::draw() {
    GameApp& app = GameApp::Get();
    ID3DXSprite* sprite = app.graphics.sprite;

    // A smaller figure stands further away: drop it so that its feet stay on y + 150.
    const double s = scale;
    const double drop = 150.0 - 150.0 * s;
    joints[kJointHead] = {x - 10, static_cast<LONG>((y - 10) + drop)};
    for (int j = kJointBody; j < kJointCount; ++j) {
        joints[j] = {static_cast<LONG>(x + kJointOffsets[j].x * s),
                     static_cast<LONG>(y + kJointOffsets[j].y * s + drop)};
    }
    const float itemX = static_cast<float>(x + kItemOffsetX * s);
    const float itemY = static_cast<float>(y + kItemOffsetY * s + drop);

    // A pose or frame outside the table (the owner's slip) has its chains worked out on the spot.
    const bool tabled = pose >= 0 && pose < kPoseCount && frame >= 0 && frame < kPoseFrameCount;
    const PoseChains* chains = tabled ? &ChainsAt(pose, frame) : nullptr;
    float angles[kPoseChannelCount];
    if (!tabled)
        for (int c = 0; c < kPoseChannelCount; ++c) angles[c] = PoseAngle(c, pose, frame);

    // The player pulls a face when he stumbles and when he attacks.
    int headSlot = partSlots[kPartHead];
    if (isPlayer == 1 && pose == kPoseStumble) {
        headSlot = kPlayerStumbleHeadSlot;
    } else if (isPlayer == 1 && pose >= kPoseAttack1 && pose <= kPoseAttack3) {
        headSlot = kPlayerAttackHeadSlot;
    }

    for (int index = 0; index < kSpriteCount; ++index) {
        const PartSprite& part = kSprites[index];
        IDirect3DTexture9* texture;
        if (part.source == kHeldItemPicture) {
            if (heldItem == 0) continue;
            texture = app.textures[kHeldItemSlotBase + heldItem];
        } else if (part.source == kHeadPicture) {
            texture = app.textures[headSlot];
        } else {
            texture = app.textures[partSlots[part.part]];
        }

        D3DXMATRIX m, step;
        if (chains)
            m = chains->sprites[index];
        else
            RotationChain(part, angles, &m);
        m *= *D3DXMatrixScaling(&step, scale, part.fullHeight ? 1.0f : scale, 1.0f);
        if (facingLeft != 0) {
            // Each sprite flips about its own anchor; the shift puts the figure together again.
            m *= *D3DXMatrixScaling(&step, -1.0f, 1.0f, 1.0f);
            m *= *D3DXMatrixTranslation(&step, part.shiftPerScale * scale + part.shift, 0.0f, 0.0f);
        }
        if (part.joint < 0) {
            m *= *D3DXMatrixTranslation(&step, itemX, itemY, 0.0f);
        } else {
            m *= *D3DXMatrixTranslation(&step, static_cast<float>(joints[part.joint].x),
                                        static_cast<float>(joints[part.joint].y), 0.0f);
        }

        const RECT rect = {0, 0, part.rectWidth, part.rectHeight};
        sprite->SetTransform(&m);
        sprite->Draw(texture, part.rectWidth != 0 ? &rect : nullptr, nullptr, nullptr, kOpaqueWhite);
    }
}
