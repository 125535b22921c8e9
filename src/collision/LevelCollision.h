#pragma once
// The level grid lives in the framework: the game entity's variables hold one.
#include "framework/LevelCollision.h"
