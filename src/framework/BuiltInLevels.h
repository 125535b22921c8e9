#pragma once
// The names of the built-in levels in play order: index n is built-in grid n.
// Single-player play and the custom level picker list them.
#include <array>

extern const std::array<const char*, 13> BuiltInLevelNames;
