#pragma once
#include "networking/NetMessage.h"

class Object;

namespace Networking::NetMessage {

// Creates a networked object (a player) on every copy of the match.
class MSG_CreateNetObj : public GeneralNetMessage<MSG_CreateNetObj> {
public:
    MSG_CreateNetObj() = default;
    // Creates the object on the sending copy too (see Create); `engine` is the
    // one whose client id tells whether the object is the local player's
    // (the program's engine when null).
    MSG_CreateNetObj(const std::string& type, const std::string& object, unsigned int owner, D3DXVECTOR3 at,
                     unsigned int playerColor, const std::string& player, NetEngine* engine = nullptr);
    MSG_CreateNetObj(const MSG_CreateNetObj&) = default;
    MSG_CreateNetObj& operator=(const MSG_CreateNetObj&) = default;

    void CallBack(NetEngine& engine) override;

    // Makes typeName as objectName in the current state, owned by ownerId, at
    // position, with the colour and player name; on the owner's copy the start
    // position becomes the respawn point; an object owned by another copy is switched to remote
    // control ("SetClientBehavior"). Null, and nothing done, when typeName
    // names no registered type.
    Object* Create(NetEngine& engine) const;

    NetString typeName;
    NetString objectName;
    NetString playerName;
    NetUInt<0, 15> ownerId;
    NetType<D3DXVECTOR3> position;
    NetUInt<0, 0xFFFFFFFFu> color;
};

}  // namespace Networking::NetMessage
