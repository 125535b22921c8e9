#pragma once
// What the type-replacement entries of Entity (Entity::_ReplaceObject and
// its siblings) need from the plug-in builder, which lives in a higher layer
// and fills these hooks before main; a null hook makes every build fail.
// Also the two services a built plug-in calls back into the program for.
#include <cstdint>
#include <string>
#include <vector>

class Entity;

struct TypeReplacementHooks {
    // Builds source into a plug-in and loads it; null when either failed.
    void* (*compileAndLoad)(const std::string& source) = nullptr;
    // An export of a loaded plug-in; null when it has none of that name.
    void* (*findExport)(void* module, const char* name) = nullptr;
    // Removes the generated header "<prefix><name>.h".
    void (*deleteGeneratedHeader)(const std::string& prefix, const std::string& name) = nullptr;
};
extern TypeReplacementHooks typeReplacementHooks;

// Puts the type of a plug-in already built and loaded into service, as the
// replacement entry of kind ("OBJECT", "EXOBJECT", "ENGINE", "LEVEL" or
// "GAME") does once its build has loaded it: the same checks, the same
// retiring of the old prototype. False, with nothing changed, for a null
// module, another kind, or a plug-in without the exports the kind needs.
// What a build that runs beside the game puts in service when it ends.
bool ReplaceTypeFromPlugin(const std::string& kind, void* module, const char* newName, const char* oldName);

// Whether text may name a replaced type: an identifier of 1 to 64
// characters (type names reach file names and keys).
bool IsReplaceableTypeName(const std::string& text);

// Prototypes and game entities replaced or removed during the run. Clones
// made from them still name them as their stencil, so they are kept, out of
// every registry, until the program ends.
const std::vector<Entity*>& RetiredStencils();

// A plug-in's offset table and its slot count (the plug-in's enumeration may
// be longer than the program's). Tables not given here have the program's.
void _RegisterVariableTable(const std::int32_t* table, int size);

// The address of variable number (spelled name) of entity, as plug-in code
// reaches it; null when the entity's type lacks the variable or the number
// lies beyond its table (logged once per type and name).
void* _PluginVariable(Entity* entity, int number, const char* name);
