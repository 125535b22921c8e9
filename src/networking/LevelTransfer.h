#pragma once
// Sending game state through a network engine: the server's level grid to
// its clients, and one entity's snapshot.
#include <vector>

#include "networking/messages/MSG_LevelData.h"

class Entity;
class LevelCollision;

namespace Networking {
class NetEngine;
}

// The grid cut into MSG_LevelData chunks in cell order: 325 cells each while
// more than 325 remain, then the rest (an empty grid gives one empty chunk).
// Every chunk carries the size and startMatch; the first and last carry their flags.
std::vector<Networking::NetMessage::MSG_LevelData> MakeLevelChunks(const LevelCollision& grid, bool startMatch);

// Sends the rules to every client and the game's basicLevel, in chunks, to
// clientId (every client when it is 0). Nothing is sent while the engine has
// no client slot in use.
void SendLevelToClient(Networking::NetEngine& engine, unsigned int clientId, bool startMatch);
// The same through the program's engine.
void SendLevelToClient(unsigned int clientId, bool startMatch);

// Queues the entity's snapshot (MSG_UpdatePlayer), unreliably: a client to
// its server, a server to every client.
void UpdateNetObj(Networking::NetEngine& engine, Entity* entity);
void UpdateNetObj(Entity* entity);
