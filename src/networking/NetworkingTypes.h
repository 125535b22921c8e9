#pragma once
#include "framework/TypeRegistry.h"

// The networking layer's registered types (its engine).
TypeRows NetworkingTypes();
