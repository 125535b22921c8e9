#include "networking/Match.h"

std::string CurrentLevelName;
std::vector<std::string> LevelOrder;
int MatchLevelCount = 0;
