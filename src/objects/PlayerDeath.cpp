// The player's grab, throw and self-destruct rules, its death and its
// respawn at the checkpoint.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"

namespace ObjectData::Player {

namespace {

constexpr float kTwoPi = 6.28318530718f;

// A random fraction in [0, 1) in steps of 1/1024.
float Random() { return static_cast<float>(std::rand() & 1023) / 1024.0f; }

void Send(PlayerMessage::Kind kind, int first, int second) {
    PlayerMessage message;
    message.kind = kind;
    message.first = first;
    message.second = second;
    gameplayHooks.send(message);
}

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The nearest free, not rolling player closer than 1.0; the lowest number
// wins a tie. -1 for none.
int GrabTarget(Entity* self, const Variables& v) {
    int best = -1;
    float bestDistance = 1.0f;
    for (int n = 0; n < 16; ++n) {
        Entity* other = FindPlayer(self, n);
        if (other == nullptr || other == self) continue;
        const Variables& o = Vars(other);
        if (o.grabbed >= 1 || o.rolling) continue;
        const float distance = Distance(o.position, v.position);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = n;
        }
    }
    return best;
}

}  // namespace

void RideOnHolder(Variables& v, Entity* holder) {
    const Variables& g = Vars(holder);
    const LevelCollision& grid = GameVars().basicLevel;
    v.Hotspots.resize(8);
    D3DXVECTOR2& left = v.Hotspots[0];
    D3DXVECTOR2& right = v.Hotspots[1];
    left = {g.position.x - g.size.x / 28.0f, g.position.y + 0.4375f * g.size.y};
    right = {g.position.x + g.size.x / 28.0f, g.position.y + 0.4375f * g.size.y};
    auto blocks = [&grid](const D3DXVECTOR2& point) {
        const int cell = grid.GetCell(point);
        return cell == LevelCellValue::DirtTile || cell == LevelCellValue::SpikesUp ||
               cell == LevelCellValue::SpikesRight || cell == LevelCellValue::SpikesLeft;
    };
    float height = g.position.y;
    for (int i = 0; i < 32; ++i) {
        if (blocks(left) || blocks(right)) break;
        left.y += 0.01875f;
        right.y += 0.01875f;
        height += 0.01875f;
    }
    v.position.x = g.position.x;
    v.position.y = height;
    v.velocity = g.velocity;
}

void AddSplat(Variables& v, const D3DXVECTOR3& position, const D3DXVECTOR2& size, float alpha, float rotation,
              float fade) {
    const int i = static_cast<int>(static_cast<unsigned>(v.splatCurrent) % kSplatCount);
    v.splatPosition[i] = position;
    v.splatSize[i] = size;
    v.splatAlpha[i] = alpha;
    v.splatRotation[i] = rotation;
    v.splatFade[i] = fade;
    ++v.splatCurrent;
}

void AddBall(Variables& v, const D3DXVECTOR3& position, const D3DXVECTOR2& velocity, const D3DXVECTOR2& size,
             bool splats) {
    const int i = static_cast<int>(static_cast<unsigned>(v.ballCurrent) % kBallCount);
    v.ballPosition[i] = position;
    v.ballVelocity[i] = velocity;
    v.ballSize[i] = size;
    v.ballSplats[i] = splats;
    ++v.ballCurrent;
}

bool GrabRules(Entity* self) {
    Variables& v = Vars(self);
    if (v.deathDelay > 0) {
        PlayerMessage update;
        update.kind = PlayerMessage::UpdatePlayer;
        update.player = self;
        update.reliable = false;
        gameplayHooks.send(update);
        return false;
    }

    if (v.grabTriggered) {
        v.explodeMe += 1.0f;
        if (v.explodeMe > 9.0f) {
            self->DoEvent("OnDeath");
            return false;
        }
    }
    v.explodeMe *= 0.99f;

    if (!v.networked) return true;
    const int me = gameplayHooks.clientId();

    if (v.grabbing > -1 && !v.grabPressed) {
        PlayerMessage message;
        message.kind = PlayerMessage::Throw;
        message.first = v.grabbing;
        message.right = v.velocity.x >= 0.0f;
        gameplayHooks.send(message);
        v.grabbing = -1;
    }

    if (v.grabbedBy == v.grabbing && v.grabbing != -1) Send(PlayerMessage::CancelGrab, me, v.grabbing);

    if (v.grabbed < 1 && v.grabTriggered && !v.rolling) {
        const int target = GrabTarget(self, v);
        if (target >= 0) {
            v.grabbing = target;
            Send(PlayerMessage::GrabPlayer, me, target);
        }
    }

    if (v.grabbed > 0) {
        if (Entity* holder = FindPlayer(self, v.grabbedBy)) RideOnHolder(v, holder);
        if (v.jumpTriggered) {
            --v.grabbed;
            if (v.grabbed < 1) {
                v.rolling = false;
                v.velocity.y = v.jumpVelocity;
                Send(PlayerMessage::CancelGrab, v.grabbedBy, me);
                v.grabbedBy = -1;
            }
        }
    }
    return true;
}

void OnDeath(Entity* self, Entity*) {
    Variables& v = Vars(self);
    v.wallJump = 0;
    v.deathDelay = 180;
    v.spdBoost = 0.0f;
    v.rolling = false;
    if (v.explodeMe > 9.0f) v.splatOffset = {0.0f, 0.0f, 0.0f};
    v.explodeMe = 0.0f;

    const D3DXVECTOR3 splat{v.position.x + v.splatOffset.x, v.position.y + v.splatOffset.y,
                            v.position.z + v.splatOffset.z};
    AddSplat(v, splat, {1.5f, 1.5f}, 1.0f, kTwoPi * Random(), 0.9994f);

    // The balls fly away from the spike: against the splat offset's direction.
    D3DXVECTOR2 away{0.0f, 0.0f};
    const float length = std::sqrt(v.splatOffset.x * v.splatOffset.x + v.splatOffset.y * v.splatOffset.y);
    if (length > 0.0f) away = {v.splatOffset.x / length * 0.02f, v.splatOffset.y / length * 0.02f};
    for (int i = 0; i < 32; ++i) {
        const float px = v.position.x + (Random() - 0.5f) * v.size.x;
        const float py = v.position.y + (Random() - 0.5f) * v.size.y;
        const float vx = (0.2f * Random() - 0.1f) - away.x;
        const float vy = (0.2f * Random() - 0.1f) - away.y;
        const float sx = 0.2f * Random() + 0.1f;
        const float sy = 0.2f * Random() + 0.1f;
        AddBall(v, {px, py, v.position.z + 100.0f}, {vx, vy}, {sx, sy}, true);
    }

    if (v.userControlled) {
        gameplayHooks.rumbleRemote(250);
        gameplayHooks.vibratePad(250);
    }
    if (!v.networked) return;

    const int me = gameplayHooks.clientId();
    if (v.userControlled) {
        // A kill costs at most what the player has, and never adds to it.
        const int loss = std::clamp(GameVars().SCORE_KILL, 0, std::max(v.score, 0));
        v.score -= loss;
        if (v.grabbedBy != -1 && loss > 0) {
            if (Entity* holder = FindPlayer(self, v.grabbedBy)) {
                Vars(holder).score += loss;
                Send(PlayerMessage::ChangeScore, v.grabbedBy, loss);
            }
        }
    }
    if (v.grabbed > 0) {
        Send(PlayerMessage::CancelGrab, v.grabbedBy, me);
        v.grabbed = 0;
        v.grabbedBy = -1;
    }
    if (v.grabbing >= 0) {
        Send(PlayerMessage::CancelGrab, me, v.grabbing);
        v.grabbing = -1;
    }
}

void Respawn(Entity* self) {
    Variables& v = Vars(self);
    if (v.deathDelay <= 0) return;
    --v.deathDelay;
    const D3DXVECTOR2 checkpoint = GameVars().checkpointPosition;
    if (v.deathDelay < 61) {
        const float t = static_cast<float>(v.deathDelay) / 60.0f;
        v.cameraPosition.x = v.cameraPosition.x * t + checkpoint.x * (1.0f - t);
        v.cameraPosition.y = v.cameraPosition.y * t + checkpoint.y * (1.0f - t);
        const float q = 0.6f + 0.4f * t;
        v.position.x = v.position.x * q + checkpoint.x * (1.0f - q);
        v.position.y = v.position.y * q + checkpoint.y * (1.0f - q);
    }
    if (v.deathDelay == 0) {
        v.velocity = {0.0f, 0.0f};
        v.position.x = checkpoint.x;
        v.position.y = checkpoint.y;
        v.oldPosition.x = checkpoint.x;
        v.oldPosition.y = checkpoint.y;
        v.newFocus = {0.0f, 0.0f};
        v.focus = {0.0f, 0.0f};
        // The body grows back from nothing to its goal sizes.
        v.lightSize = 0.0f;
        v.headSize = {0.0f, 0.0f};
        v.bodySize = {0.0f, 0.0f};
        v.leftHandSize = {0.0f, 0.0f};
        v.rightHandSize = {0.0f, 0.0f};
        v.leftFootSize = {0.0f, 0.0f};
        v.rightFootSize = {0.0f, 0.0f};
    }
}

void GraphicsUpdate(Entity* self, Entity*) { Respawn(self); }

}  // namespace ObjectData::Player
