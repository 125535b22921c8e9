#pragma once
#include <vector>

#include "framework/TypeRegistry.h"

// Every layer's rows, bottom-up (the registration order comes from the
// program's lists, not from this order).
std::vector<TypeRows> LayerTypeRows();

// Lays the layers' rows out in registration order and installs them as the
// framework's tables (done before main; again is harmless).
void InstallProgramTypeTables();
