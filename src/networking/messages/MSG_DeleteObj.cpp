#include "networking/messages/MSG_DeleteObj.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
// Removed at the end of the frame. Only a networked object (one with the
// networked flag set) can be named: engines, levels and local objects stay.
void Delete(const std::string& name) {
    Entity* e = FindEntity(name);
    const bool* networked = Var<bool>(e, enum_networked);
    if (networked != nullptr && *networked) e->_Delete();
}
}  // namespace

MSG_DeleteObj::MSG_DeleteObj(const std::string& entityName) {
    name = entityName;
    Delete(entityName);
}

void MSG_DeleteObj::CallBack(NetEngine& engine) {
    Delete(name);
    Relay(engine, *this, true);
}

}  // namespace Networking::NetMessage
