#pragma once
#include "framework/TypeRegistry.h"

// The editors' registered types: the level editor's and the stencil editor's
// objects, extended objects and screens.
TypeRows EditorTypes();
