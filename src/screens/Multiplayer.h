#pragma once
// "Multiplayer": one level of a networked match. Every machine builds the
// grid the screen between levels left in basicLevel; the players arrive as
// network objects once every machine has reached the level's sync points;
// players joining during the level get theirs at the checkpoint.
class Level;

namespace LevelData::Multiplayer {

Level* _Init();

// What the build does after every 64th row (rows 0, 64, 128, ...) to keep
// the links alive through a long build: a ping and everything queued sent
// at once. Tests watch it.
extern void (*rowPing)(int row);
void ResetRowPing();

// The network-engine call-backs the builder installs.
void OnClientJoined(char id);
void OnClientLeft(char id);
void OnConnected();
void OnServerLost();

}  // namespace LevelData::Multiplayer
