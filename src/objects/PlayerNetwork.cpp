// The player's events for the split between the peer that owns a player and
// the peers that hold a remote copy of it, and the end of a level.
#include <cmath>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "framework/LevelTemplate.h"
#include "objects/GameplayHooks.h"
#include "objects/LevelObjectHooks.h"
#include "objects/Player.h"
#include "objects/PlayerNetwork.h"

namespace ObjectData::Player {

namespace {

float R() { return static_cast<float>(std::rand() & 1023) / 1024.0f; }

// Cells under a remote player that make a speed zone: dirt, spikes pointing
// right, down or left, breakable.
bool ZoneGround(int cell) { return cell == 2 || cell == 4 || cell == 5 || cell == 6 || cell == 7; }

void Firefly(Entity* self, const Variables& v, const D3DXVECTOR2& size, const D3DXVECTOR3& position,
             const D3DXVECTOR2& velocity) {
    Object* fly = LevelTemplate::SpawnIn(self->_state, "Firefly");
    if (fly == nullptr) return;
    LevelTemplate::SetIfPresent(fly, enum_size, size);
    LevelTemplate::SetIfPresent(fly, enum_position, position);
    LevelTemplate::SetIfPresent(fly, enum_velocity, velocity);
    LevelTemplate::SetIfPresent(fly, enum_color, v.playerColor);
    LevelTemplate::SetIfPresent(fly, enum_fireflyColor, v.playerColor);
    LevelTemplate::SetIfPresent(fly, enum_follow, true);
    const float rate = 1.1f * std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y);
    LevelTemplate::SetIfPresent(fly, enum_rotaterate, rate);
    LevelTemplate::SetIfPresent(fly, enum_pulserate, rate);
    LevelTemplate::SetIfPresent(fly, enum_counter, std::int32_t{10000});
    LevelTemplate::SetIfPresent(fly, enum_stray, true);
}

}  // namespace

void SetClientBehavior(Entity* self, Entity*) {
    Vars(self).userControlled = false;
    self->SetEvent("Behavior", &ClientBehavior);
}

void ClientBehavior(Entity* self, Entity*) {
    Variables& v = Vars(self);
    Entity* local = self->GetMyObject(LocalPlayerName().c_str());
    if (IsPlayer(local) && Vars(local).speedZone != nullptr && v.position.x >= 0.0f && v.position.x < 256.0f &&
        v.position.y >= 0.0f && v.position.y < 256.0f) {
        const LevelCollision& grid = GameVars().basicLevel;
        bool ground = true;
        for (int k = 4; k >= -4 && ground; --k)
            ground = ZoneGround(grid.GetCell(v.position.x + static_cast<float>(k), v.position.y - 1.0f));
        if (ground) Vars(local).speedZone[static_cast<int>(v.position.y) * 256 + static_cast<int>(v.position.x)] = 1;
    }
    // A held copy rides on its holder's lifted place, as it does on the peer
    // that owns it; only a free copy moves on by its last velocity.
    if (v.grabbed > 0) {
        Entity* holder = FindPlayer(self, v.grabbedBy);
        if (holder != nullptr && holder != self) {
            RideOnHolder(v, holder);
            return;
        }
    }
    v.position.x += v.velocity.x;
    v.position.y += v.velocity.y;
}

void KillUnowned(Entity* self, Entity*) {
    if (self->GetEvent("Behavior") == Event(&ClientBehavior)) self->_Delete();
}

void OnNewPlayer(Entity* self, Entity*) { levelObjectHooks.sendCreateToNewClient(self); }

void LevelEnd(Entity* self, Entity*) {
    Variables& v = Vars(self);
    if (v.deathDelay >= 1) {
        v.deathDelay = 3600;
        return;
    }
    if (v.userControlled && v.networked) levelObjectHooks.sendFinished();
    v.deathDelay = 3600;
    struct Part {
        const D3DXVECTOR3& offset;
        const D3DXVECTOR2& size;
    };
    const Part parts[] = {{v.headPosition, v.headSize},         {v.bodyPosition, v.bodySize},
                          {v.leftHandPosition, v.leftHandSize}, {v.rightHandPosition, v.rightHandSize},
                          {v.leftFootPosition, v.leftFootSize}, {v.rightFootPosition, v.rightFootSize}};
    const float speed = std::sqrt(v.velocity.x * v.velocity.x + v.velocity.y * v.velocity.y);
    for (const Part& part : parts) {
        const D3DXVECTOR3 at{v.position.x + part.offset.x, v.position.y + part.offset.y, v.position.z + part.offset.z};
        for (int i = 0; i < 6; ++i) {
            const float s = 4.0f * v.size.x * part.size.x;
            const float vx = (2.0f * R() - 1.0f) * 0.1f;
            const float vy = (2.0f * R() - 1.0f) * 0.1f;
            Firefly(self, v, {s, s}, at, {vx, vy});
        }
        for (int i = 0; i < 22; ++i) {
            const float px = (1.5f * R() - 0.75f) * v.size.x * part.size.x;
            const float py = (1.5f * R() - 0.75f) * v.size.x * part.size.y;
            const float a = 2.0f * 3.14159265f * R() - 3.14159265f;
            const float m = (0.8f * R() + 0.1f) * speed;
            const float f = 0.4f * R() + 0.4f;
            AddBall(v, {at.x + px, at.y + py, at.z}, {std::cos(a) * m, std::sin(a) * m},
                    {f * part.size.x, f * part.size.y}, false);
        }
    }
    for (int i = 0; i < 25; ++i) {
        const float s = 0.8f * R() + 0.1f;
        const float px = (2.0f * R() - 1.0f) * s * 0.5f;
        const float py = (2.0f * R() - 1.0f) * s * 0.5f;
        const float vx = (2.0f * R() - 1.0f) * 0.03f;
        const float vy = (2.0f * R() - 1.0f) * 0.03f;
        Firefly(self, v, {s, s}, {v.position.x + px, v.position.y + py, v.position.z}, {vx, vy});
    }
}

}  // namespace ObjectData::Player
