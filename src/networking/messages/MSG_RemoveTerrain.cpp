#include "networking/messages/MSG_RemoveTerrain.h"

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

void MSG_RemoveTerrain::CallBack(NetEngine&) {
    // The grid's own bounds check drops a cell outside the grid (NaN included).
    if (auto* game = GameVariablesOrNull()) game->basicLevel.SetCell(cell.value, LevelCellValue::BrokenTile);
    // Not relayed: it answers one joining client.
}

}  // namespace Networking::NetMessage
