#include <cmath>
#include <cstdlib>
#include <mutex>

#include "framework/Framerate.h"
#include "objects/Bots.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "objects/PlayerInput.h"

namespace ObjectData::WanderBotAI {

namespace {

VariableOffsetTable table;

constexpr unsigned char kLeftAlt = 56, kRightAlt = 184, kT = 20;

Variables& Vars(Entity* self) { return VariablesOf<Variables>(self); }

Entity* LocalPlayer(const Entity* self) {
    Entity* player = self->GetMyObject(LocalPlayerName().c_str());
    return Player::IsPlayer(player) ? player : nullptr;
}

void SetMainLoop(int rate) {
    std::lock_guard lock(Framerate::Critical);
    gameFrameRate.SetFramerate(rate);
}

// The player's own input handler goes to "OldBehavior" while the bot drives.
void TakeOver(Entity* player) {
    player->_SetEvent("OldBehavior", player->GetEvent("Behavior"));
    player->_SetEvent("Behavior", Event());
}
void HandBack(Entity* player) {
    Event old = player->GetEvent("OldBehavior");
    if (old) player->_SetEvent("Behavior", old);
}

void Load(Entity* self, Entity*) {
    self->_Delete();
    Vars(self).AIDirection = {0.0f, 0.0f};
}

void Unload(Entity* self, Entity*) {
    Entity* player = LocalPlayer(self);
    if (!Vars(self).active || player == nullptr) return;
    SetMainLoop(60);
    HandBack(player);
}

}  // namespace

void GetNewTarget(Entity* self, Entity*) {
    Variables& b = Vars(self);
    Entity* player = LocalPlayer(self);
    if (player == nullptr) return;
    const Player::Variables& pv = Player::Vars(player);
    const D3DXVECTOR2 p{pv.position.x, pv.position.y};
    b.timeToNextTarget = 60 + std::rand() % 60;
    const float d = std::rand() % 1000 > 900 ? 100.0f : 1000.0f;
    float dx = static_cast<float>(std::rand() % 1001 - 500) / d;
    float dy = static_cast<float>(std::rand() % 1001 - 500) / d * 0.5f;
    if (pv.velocity.y > 0.2f) {
        dx = dy = 0.0f;
    } else if ((pv.velocity.x > 0.2f && dx < 0.0f) || (pv.velocity.x < -0.2f && dx > 0.0f)) {
        dx = -dx;
    }
    b.AIDirection = {b.AIDirection.x + dx, b.AIDirection.y + dy};
    float length = std::sqrt(b.AIDirection.x * b.AIDirection.x + b.AIDirection.y * b.AIDirection.y);
    if (length < 0.001f) length = 0.1f;
    b.AIDirection.x *= 6.0f / length;
    b.AIDirection.y *= 3.0f / length;
    b.AITarget = {b.AIDirection.x + p.x, b.AIDirection.y + p.y};
}

void Drive(Entity* self, Entity*) {
    Variables& b = Vars(self);
    Entity* player = LocalPlayer(self);
    if (player == nullptr) return;
    const PlayerDevices& keys = playerDevices;
    if ((keys.keyPressed(kLeftAlt) || keys.keyPressed(kRightAlt)) && keys.keyTriggered(kT)) b.active = !b.active;
    if (b.active != b.killedPlayerBehavior) {
        if (b.active) {
            SetMainLoop(600);
            TakeOver(player);
        } else {
            SetMainLoop(60);
            HandBack(player);
        }
        b.killedPlayerBehavior = b.active;
    }
    if (!b.active) return;

    Player::Variables& pv = Player::Vars(player);
    b.AIPlayer = player;
    if (pv.deathDelay == 0 && b.wasDead) {
        b.AIDirection = {0.0f, 0.0f};
        self->DoEvent("GetNewTarget");
    }
    b.wasDead = pv.deathDelay != 0;
    b.reachedX = std::fabs(b.AITarget.x - pv.position.x) < 0.1f;
    if (b.reachedX && b.timeToNextTarget > 10) b.timeToNextTarget = 10;
    const float tx = b.AITarget.x - pv.position.x, ty = b.AITarget.y - pv.position.y;
    if (b.timeToNextTarget == 0 || std::sqrt(tx * tx + ty * ty) < 2.0f) self->DoEvent("GetNewTarget");
    --b.timeToNextTarget;

    b.AIDirection = {b.AITarget.x - pv.position.x, b.AITarget.y - pv.position.y};
    const bool onFloor = (pv.collisionflag & Player::kFloor) != 0;
    const bool wallLeft = (pv.collisionflag & Player::kWallLeft) != 0;
    const bool wallRight = (pv.collisionflag & Player::kWallRight) != 0;
    const bool wantJump = b.AIDirection.y > 0.0f;
    pv.leftPressed = b.reachedX ? b.AIDirection.x < -5.5f : b.AIDirection.x < 0.0f;
    pv.rightPressed = b.reachedX ? b.AIDirection.x > 5.5f : b.AIDirection.x > 0.0f;
    // A new jump off the floor or a wall, now and then rather than every frame.
    const bool contact = (onFloor && !b.wasCollidedBottom) || (wallLeft && !b.wasCollidedLeft) ||
                         (wallRight && !b.wasCollidedRight) || std::rand() % 8 == 0;
    pv.jumpTriggered = wantJump && !pv.jumpPressed && contact;
    pv.jumpPressed = wantJump && (pv.jumpPressed || pv.jumpTriggered);
    pv.upPressed = pv.downPressed = pv.grabPressed = pv.grabTriggered = false;
    b.wasCollidedBottom = onFloor;
    b.wasCollidedLeft = wallLeft;
    b.wasCollidedRight = wallRight;
    Entity::_DoEvent("UpdateBehavior", self, player);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "WanderBotAI", table);
    prototype->_TempAddEngine("Behavior", &Drive);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("DoNothing", Event());
    prototype->_AddEvent("GetNewTarget", &GetNewTarget);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_active, v.active);
    BindVariable(table, p, enum_killedPlayerBehavior, v.killedPlayerBehavior);
    BindVariable(table, p, enum_wasCollidedLeft, v.wasCollidedLeft);
    BindVariable(table, p, enum_wasCollidedRight, v.wasCollidedRight);
    BindVariable(table, p, enum_wasCollidedBottom, v.wasCollidedBottom);
    BindVariable(table, p, enum_reachedX, v.reachedX);
    BindVariable(table, p, enum_wasDead, v.wasDead);
    BindVariable(table, p, enum_timeToNextTarget, v.timeToNextTarget);
    BindVariable(table, p, enum_AITarget, v.AITarget);
    BindVariable(table, p, enum_AIDirection, v.AIDirection);
    BindVariable(table, p, enum_AIPlayer, v.AIPlayer);
}

}  // namespace ObjectData::WanderBotAI
