#pragma once
#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// The match's rules as the server holds them: the level being played, its
// index, the number of levels, and what each scoring event is worth.
class MSG_GameRules : public GeneralNetMessage<MSG_GameRules> {
public:
    MSG_GameRules() = default;
    // Filled from the match globals and the game's score values; the
    // argument is not used.
    explicit MSG_GameRules(unsigned int unused);
    MSG_GameRules(const MSG_GameRules&) = default;
    MSG_GameRules& operator=(const MSG_GameRules&) = default;

    void CallBack(NetEngine& engine) override;

    NetString levelName;
    NetUInt<0, 63> levelIndex;
    NetUInt<0, 63> levelCount;
    NetUInt<0, 127> scoreCheckpoint;
    NetUInt<0, 127> scoreMoonShard;
    NetUInt<0, 127> scoreGoal;
    NetUInt<0, 127> scoreFireFly;
    NetUInt<0, 127> scoreKill;
};

}  // namespace Networking::NetMessage
