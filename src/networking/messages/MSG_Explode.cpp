#include "networking/messages/MSG_Explode.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_Explode::MSG_Explode(Entity* entity) {
    if (entity == nullptr) return;
    name = entity->GetName();
    // The x and y of the offset; some types keep a third coordinate after them.
    if (auto* offset = Var<D3DXVECTOR2>(entity, enum_splatOffset)) splatOffset = *offset;
    if (auto* at = Var<D3DXVECTOR3>(entity, enum_position)) position = D3DXVECTOR2(at->x, at->y);
}

void MSG_Explode::CallBack(NetEngine& engine) {
    if (Entity* e = FindEntity(name)) {
        if (auto* at = Var<D3DXVECTOR3>(e, enum_position)) {
            at->x = position.value.x;
            at->y = position.value.y;
        }
        if (auto* offset = Var<D3DXVECTOR2>(e, enum_splatOffset)) *offset = splatOffset;
        e->DoEvent("OnDeath");
    }
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
