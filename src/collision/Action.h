#pragma once
// The editor's undo step lives beside the level grid in the framework.
#include "framework/Action.h"
