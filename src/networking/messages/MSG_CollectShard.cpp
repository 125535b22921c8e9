#include "networking/messages/MSG_CollectShard.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_CollectShard::MSG_CollectShard(Entity* entity) {
    if (entity != nullptr) name = entity->GetName();
}

void MSG_CollectShard::CallBack(NetEngine& engine) {
    if (bool* follow = Var<bool>(FindEntity(name), enum_shardFollow)) *follow = true;
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
