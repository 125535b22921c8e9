#include <algorithm>
#include <cmath>

#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"

namespace ObjectData::Player {

namespace {

constexpr float kDrag = 0.86f;
constexpr float kSpeedZoneDrag = 0.89f;
constexpr float kSpeedZoneFactor = 1.034883737f;  // kSpeedZoneDrag / kDrag
constexpr float kRunAcceleration = 0.016f;
constexpr float kBoostedAcceleration = 0.0352f;
constexpr float kSpeedLimit = 0.5f;
constexpr int kSteps = 25;
constexpr float kStepFraction = 0.04f;
constexpr float kHotspotInset = 1.0f / 7.0f;
// A body pushed out of a floor or a wall on its left rests this far inside
// the solid cell, so that the contact still reads in the steps that follow.
constexpr float kRestInside = 0.001f;

// The volume of the breaking loop; one value for the whole program.
float breakingVolume = 0.0f;

// The local player's speed-zone map marks the cell of position.
bool InSpeedZone(const Entity* self, const D3DXVECTOR3& position) {
    Entity* local = self->GetMyObject(LocalPlayerName().c_str());
    if (!IsPlayer(local)) return false;
    const unsigned char* map = Vars(local).speedZone;
    if (map == nullptr) return false;
    if (!(position.x >= 0.0f && position.x < 256.0f && position.y >= 0.0f && position.y < 256.0f)) return false;
    return map[static_cast<int>(position.y) * 256 + static_cast<int>(position.x)] == 1;
}

void Rumble(unsigned ms) {
    gameplayHooks.rumbleRemote(ms);
    gameplayHooks.lightVibratePad(ms);
}

void ComputeHotspots(Variables& v) {
    const float x = v.position.x, y = v.position.y, w = v.size.x, h = v.size.y;
    const float k = kHotspotInset;
    v.Hotspots.resize(8);
    v.Hotspots[0] = {x - k * w, y + 0.4375f * h};
    v.Hotspots[1] = {x + k * w, y + 0.4375f * h};
    v.Hotspots[2] = {x + 0.2f * w, y + 0.25f * h};
    v.Hotspots[3] = {x + 0.2f * w, y - 0.25f * h};
    v.Hotspots[4] = {x + k * w, y - 0.4375f * h};
    v.Hotspots[5] = {x - k * w, y - 0.4375f * h};
    v.Hotspots[6] = {x - 0.2f * w, y - 0.25f * h};
    v.Hotspots[7] = {x - 0.2f * w, y + 0.25f * h};
}

bool OneOf(int cell, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), cell) != values.end();
}

// One of the 25 collision steps; broke is set once a breakable tile breaks
// in this frame.
void CollisionStep(Entity* self, Variables& v, bool& broke) {
    using Cell = LevelCellValue;
    LevelCollision& grid = GameVars().basicLevel;
    v.collisionflag = 0;
    v.position.x += v.velocity.x * kStepFraction;
    v.position.y += v.velocity.y * kStepFraction;
    ComputeHotspots(v);
    int cell[8];
    for (int i = 0; i < 8; ++i) cell[i] = grid.GetCell(v.Hotspots[i]);

    if ((v.rolling || v.spdBoost > 0.0f) && v.grabbed < 1) {
        for (int i = 0; i < 8; ++i) {
            if (cell[i] != Cell::BreakableTile) continue;
            gameplayHooks.rumbleRemote(100);
            gameplayHooks.vibratePad(100);
            broke = true;
            // The breaking peer breaks the tile at once; in a match the
            // message breaks it on every other peer.
            if (grid.GetCell(v.Hotspots[i]) != Cell::BrokenTile) {
                grid.SetCell(v.Hotspots[i], Cell::BrokenTile);
                if (Entity* graphics = self->GetMyObject("LevelGraphics")) {
                    if (D3DXVECTOR2* newBreak = FindVariable<D3DXVECTOR2>(graphics, enum_newBreak))
                        *newBreak = v.Hotspots[i];
                    self->DoEvent("AddParticles", graphics);
                }
            }
            if (v.networked) {
                PlayerMessage message;
                message.kind = PlayerMessage::BreakTerrain;
                message.point = v.Hotspots[i];
                gameplayHooks.send(message);
            }
        }
    }
    breakingVolume = broke ? 1.0f : breakingVolume * 0.999f;
    gameplayHooks.setMusicChannelVolume(GameVars().breakableMusic, breakingVolume);

    // Each side ignores the one spike kind that points at the body from that side.
    if (OneOf(cell[0], {1, 2, 3, 4, 6, 7}) || OneOf(cell[1], {1, 2, 3, 4, 6, 7})) v.collisionflag |= kCeiling;
    if (OneOf(cell[2], {1, 2, 3, 4, 5, 7}) || OneOf(cell[3], {1, 2, 3, 4, 5, 7})) v.collisionflag |= kWallRight;
    if (OneOf(cell[4], {1, 2, 4, 5, 6, 7}) || OneOf(cell[5], {1, 2, 4, 5, 6, 7})) v.collisionflag |= kFloor;
    if (OneOf(cell[6], {1, 2, 3, 5, 6, 7}) || OneOf(cell[7], {1, 2, 3, 5, 6, 7})) v.collisionflag |= kWallLeft;
    // Grass at a side ends a wall jump's steering.
    if (cell[2] == Cell::GrassTile || cell[3] == Cell::GrassTile || cell[6] == Cell::GrassTile ||
        cell[7] == Cell::GrassTile)
        v.wallJump = 0;

    bool killed = false;
    const std::int32_t flags = v.collisionflag;
    if (v.velocity.y < 0.0f && !(flags & kFloor) && (cell[4] == Cell::SpikesUp || cell[5] == Cell::SpikesUp)) {
        killed = true;
        v.splatOffset = {0.0f, -0.7f, 0.0f};
    }
    if (v.velocity.y > 0.0f && !(flags & kCeiling) && (cell[1] == Cell::SpikesDown || cell[0] == Cell::SpikesDown)) {
        killed = true;
        v.splatOffset = {0.0f, 0.7f, 0.0f};
    }
    if (v.velocity.x < 0.0f && !(flags & kWallLeft) && (cell[7] == Cell::SpikesRight || cell[6] == Cell::SpikesRight)) {
        killed = true;
        v.splatOffset = {-0.4f, 0.0f, 0.0f};
    }
    if (v.velocity.x > 0.0f && !(flags & kWallRight) && (cell[2] == Cell::SpikesLeft || cell[3] == Cell::SpikesLeft)) {
        killed = true;
        v.splatOffset = {0.4f, 0.0f, 0.0f};
    }

    const float w = v.size.x, h = v.size.y;
    if ((flags & kWallRight) && v.velocity.x > 0.0f) {
        if (v.velocity.x > 0.1f) Rumble(static_cast<unsigned>(v.velocity.x * 100.0f));
        v.position.x = std::trunc(v.Hotspots[2].x + 0.5f) - 0.2f * w;
        v.velocity.x *= 0.995f;
    }
    if ((flags & kWallLeft) && v.velocity.x < 0.0f) {
        if (v.velocity.x < -0.1f) Rumble(static_cast<unsigned>(-v.velocity.x * 100.0f));
        v.position.x = std::trunc(v.Hotspots[6].x + 0.5f) + 0.2f * w - kRestInside;
        v.velocity.x *= 0.995f;
    }
    if ((flags & kCeiling) && v.velocity.y > 0.0f) {
        if (v.velocity.y > 0.01f) Rumble(static_cast<unsigned>(v.velocity.y * 100.0f));
        v.position.y = std::trunc(v.Hotspots[0].y + 0.5f) - 0.4375f * h;
        v.velocity.y *= 0.995f;
    }
    if ((flags & kFloor) && v.velocity.y < 0.0f) {
        v.rolling = false;
        v.hoverTime = 0;
        if (v.velocity.y < -0.01f) Rumble(static_cast<unsigned>(v.velocity.y * -500.0f));
        v.velocity.y = 0.0f;
        v.position.y = std::trunc(v.Hotspots[4].y + 0.5f) + 0.4375f * h - kRestInside;
    }

    if (killed && v.deathDelay < 1) {
        gameplayHooks.playSound(AudioList::PLAYER_SOUND_C, 1.0f);
        if (v.networked) {
            PlayerMessage message;
            message.kind = PlayerMessage::Explode;
            message.player = self;
            gameplayHooks.send(message);
        }
        self->DoEvent("OnDeath");
        v.camChangeY = true;
    }
}

// Keeps the look-ahead inside the level: the view, centred on the player
// plus the look-ahead, does not pass the grid's edges.
void ClampLookAhead(const Entity* self, Variables& v) {
    Entity* camera = self->GetMyObject("Camera");
    const float* scale = camera != nullptr ? FindVariable<float>(camera, enum_scale) : nullptr;
    if (scale == nullptr) return;
    const LevelCollision& grid = GameVars().basicLevel;
    const float halfWidth = 0.5f * gameplayHooks.aspect() * *scale;
    const float halfHeight = 0.5f * *scale;
    const float width = static_cast<float>(grid.GetWidth());
    const float height = static_cast<float>(grid.GetHeight());
    if (v.position.x + v.newFocus.x < halfWidth)
        v.newFocus.x = halfWidth - v.position.x;
    else if (v.position.x + v.newFocus.x > width - halfWidth)
        v.newFocus.x = width - halfWidth - v.position.x;
    if (v.position.y + v.newFocus.y < halfHeight)
        v.newFocus.y = halfHeight - v.position.y;
    else if (v.position.y + v.newFocus.y > height - halfHeight)
        v.newFocus.y = height - halfHeight - v.position.y;
}

void LookAhead(const Entity* self, Variables& v, float d) {
    if (d != 0.0f || v.downPressed)
        v.newFocus.x = 5.0f * d;
    else if (v.velocity.x != 0.0f)
        v.newFocus.x = v.velocity.x > 0.0f ? 5.0f : -5.0f;
    if (v.camChangeY) v.newFocus.y = -5.0f * (v.downPressed ? 1.0f : 0.0f) + 16.0f * v.velocity.y;
    ClampLookAhead(self, v);
    v.focus.x = v.focus.x * 0.99f + v.newFocus.x * (1.0f - 0.99f);
    if (v.camChangeY)
        v.focus.y = v.focus.y * 0.99f + v.newFocus.y * (1.0f - 0.99f);
    else
        v.focus.y = 0.0f;
    if (std::fabs(v.velocity.y) > 0.2f || v.camY - v.position.y > 0.01f) v.camChangeY = true;
    v.cameraPosition.x = v.position.x + v.focus.x;
    if (v.camChangeY) {
        v.cameraPosition.y = v.cameraPosition.y * 0.9f + (v.position.y + v.focus.y) * (1.0f - 0.9f);
        v.camY = v.position.y;
    } else {
        v.cameraPosition.y = v.cameraPosition.y * 0.9f + v.camY * (1.0f - 0.9f);
    }
}

void WallJump(Variables& v, int direction) {
    const float b = v.spdBoost > 0.0f ? 1.0f : 0.0f;
    v.velocity.y = (1.0f + 0.2f * b) * v.jumpVelocity;
    v.wallJump = direction * v.wallJumpLength;
    v.velocity.x = static_cast<float>(direction) * (1.0f + b) * 0.5f * v.jumpVelocity;
    v.rolling = false;
    v.hoverTime = 0;
    v.facingRight = v.velocity.x > 0.0f ? 1.0f : 0.0f;
    v.camChangeY = true;
    gameplayHooks.playSound(AudioList::PLAYER_SOUND_A, 1.0f);
}

// Run, jump and fall for one frame; answers the input direction.
float RunAndJump(Entity* self, Variables& v) {
    const GameData::TheGame::GameVariables& game = GameVars();
    const bool onFloor = (v.collisionflag & kFloor) != 0;

    if (std::abs(v.wallJump) > 1) v.nodrag = true;
    if (v.nodrag && v.leftPressed != v.rightPressed) v.nodrag = false;

    if (!(v.rolling || ((v.wallJump == -1 || v.wallJump == 1) && v.nodrag))) {
        if (v.networked && InSpeedZone(self, v.position)) v.velocity.x *= kSpeedZoneFactor;
        v.velocity.x *= kDrag;
    }

    if (v.position.y < -1.0f) {
        self->DoEvent("OnDeath");
        v.deathDelay = 60;
    }

    if (v.spdBoost > 0.0f) {
        v.spdBoost -= 1.0f;
        if (v.wallJump > 0) v.wallJump = 1;
        if (v.wallJump < 0) v.wallJump = -1;
        if (!onFloor && !v.rolling) {
            v.rolling = true;
            v.airRun = -1.0f;
        }
    }

    float d = 0.0f;
    int steering = 0;
    if (v.wallJump >= -1 && v.wallJump <= 1) {
        if (v.leftPressed) d = -1.0f;
        if (v.rightPressed) d += 1.0f;
    } else if (v.wallJump > 1) {
        --v.wallJump;
        d = 1.0f;
        steering = 1;
    } else {
        ++v.wallJump;
        d = -1.0f;
        steering = -1;
    }

    const bool boostedOnFloor = v.spdBoost > 0.0f && onFloor;
    float a = kRunAcceleration;
    if (boostedOnFloor) {
        a = v.spdBoost > 0.1f * v.speedBoostLength
                ? kBoostedAcceleration
                : kRunAcceleration * (1.0f + 1.2f * v.spdBoost / (0.16f * v.speedBoostLength));
    }

    gameplayHooks.setMusicChannelVolume(game.walkMusic, d != 0.0f && onFloor ? 0.5f : 0.0f);
    gameplayHooks.setMusicChannelFrequency(game.walkMusic, a / kRunAcceleration * 44100.0f);

    if (steering != 0) {
        float step = kRunAcceleration;
        if (boostedOnFloor) {
            step = v.spdBoost > 0.1f * v.speedBoostLength
                       ? kRunAcceleration * 2.2f
                       : kRunAcceleration * (1.0f + 1.2f * v.spdBoost / (0.1f * v.speedBoostLength));
        }
        v.velocity.x += d * step;
    } else if (!v.rolling) {
        v.velocity.x += a * d;
    } else {
        const float f = InSpeedZone(self, v.position) ? kSpeedZoneDrag : kDrag;
        const bool sameSign = (d > 0.0f && v.velocity.x > 0.0f) || (d < 0.0f && v.velocity.x < 0.0f);
        const float n = sameSign ? (a * d + v.velocity.x) * f : v.velocity.x + a * d * f;
        if (d > 0.0f)
            v.velocity.x = std::max(v.velocity.x, n);
        else if (d < 0.0f)
            v.velocity.x = std::min(v.velocity.x, n);
    }

    if (onFloor) {
        if (!v.landed) {
            gameplayHooks.playSound(AudioList::PLAYER_SOUND_B, 1.0f);
            v.landed = true;
        }
        v.camChangeY = true;
        v.wallJump = 0;
        v.easyJump = v.spdBoost > 0.0f ? 1 : v.jumpForgiveness;
        v.easyWallJump = 0;
        if (v.grabbed < 1) v.grabbedBy = -1;
    } else {
        gameplayHooks.setMusicChannelVolume(game.walkMusic, 0.0f);
        v.landed = false;
        --v.easyJump;
        if (v.collisionflag & kWallRight)
            v.easyWallJump = v.wallJumpForgiveness;
        else if (v.collisionflag & kWallLeft)
            v.easyWallJump = -v.wallJumpForgiveness;
        else if (v.easyWallJump > 0)
            --v.easyWallJump;
        else if (v.easyWallJump < 0)
            ++v.easyWallJump;

        if (v.jumpTriggered && v.easyWallJump > 0 && v.wallJump >= 0) WallJump(v, -1);
        if (v.jumpTriggered && v.easyWallJump < 0 && v.wallJump < 1) WallJump(v, +1);

        if (v.jumpPressed && v.velocity.y < 0.0f && !v.rolling) v.hoverTime = 1;
        if (v.velocity.y > 0.0f) {
            // Letting go of jump on the way up cuts the jump short.
            if (!v.jumpPressed && !v.rolling) v.velocity.y += game.playerGravity;
        } else if (((v.collisionflag & kWallRight) && v.rightPressed && v.wallJump >= 0) ||
                   ((v.collisionflag & kWallLeft) && v.leftPressed && v.wallJump <= 0)) {
            v.rolling = false;
            v.hoverTime = 0;
            v.velocity.y *= 0.9f;
            v.camChangeY = true;
        }
        if (v.hoverTime > 0) {
            v.velocity.y *= 0.8f;
            --v.hoverTime;
        }
    }

    if (v.easyJump > 0 && v.jumpTriggered) {
        gameplayHooks.playSound(AudioList::PLAYER_SOUND_A, 1.0f);
        if (v.spdBoost <= 0.0f) {
            v.velocity.y = v.jumpVelocity;
        } else {
            v.airRun = 1.0f;
            v.rolling = true;
            v.velocity.y = 1.2f * v.jumpVelocity;
            v.facingRight = v.velocity.x > 0.0f ? 1.0f : 0.0f;
        }
        v.camChangeY = false;
        v.easyJump = 0;
    }

    v.velocity.y += game.playerGravity;
    v.velocity.x = std::clamp(v.velocity.x, -kSpeedLimit, kSpeedLimit);
    v.velocity.y = std::clamp(v.velocity.y, -kSpeedLimit, kSpeedLimit);
    return d;
}

}  // namespace

void Move(Entity* self) {
    Variables& v = Vars(self);
    // A held player neither runs nor jumps: it rides on its holder.
    const float d = v.grabbed > 0 ? 0.0f : RunAndJump(self, v);
    LookAhead(self, v, d);
    bool broke = false;
    for (int i = 0; i < kSteps; ++i) CollisionStep(self, v, broke);
    PlayerMessage update;
    update.kind = PlayerMessage::UpdatePlayer;
    update.player = self;
    update.reliable = false;
    gameplayHooks.send(update);
}

void UpdateBehavior(Entity* self, Entity*) {
    if (!GrabRules(self)) return;
    Move(self);
}

}  // namespace ObjectData::Player
