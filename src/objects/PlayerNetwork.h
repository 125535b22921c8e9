#pragma once
// The player's network roles: a remote copy's dead reckoning and the speed
// zones it leaves, removing remote copies, telling a joining client about a
// player, and breaking up at the level's end.
class Entity;

namespace ObjectData::Player {

void SetClientBehavior(Entity* self, Entity* other);
void ClientBehavior(Entity* self, Entity* other);
void KillUnowned(Entity* self, Entity* other);
void OnNewPlayer(Entity* self, Entity* other);
void LevelEnd(Entity* self, Entity* other);

}  // namespace ObjectData::Player
