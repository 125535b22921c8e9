#pragma once
// "Player": the player character. One object per player in a play level,
// named "Player_" followed by '0' + the player's number (0 to 15). Its input
// pass turns the devices into eight input variables (or a bot writes them),
// "UpdateBehavior" moves the body against the level grid and handles grabs,
// throws and self-destruct, "OnDeath" bursts it into paint, and the
// "GraphicsUpdate" pass glides it back to the checkpoint after a death.
#include <cstdint>
#include <string>
#include <vector>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"
#include "platform/graphics/FrameCounter.h"

namespace ObjectData::Player {

// The animation cursor a new player starts with.
inline FrameCounter WalkingCursor() {
    FrameCounter cursor;
    cursor.SetAnimationSet("playerWalk");
    return cursor;
}

constexpr int kTrailLength = 2048;
constexpr int kSplatCount = 512;
constexpr int kBallCount = 1024;
constexpr int kSpeedZoneBytes = 65536;

// The name label over a player: letter height in level units, and the mask
// that takes the player's colour, a little see-through, so the label reads
// on the night sky without hiding what passes behind it.
constexpr float kNameLabelHeight = 0.45f;
constexpr std::uint32_t kNameLabelTint = 0xDDFFFFFFu;

// Bits of collisionflag: the contacts of the last collision step.
constexpr std::int32_t kWallLeft = 1;
constexpr std::int32_t kWallRight = 2;
constexpr std::int32_t kCeiling = 4;
constexpr std::int32_t kFloor = 8;

// The variables, in the type's order. Every one has a defined start value:
// those the type leaves to others ("kept for other types") start at zero.
struct Variables {
    Object* nameText = nullptr;
    float explodeMe = 0.0f;
    std::int32_t score = 0;
    std::int32_t grabbed = 0;
    std::int32_t grabbing = -1;
    std::int32_t grabbedBy = -1;
    std::int32_t grabSize = 5;
    float throwSpeed = 0.3f;
    std::int32_t deathDelay = 0;
    bool networked = true;
    std::int32_t OwnerID = -1;
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 oldPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 oldVelocity{0.0f, 0.0f};
    std::int32_t wallJump = 0;
    std::int32_t wallJumpLength = 15;
    D3DXVECTOR2 size{1.0f, 1.0f};
    std::int32_t currentCheckpoint = 0;
    float jumpVelocity = 0.15f;
    std::int32_t collisionflag = 0;
    std::vector<D3DXVECTOR2> Hotspots = std::vector<D3DXVECTOR2>(8);
    FrameCounter frame = WalkingCursor();
    CollisionInfo2D collision;
    std::int32_t easyJump = 1;
    std::int32_t jumpForgiveness = 5;
    std::int32_t easyWallJump = 1;
    std::int32_t wallJumpForgiveness = 8;
    float lightSize = 1.0f;
    bool landed = false;
    bool camChangeY = true;
    float camY = 0.0f;
    D3DXVECTOR2 focus{0.0f, 0.0f};
    D3DXVECTOR2 newFocus{0.0f, 0.0f};
    D3DXVECTOR2 cameraPosition{0.0f, 0.0f};
    std::uint32_t playerColor = 0xFF3732FFu;
    std::string playerName;
    D3DXVECTOR3 headPosition{0.0f, 0.3f, 0.5f};
    D3DXVECTOR3 headPositionGoal{0.0f, 0.3f, 0.5f};
    D3DXVECTOR2 headSize{0.4f, 0.4f};
    D3DXVECTOR2 headSizeGoal{0.4f, 0.4f};
    D3DXVECTOR3 bodyPosition{0.0f, -0.125f, 0.5f};
    D3DXVECTOR3 bodyPositionGoal{0.0f, -0.125f, 0.5f};
    D3DXVECTOR2 bodySize{0.3f, 0.3f};
    D3DXVECTOR2 bodySizeGoal{0.3f, 0.3f};
    D3DXVECTOR3 rightHandPosition{0.2f, -0.15f, 0.2f};
    D3DXVECTOR3 rightHandPositionGoal{0.2f, -0.15f, 0.2f};
    D3DXVECTOR2 rightHandSize{0.2f, 0.2f};
    D3DXVECTOR2 rightHandSizeGoal{0.2f, 0.2f};
    D3DXVECTOR3 leftHandPosition{-0.2f, -0.15f, 0.8f};
    D3DXVECTOR3 leftHandPositionGoal{-0.2f, -0.15f, 0.8f};
    D3DXVECTOR2 leftHandSize{0.2f, 0.2f};
    D3DXVECTOR2 leftHandSizeGoal{0.2f, 0.2f};
    D3DXVECTOR3 rightFootPosition{0.15f, -0.4f, 0.3f};
    D3DXVECTOR3 rightFootPositionGoal{0.15f, -0.4f, 0.3f};
    D3DXVECTOR2 rightFootSize{0.2f, 0.2f};
    D3DXVECTOR2 rightFootSizeGoal{0.2f, 0.2f};
    D3DXVECTOR3 leftFootPosition{-0.15f, -0.4f, 0.7f};
    D3DXVECTOR3 leftFootPositionGoal{-0.15f, -0.4f, 0.7f};
    D3DXVECTOR2 leftFootSize{0.2f, 0.2f};
    D3DXVECTOR2 leftFootSizeGoal{0.2f, 0.2f};
    D3DXVECTOR2 leftEyeSize{0.12f, 0.12f};
    D3DXVECTOR2 rightEyeSize{0.12f, 0.12f};
    D3DXVECTOR2 leftEyeSizeGoal{0.12f, 0.12f};
    D3DXVECTOR2 rightEyeSizeGoal{0.12f, 0.12f};
    D3DXVECTOR2 eyesPosition{0.0f, 0.0f};
    D3DXVECTOR2 eyesPositionGoal{0.0f, 0.0f};
    std::int32_t lookAt = 0;
    std::int32_t blinkTime = 0;
    float spdBoost = 0.0f;
    float speedBoostLength = 240.0f;
    bool faceRight = true;
    float facingRight = 1.0f;
    float runCycle = 0.0f;
    float airRun = 0.0f;
    float heartRate = 0.2f;
    float breathing = 0.0f;
    std::int32_t hoverTime = 0;
    std::uint32_t startTime = 0;  // the level's start, on the same millisecond clock
    std::int32_t currentTime = 0;
    std::int32_t timeInRace = 0;
    bool rolling = false;
    bool userControlled = true;
    D3DXVECTOR3 splatOffset{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 trailPosition[kTrailLength] = {};
    D3DXVECTOR2 trailSize[kTrailLength] = {};
    float trailAlpha[kTrailLength] = {};
    std::int32_t trailCurrent = 0;
    D3DXVECTOR3 splatPosition[kSplatCount] = {};
    D3DXVECTOR2 splatSize[kSplatCount] = {};
    float splatRotation[kSplatCount] = {};
    float splatAlpha[kSplatCount] = {};
    float splatFade[kSplatCount] = {};
    std::int32_t splatCurrent = 0;
    D3DXVECTOR3 ballPosition[kBallCount] = {};
    D3DXVECTOR2 ballVelocity[kBallCount] = {};
    bool ballSplats[kBallCount] = {};
    D3DXVECTOR2 ballSize[kBallCount] = {};
    std::int32_t ballCurrent = 0;
    bool nodrag = false;
    bool jumpPressed = false;
    bool jumpTriggered = false;
    bool leftPressed = false;
    bool rightPressed = false;
    bool upPressed = false;
    bool downPressed = false;
    bool grabTriggered = false;
    bool grabPressed = false;
    unsigned char* speedZone = nullptr;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// Whether entity is a player (of this type or a variant of it).
bool IsPlayer(const Entity* entity);
Variables& Vars(Entity* player);
// A figure that is nobody's in a match (alone, or for show): no name label,
// and its deaths cost nothing.
void DropNetworking(Entity* player);

// The player numbered n (0 to 15) in the state of self, or null.
Entity* FindPlayer(const Entity* self, int number);

// A held player rides above its holder's head, lower under dirt or spikes:
// its place and motion become the holder's.
void RideOnHolder(Variables& v, Entity* holder);

// Handlers.
void Behavior(Entity* self, Entity* other);        // input pass
void UpdateBehavior(Entity* self, Entity* other);  // grab rules, then movement
void OnDeath(Entity* self, Entity* other);
void GraphicsUpdate(Entity* self, Entity* other);
void Load(Entity* self, Entity* other);
void Unload(Entity* self, Entity* other);

// Parts of the handlers, for the passes that build on them.
// The grab, throw and self-destruct rules; false when the frame stops there.
bool GrabRules(Entity* self);
// The run, jump, camera look-ahead and the collision steps of one frame.
void Move(Entity* self);
// The countdown after a death and the glide back to the checkpoint.
void Respawn(Entity* self);

// One entry of the splat ring and one of the ball ring.
void AddSplat(Variables& v, const D3DXVECTOR3& position, const D3DXVECTOR2& size, float alpha, float rotation,
              float fade);
void AddBall(Variables& v, const D3DXVECTOR3& position, const D3DXVECTOR2& velocity, const D3DXVECTOR2& size,
             bool splats);

}  // namespace ObjectData::Player
