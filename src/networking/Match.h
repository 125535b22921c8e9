#pragma once
// The globals of a networked match. The server fills them when a match is
// set up; a client takes them from the server's rules message.
#include <string>
#include <vector>

// The level being played.
extern std::string CurrentLevelName;
// The names of the levels the match plays, in order (filled on the server).
extern std::vector<std::string> LevelOrder;
// The built-in grid number of each entry of LevelOrder, in the same order.
extern std::vector<int> LevelOrderNumbers;
// The number of levels of the match: on the server LevelOrder's size, on a
// client the count the server's rules carry. CurrentLevelIndex (GameVariables.h)
// is the index of the level being played.
extern int MatchLevelCount;
