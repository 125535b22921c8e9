#include "networking/messages/MSG_RequestLevel.h"

#include <algorithm>

#include "networking/LevelTransfer.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

namespace {
bool Pending(const NetEngine& engine, const char* point) {
    const std::vector<SyncEvent>& points = engine.GetSyncEvents();
    return std::any_of(points.begin(), points.end(), [&](const SyncEvent& e) { return e.name == point; });
}
}  // namespace

void MSG_RequestLevel::CallBack(NetEngine& engine) {
    // Only a server has a level to give: the rules go to every client, the
    // grid to the one that asked. Not relayed.
    if (!engine.IsServer()) return;
    // A client that asks while the server is between levels joins the
    // hand-over with the others: while the server waits for every machine at
    // "LoadingLevel" its grid is not yet the next level's (the next level goes
    // to every client once all are there), and while it waits at
    // "StartLevel" the joiner gets the grid as the others did and confirms
    // it. Only a level already in play is handed over to start at once.
    if (Pending(engine, "LoadingLevel")) return;
    SendLevelToClient(engine, sender, startMatch && !Pending(engine, "StartLevel"));
}

}  // namespace Networking::NetMessage
