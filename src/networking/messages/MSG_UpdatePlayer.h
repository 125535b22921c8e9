#pragma once
#include "networking/NetMessage.h"

class Entity;

namespace Networking::NetMessage {

// One networked entity's snapshot: place, motion and inputs. Always sent
// unreliably; the next snapshot replaces a lost one.
class MSG_UpdatePlayer : public GeneralNetMessage<MSG_UpdatePlayer> {
public:
    MSG_UpdatePlayer() = default;
    // From the entity's variables; variables its type lacks stay unset.
    explicit MSG_UpdatePlayer(Entity* entity);
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
    // The sender's running number of its snapshots (0: none given). Snapshots
    // travel unreliably, so the network may bring one twice or after a newer
    // one: the receiver applies only one newer than the last it applied.
    NetUInt<0, 65535> snapshot;

    // Gives the message the sender's next snapshot number.
    void Stamp();
};

}  // namespace Networking::NetMessage
