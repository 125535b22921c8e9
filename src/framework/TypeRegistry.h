#pragma once
// The registries' rows. The framework knows only their shape: each layer
// hands the program the rows of the types it defines (a function named
// <Layer>Types() in that layer), and the program lays them out in
// registration order and installs the tables before main. The framework's
// registration then fills the registries from the installed tables; a row
// whose function is null (a type still to come) is skipped, and a name that
// is not registered answers null.
#include <span>

class Object;
class Level;
class Engine;

struct ObjectTypeEntry {
    const char* name;
    void (*init)(Object*& slot);
};
struct ExObjectEntry {
    const char* name;
    const char* baseName;
    void (*differences)(Object* object);
};
struct LevelTypeEntry {
    const char* name;
    Level* (*init)();
};
struct EngineTypeEntry {
    const char* name;
    Engine* (*init)();
};

// The rows one layer defines, in any order, or the registration tables.
struct TypeRows {
    std::span<const ObjectTypeEntry> objects;
    std::span<const ExObjectEntry> exObjects;
    std::span<const LevelTypeEntry> levels;
    std::span<const EngineTypeEntry> engines;
};

// The registration tables, in the order the registries are filled (empty
// until the program installs them).
std::span<const ObjectTypeEntry> ObjectTypes();
std::span<const ExObjectEntry> ExObjectTypes();
std::span<const LevelTypeEntry> LevelTypes();
std::span<const EngineTypeEntry> EngineTypes();

// Called by the program (before main) with its tables; they must live for
// the rest of the program.
void InstallTypeTables(const TypeRows& tables);

// The framework's own rows: its built-in engines.
TypeRows FrameworkTypes();
