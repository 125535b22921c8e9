// The platform's rows, handed to the program's registration.
#include "platform/engines/PlatformEngines.h"

namespace {

const EngineTypeEntry kEngines[] = {
    {"GameInput", &EngineData::GameInput::_Init},
    {"GuiManager", &EngineData::GuiManager::_Init},
    {"Input", &EngineData::Input::_Init},
    {"Sound", &EngineData::Sound::_Init},
};

}  // namespace

TypeRows PlatformTypes() { return {.engines = kEngines}; }
