#pragma once
#include "framework/TypeRegistry.h"

// The screens layer's registered types: level types (screens and play
// levels), the objects only screens use, and the screens' extended objects.
TypeRows ScreenTypes();
