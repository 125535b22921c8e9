// The networking layer's rows, handed to the program's registration.
#include "networking/NetworkingTypes.h"

#include "networking/NetworkingUpdate.h"

namespace {

const EngineTypeEntry kEngines[] = {
    {"NetworkingUpdate", &EngineData::NetworkingUpdate::_Init},
};

}  // namespace

TypeRows NetworkingTypes() { return {.engines = kEngines}; }
