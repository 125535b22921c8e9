#include "networking/messages/MSG_CreateNetObj.h"

#include "framework/GameVariables.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_CreateNetObj::MSG_CreateNetObj(const std::string& type, const std::string& object, unsigned int owner,
                                   D3DXVECTOR3 at, unsigned int playerColor, const std::string& player,
                                   NetEngine* engine) {
    typeName = type;
    objectName = object;
    ownerId = owner;
    position = at;
    color = playerColor;
    playerName = player;
    Create(engine != nullptr ? *engine : NetworkingEngine);
}

Object* MSG_CreateNetObj::Create(NetEngine& engine) const {
    // The type name comes from the wire: one that names no registered type
    // (or extended object) makes nothing, and nothing else is touched.
    Object* obj = MakeNetObject(typeName.value, objectName.value);
    if (obj == nullptr) return nullptr;
    if (int* owner = Var<int>(obj, enum_OwnerID)) *owner = static_cast<int>(ownerId.value);
    if (auto* at = Var<D3DXVECTOR3>(obj, enum_position)) *at = position;
    // The start position is the respawn point of the new player's own machine
    // only: everyone else keeps the checkpoint they have reached.
    const bool own = ownerId.value == engine.NetID();
    if (auto* game = GameVariablesOrNull(); game != nullptr && own)
        game->checkpointPosition = D3DXVECTOR2(position.value.x, position.value.y);
    if (auto* c = Var<std::uint32_t>(obj, enum_playerColor)) *c = color;
    if (auto* n = Var<std::string>(obj, enum_playerName)) *n = playerName;
    if (!own) obj->DoEvent("SetClientBehavior");
    return obj;
}

void MSG_CreateNetObj::CallBack(NetEngine& engine) {
    Create(engine);
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
