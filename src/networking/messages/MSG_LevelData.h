#pragma once
#include <vector>

#include "networking/NetMessage.h"

namespace Networking::NetMessage {

// One chunk of a level grid on its way to a client: up to 325 cells in the
// grid's cell order, the grid's size, whether it is the first and the last
// chunk, and whether the match starts as soon as the grid is in.
class MSG_LevelData : public GeneralNetMessage<MSG_LevelData> {
public:
    // At most this many cells travel in one chunk (1,300 bytes: one pack).
    static constexpr unsigned int kMaxCells = 325;

    MSG_LevelData() = default;
    MSG_LevelData(const MSG_LevelData&) = default;
    MSG_LevelData& operator=(const MSG_LevelData&) = default;

    // Collects the chunk while "LoadingLevel" is the current state's level;
    // the last one puts the grid into the game's basicLevel, then starts the
    // match or reports the "StartLevel" sync point. A transfer whose size is
    // outside 1 to 1023, whose chunks disagree on the size, or whose cells do
    // not add up to exactly width × height is dropped.
    void CallBack(NetEngine& engine) override;

    // The cells of the grid being received. A first chunk empties it.
    static std::vector<int> LevelDataBuffer;
    // Forgets a transfer in progress (the buffer is emptied).
    static void ResetTransfer();

    NetTypeList<int, kMaxCells> cells;
    NetUInt<1, 1024> width;
    NetUInt<1, 1024> height;
    NetBool first;
    NetBool last;
    NetBool startMatch;
};

}  // namespace Networking::NetMessage
