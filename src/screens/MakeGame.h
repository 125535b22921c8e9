#pragma once
// "MakeGame": the custom-game set-up of the player who hosts: the game's
// name, the points each event of the match is worth, and the levels played
// in their order. Its start button hosts the game; clients that connect
// while the host is still here are prepared for the match.
#include "screens/MenuScreen.h"

namespace LevelData::MakeGame {

using Variables = MenuScreen::SkyVariables;
using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The host's preparation of a client that has just connected: a sync point
// for its player that every other client counts as reached, and its id kept
// for the match's new-player step.
void PrepareNewClient(char client);

}  // namespace LevelData::MakeGame
