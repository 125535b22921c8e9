#include "framework/BuiltInLevels.h"

const std::array<const char*, 13> BuiltInLevelNames = {
    "GrassLevel01", "GrassLevel02", "GrassLevel03", "GrassLevel04",  "GrassLevel05",  "GrassLevel06", "GrassLevel07",
    "GrassLevel08", "MudLevel01",   "MudLevel02",   "SpeedyLevel01", "SpeedyLevel02", "SpeedyLevel3",
};
