#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// Switches the current state to another level (nothing in the game sends it).
class MSG_ChangeLevel : public GeneralNetMessage<MSG_ChangeLevel> {
public:
    MSG_ChangeLevel() = default;
    explicit MSG_ChangeLevel(const std::string& level) { levelName = level; }
    MSG_ChangeLevel(const MSG_ChangeLevel&) = default;
    MSG_ChangeLevel& operator=(const MSG_ChangeLevel&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
};

}  // namespace Networking::NetMessage
