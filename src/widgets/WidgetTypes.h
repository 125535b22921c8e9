#pragma once
#include "framework/TypeRegistry.h"

// The widgets layer's registered types: a row per widget object type and per
// extended object that is a widget variant.
TypeRows WidgetTypes();
