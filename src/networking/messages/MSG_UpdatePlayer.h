#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_UpdatePlayer : public GeneralNetMessage<MSG_UpdatePlayer> {
public:
    MSG_UpdatePlayer() = default;
    MSG_UpdatePlayer(const MSG_UpdatePlayer&) = default;
    MSG_UpdatePlayer& operator=(const MSG_UpdatePlayer&) = default;

    void CallBack(NetEngine& engine) override;

    NetString name;
    NetType<D3DXVECTOR3> position;
    NetType<D3DXVECTOR2> velocity;
    NetUInt<0, 511> speedBoost;
    NetType<float> airRun;
    NetType<int> score;
    NetUInt<0, 15> collisionFlag;
    NetBool rolling;
    NetBool upPressed;
    NetBool downPressed;
    NetBool rightPressed;
    NetBool leftPressed;
    NetBool grabPressed;
    NetBool grabTriggered;
    NetBool jumpPressed;
    NetBool jumpTriggered;
};

}  // namespace Networking::NetMessage
