#pragma once
// The atomic file writer lives in the framework: the save file uses it too.
#include "framework/AtomicFile.h"
