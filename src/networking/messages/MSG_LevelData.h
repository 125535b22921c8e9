#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

class MSG_LevelData : public GeneralNetMessage<MSG_LevelData> {
public:
    MSG_LevelData() = default;
    MSG_LevelData(const MSG_LevelData&) = default;
    MSG_LevelData& operator=(const MSG_LevelData&) = default;

    void CallBack(NetEngine& engine) override;

    NetTypeList<int, 325> cells;
    NetUInt<1, 1024> width;
    NetUInt<1, 1024> height;
    NetBool first;
    NetBool last;
    NetBool startMatch;
};

}  // namespace Networking::NetMessage
