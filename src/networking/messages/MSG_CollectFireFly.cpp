#include "networking/messages/MSG_CollectFireFly.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_CollectFireFly::MSG_CollectFireFly(Entity* entity) {
    if (entity == nullptr) return;
    name = entity->GetName();
    if (auto* c = Var<int>(entity, enum_color)) color = *c;
    if (auto* at = Var<D3DXVECTOR3>(entity, enum_position)) position = D3DXVECTOR2(at->x, at->y);
}

void MSG_CollectFireFly::CallBack(NetEngine& engine) {
    Entity* e = FindEntity(name);
    bool* follow = Var<bool>(e, enum_follow);
    // A firefly that follows already has been counted.
    if (e != nullptr && !(follow != nullptr && *follow)) {
        if (int* counter = Var<int>(FindEntity("guiImage"), enum_score)) *counter += 1;
        if (follow != nullptr) *follow = true;
        if (auto* c = Var<int>(e, enum_color)) *c = color;
        if (auto* at = Var<D3DXVECTOR3>(e, enum_position)) {
            at->x = position.value.x;
            at->y = position.value.y;
        }
    }
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
