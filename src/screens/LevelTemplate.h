#pragma once
// The level-script template and the spawning helpers live in the framework.
#include "framework/LevelTemplate.h"
