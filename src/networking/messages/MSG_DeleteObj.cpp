#include "networking/messages/MSG_DeleteObj.h"

#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
// Removed at the end of the frame.
void Delete(const std::string& name) {
    if (Entity* e = FindEntity(name)) e->_Delete();
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
