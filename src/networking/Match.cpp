#include "networking/Match.h"

std::string CurrentLevelName;
std::vector<std::string> LevelOrder;
std::vector<int> LevelOrderNumbers;
int MatchLevelCount = 0;
