#pragma once
#include <span>

class Object;
class Level;
class Engine;

// The program's registered types, in registration order. Each subsystem's
// type fills its own row's function when it is built; a row whose function is
// still null is skipped at start-up.
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

std::span<const ObjectTypeEntry> ObjectTypes();
std::span<const ExObjectEntry> ExObjectTypes();
std::span<const LevelTypeEntry> LevelTypes();
std::span<const EngineTypeEntry> EngineTypes();
