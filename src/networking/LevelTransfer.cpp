#include "networking/LevelTransfer.h"

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"
#include "networking/messages/MSG_GameRules.h"
#include "networking/messages/MSG_UpdatePlayer.h"

using Networking::NetMessage::MSG_LevelData;

std::vector<MSG_LevelData> MakeLevelChunks(const LevelCollision& grid, bool startMatch) {
    const int* cells = grid.GetGridPtr();
    const std::size_t total = std::size_t(grid.GetWidth()) * std::size_t(grid.GetHeight());
    std::vector<MSG_LevelData> chunks;
    std::size_t at = 0;
    do {
        const std::size_t count = std::min<std::size_t>(total - at, MSG_LevelData::kMaxCells);
        MSG_LevelData& chunk = chunks.emplace_back();
        if (count > 0) chunk.cells.value.assign(cells + at, cells + at + count);
        chunk.width = static_cast<std::uint32_t>(grid.GetWidth());
        chunk.height = static_cast<std::uint32_t>(grid.GetHeight());
        chunk.first = at == 0;
        at += count;
        chunk.last = at == total;
        chunk.startMatch = startMatch;
    } while (at < total);
    return chunks;
}

void SendLevelToClient(Networking::NetEngine& engine, unsigned int clientId, bool startMatch) {
    // Only a server gives out its level, and only to live clients: those
    // whose slot is in use, counted or not. The count of clients follows
    // only at the update's time-outs, after the received messages have run,
    // so a client that finished its handshake during one long frame of the
    // server asks for the level before it is counted.
    if (!engine.IsServer() || engine.GetClientList().size() < 2) return;
    Networking::NetMessage::MSG_GameRules rules(0);
    engine.PrivateSendNetMessage(rules, true, false);
    auto* game = Networking::GameVariablesOrNull();
    if (game == nullptr) return;
    for (MSG_LevelData& chunk : MakeLevelChunks(game->basicLevel, startMatch)) {
        if (clientId == 0)
            engine.PrivateSendNetMessage(chunk, true, false);
        else if (clientId < 16)
            engine.PrivateSendNetMessageToClient(static_cast<unsigned char>(clientId), chunk, true, false);
    }
}

void SendLevelToClient(unsigned int clientId, bool startMatch) {
    SendLevelToClient(NetworkingEngine, clientId, startMatch);
}

void UpdateNetObj(Networking::NetEngine& engine, Entity* entity) {
    Networking::NetMessage::MSG_UpdatePlayer snapshot(entity);
    engine.PrivateSendNetMessage(snapshot, false, false);
}

void UpdateNetObj(Entity* entity) { UpdateNetObj(NetworkingEngine, entity); }
