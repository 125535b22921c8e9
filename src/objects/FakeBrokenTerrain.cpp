#include "objects/FakeBrokenTerrain.h"

#include "networking/messages/MSG_RemoveTerrain.h"
#include "objects/PickupSupport.h"

namespace ObjectData::FakeBrokenTerrain {

namespace {
VariableOffsetTable table;
}

// The message goes out as default-built: the object holds no cell of its own.
void OnNewPlayer(Entity* self, Entity*) {
    if (!VariablesOf<Variables>(self).broken) return;
    Networking::NetMessage::MSG_RemoveTerrain message;
    pickupNetwork.sendToNewClient(message);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "FakeBrokenTerrain", table);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("OnNewPlayer", &OnNewPlayer);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_broken, prototype->vars.broken);
}

}  // namespace ObjectData::FakeBrokenTerrain
