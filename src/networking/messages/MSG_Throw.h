#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// A held player was thrown to the right or to the left.
class MSG_Throw : public GeneralNetMessage<MSG_Throw> {
public:
    MSG_Throw() = default;
    MSG_Throw(unsigned int thrown, bool right) {
        playerId = thrown;
        throwRight = right;
    }
    MSG_Throw(const MSG_Throw&) = default;
    MSG_Throw& operator=(const MSG_Throw&) = default;

    void CallBack(NetEngine& engine) override;

    // Declared 0..8; the field is 4 bits wide, so 9 to 15 travel as well.
    NetUInt<0, 8> playerId;
    NetBool throwRight;
};

}  // namespace Networking::NetMessage
