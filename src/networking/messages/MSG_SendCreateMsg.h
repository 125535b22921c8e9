#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// Describes an existing networked object (a player) to a client that joined
// late; it goes to that client only and no further.
class MSG_SendCreateMsg : public GeneralNetMessage<MSG_SendCreateMsg> {
public:
    MSG_SendCreateMsg() = default;
    // From the entity's name, OwnerID, position, velocity, playerColor and playerName.
    MSG_SendCreateMsg(Entity* entity, const std::string& type);
    MSG_SendCreateMsg(const MSG_SendCreateMsg&) = default;
    MSG_SendCreateMsg& operator=(const MSG_SendCreateMsg&) = default;

    void CallBack(NetEngine& engine) override;

    NetString typeName;
    NetString objectName;
    NetString playerName;
    NetUInt<0, 15> ownerId;
    NetType<D3DXVECTOR3> position;
    NetType<D3DXVECTOR2> velocity;
    NetUInt<0, 0xFFFFFFFFu> color;
};

}  // namespace Networking::NetMessage
