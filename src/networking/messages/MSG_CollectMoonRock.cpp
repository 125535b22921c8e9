#include "networking/messages/MSG_CollectMoonRock.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_CollectMoonRock::MSG_CollectMoonRock(Entity* entity) {
    if (entity != nullptr) name = entity->GetName();
}

void MSG_CollectMoonRock::CallBack(NetEngine& engine) {
    if (Entity* e = FindEntity(name)) e->DoEvent("Explode");
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
