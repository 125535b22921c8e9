#include "networking/messages/MSG_SendCreateMsg.h"

#include "framework/Object.h"
#include "framework/State.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_SendCreateMsg::MSG_SendCreateMsg(Entity* e, const std::string& type) {
    typeName = type;
    if (e == nullptr) return;
    objectName = e->GetName();
    if (int* v = Var<int>(e, enum_OwnerID)) ownerId = static_cast<std::uint32_t>(*v) & 15u;
    if (auto* v = Var<D3DXVECTOR3>(e, enum_position)) position = *v;
    if (auto* v = Var<D3DXVECTOR2>(e, enum_velocity)) velocity = *v;
    if (auto* v = Var<std::uint32_t>(e, enum_playerColor)) color = *v;
    if (auto* v = Var<std::string>(e, enum_playerName)) playerName = *v;
}

void MSG_SendCreateMsg::CallBack(NetEngine& engine) {
    // An unregistered type name from the wire makes nothing.
    Object* obj = MakeNetObject(typeName.value, objectName.value);
    if (obj == nullptr) return;
    if (int* v = Var<int>(obj, enum_OwnerID)) *v = static_cast<int>(ownerId.value);
    if (auto* v = Var<D3DXVECTOR3>(obj, enum_position)) *v = position;
    if (auto* v = Var<D3DXVECTOR2>(obj, enum_velocity)) *v = velocity;
    if (auto* v = Var<std::uint32_t>(obj, enum_playerColor)) *v = color;
    if (auto* v = Var<std::string>(obj, enum_playerName)) *v = playerName;
    if (ownerId.value != engine.NetID()) obj->DoEvent("SetClientBehavior");
    // Not relayed: the description was meant for this client alone.
}

}  // namespace Networking::NetMessage
