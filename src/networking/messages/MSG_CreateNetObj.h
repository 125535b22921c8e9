#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_CreateNetObj : public GeneralNetMessage<MSG_CreateNetObj> {
public:
    MSG_CreateNetObj() = default;
    MSG_CreateNetObj(const MSG_CreateNetObj&) = default;
    MSG_CreateNetObj& operator=(const MSG_CreateNetObj&) = default;

    void CallBack(NetEngine& engine) override;

    NetString typeName;
    NetString objectName;
    NetString playerName;
    NetUInt<0, 15> ownerId;
    NetType<D3DXVECTOR3> position;
    NetUInt<0, 0xFFFFFFFFu> color;
};

}  // namespace Networking::NetMessage
