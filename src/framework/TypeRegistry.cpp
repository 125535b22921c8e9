// The installed registration tables, and the framework's own rows.
#include "framework/TypeRegistry.h"

#include "framework/engines/BuiltInEngines.h"

namespace {

// Constant-initialised (empty), so that the program may install its tables
// during static initialisation whatever the order of the units.
TypeRows installed;

const EngineTypeEntry kFrameworkEngines[] = {
    {"Behavior", &EngineData::Behavior::_Init},
    {"Behavior2", &EngineData::Behavior2::_Init},
    {"GraphicsDraw", &EngineData::GraphicsDraw::_Init},
    {"GraphicsUpdate", &EngineData::GraphicsUpdate::_Init},
    {"PostCameraUpdate", &EngineData::PostCameraUpdate::_Init},
    {"PreCameraUpdate", &EngineData::PreCameraUpdate::_Init},
    {"ProfilerDraw", &EngineData::ProfilerDraw::_Init},
    {"WindowEngine", &EngineData::WindowEngine::_Init},
};

}  // namespace

std::span<const ObjectTypeEntry> ObjectTypes() { return installed.objects; }
std::span<const ExObjectEntry> ExObjectTypes() { return installed.exObjects; }
std::span<const LevelTypeEntry> LevelTypes() { return installed.levels; }
std::span<const EngineTypeEntry> EngineTypes() { return installed.engines; }

void InstallTypeTables(const TypeRows& tables) { installed = tables; }

TypeRows FrameworkTypes() { return {.engines = kFrameworkEngines}; }
