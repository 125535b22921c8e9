#include "networking/messages/MSG_LevelData.h"

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

std::vector<int> MSG_LevelData::LevelDataBuffer;

namespace {
// The size the first chunk announced; every later chunk must carry the same.
struct Transfer {
    bool open = false;
    unsigned int width = 0;
    unsigned int height = 0;
};
Transfer transfer;

bool SideAllowed(unsigned int side) { return side >= 1 && side <= unsigned(LevelCollision::kMaxSide); }
}  // namespace

void MSG_LevelData::ResetTransfer() {
    LevelDataBuffer.clear();
    LevelDataBuffer.shrink_to_fit();
    transfer = Transfer{};
}

void MSG_LevelData::CallBack(NetEngine& engine) {
    // The level comes from the server: a client cannot replace the server's.
    if (engine.IsServer()) return;
    State* state = State::_currentState;
    if (state == nullptr || state->GetLevelName() != "LoadingLevel") return;

    const unsigned int w = width.value, h = height.value;
    if (first) {
        LevelDataBuffer.clear();
        transfer = Transfer{true, w, h};
    }
    // A chunk outside a transfer, of another size, of a size no grid can
    // have (1024 arrives as 0), or one that would overfill the grid ends the
    // transfer: the cells already collected cannot make a whole grid.
    const std::size_t expected = std::size_t(w) * h;
    if (!transfer.open || w != transfer.width || h != transfer.height || !SideAllowed(w) || !SideAllowed(h) ||
        LevelDataBuffer.size() + cells.value.size() > expected) {
        ResetTransfer();
        return;
    }
    LevelDataBuffer.insert(LevelDataBuffer.end(), cells.value.begin(), cells.value.end());
    if (!last) return;

    const bool whole = LevelDataBuffer.size() == expected;
    std::vector<int> grid;
    grid.swap(LevelDataBuffer);
    ResetTransfer();
    if (!whole) return;  // chunks went missing: the grid is not applied

    auto* game = GameVariablesOrNull();
    if (game == nullptr) return;
    LevelCollision& level = game->basicLevel;
    level.Resize(int(w), int(h));
    // Resize leaves a grid without cells alone: build it at the new size.
    if (level.GetWidth() != int(w) || level.GetHeight() != int(h)) level = LevelCollision(int(w), int(h));
    level.SetGrid(grid.data());

    if (startMatch)
        State::SetLevel(state, "Multiplayer");
    else
        engine.SendSync("StartLevel");
    // Not relayed.
}

}  // namespace Networking::NetMessage
