#pragma once
#include "framework/TypeRegistry.h"

// The gameplay layer's registered types (a row per object type).
TypeRows GameplayTypes();
