#include "networking/messages/MSG_DropObj.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
constexpr float kFarBelow = 1.0e12f;
}

MSG_DropObj::MSG_DropObj(const std::string& entityName) {
    name = entityName;
    Drop(entityName);
}

void MSG_DropObj::Drop(const std::string& entityName) {
    Entity* e = FindEntity(entityName);
    if (e == nullptr) return;
    e->DoEvent("OnDeath");
    if (auto* at = Var<D3DXVECTOR3>(e, enum_position)) at->y = kFarBelow;
    if (auto* before = Var<D3DXVECTOR3>(e, enum_oldPosition)) before->y = kFarBelow;
    // A 32-bit zero: the same bits whether a type counts the delay in frames
    // (int) or in time (float).
    if (auto* delay = Var<std::int32_t>(e, enum_deathDelay)) *delay = 0;
}

void MSG_DropObj::CallBack(NetEngine& engine) {
    Drop(name);
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
