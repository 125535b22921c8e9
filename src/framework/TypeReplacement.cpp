// Putting types built from scripts into service while the game runs. The
// plug-in builder (a higher layer) reaches us through typeReplacementHooks.
//
// A replaced or removed prototype is retired, never destroyed: clones made
// from it keep pointing at it as their stencil, and its copy and free steps
// (code in a plug-in that is never unloaded) stay valid for them.
#include "framework/TypeReplacement.h"

#include <functional>
#include <set>
#include <unordered_map>
#include <utility>

#include "framework/Engine.h"
#include "framework/Entity.h"
#include "framework/ExObject.h"
#include "framework/Fatal.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Variables.h"

TypeReplacementHooks typeReplacementHooks;

namespace {

// Never destroyed: what it holds stays reachable to the very end of the
// program, after the statics have ended.
std::vector<Entity*>& Retired() {
    static auto* retired = new std::vector<Entity*>();
    return *retired;
}

void Retire(Entity* entity) {
    if (entity != nullptr) Retired().push_back(entity);
}

void* CompileAndLoad(const char* source) {
    if (typeReplacementHooks.compileAndLoad == nullptr || source == nullptr) return nullptr;
    return typeReplacementHooks.compileAndLoad(source);
}

void* FindExport(void* module, const char* name) {
    if (typeReplacementHooks.findExport == nullptr || module == nullptr) return nullptr;
    return typeReplacementHooks.findExport(module, name);
}

void DeleteHeader(const std::string& prefix, const std::string& name) {
    if (typeReplacementHooks.deleteGeneratedHeader != nullptr && !name.empty())
        typeReplacementHooks.deleteGeneratedHeader(prefix, name);
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// An empty name is allowed where it means "none"; any other must be a type name.
bool NameAllowed(const std::string& name) { return name.empty() || IsReplaceableTypeName(name); }

bool Refuse(const char* entry, const std::string& name) {
    DebugOutput((std::string(entry) + ": \"" + name + "\" is not a type name; nothing changed.\n").c_str());
    return false;
}

// The steps shared by objects, engines and levels. Registry is the map of
// prototypes; exclude removes an entry.
// A plug-in module, built and loaded only when the step needs one.
using ModuleSource = std::function<void*()>;

ModuleSource Building(const char* source) {
    return [source] { return CompileAndLoad(source); };
}
ModuleSource Built(void* module) {
    return [module] { return module; };
}

template <class Kind, class Registry, class Exclude>
bool ReplacePrototype(const char* entry, const char* prefix, Registry& registry, Exclude exclude,
                      const ModuleSource& plugin, const char* newNameText, const char* oldNameText) {
    const std::string newName = Text(newNameText);
    const std::string oldName = Text(oldNameText);
    if (!NameAllowed(newName)) return Refuse(entry, newName);
    if (!NameAllowed(oldName)) return Refuse(entry, oldName);
    auto found = registry.find(oldName);
    Kind* old = found != registry.end() ? found->second : nullptr;

    if (newName.empty()) {
        if (old != nullptr || found != registry.end()) exclude(oldName);
        Retire(old);
        DeleteHeader(prefix, oldName);
        return true;
    }

    void* module = plugin();
    if (module == nullptr) return false;
    auto init = reinterpret_cast<void (*)(Kind*&)>(FindExport(module, "_Init"));
    if (init == nullptr) {
        DebugOutput((std::string(entry) + ": the plug-in has no \"_Init\"; nothing changed.\n").c_str());
        return false;
    }
    Kind* prototype = nullptr;
    init(prototype);
    if (prototype == nullptr) {
        DebugOutput((std::string(entry) + ": \"_Init\" made no prototype; nothing changed.\n").c_str());
        return false;
    }
    if (found != registry.end()) exclude(oldName);
    Retire(old);
    if (newName != oldName) DeleteHeader(prefix, oldName);
    prototype->_type = newName;
    registry[newName] = prototype;
    return true;
}

void NoDifferences(Object*) {}

std::unordered_map<const std::int32_t*, int>& TableSizes() {
    static std::unordered_map<const std::int32_t*, int> sizes;
    return sizes;
}

}  // namespace

bool IsReplaceableTypeName(const std::string& text) {
    if (text.empty() || text.size() > 64) return false;
    if (text[0] >= '0' && text[0] <= '9') return false;
    for (char c : text) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

const std::vector<Entity*>& RetiredStencils() { return Retired(); }

namespace {

bool ReplaceObject(const ModuleSource& plugin, const char* newName, const char* oldName) {
    return ReplacePrototype<Object>(
        "_ReplaceObject", "OBJECT ", Object::_objects, [](const std::string& name) { Object::_ExcludeObject(name); },
        plugin, newName, oldName);
}

bool ReplaceEngine(const ModuleSource& plugin, const char* newName, const char* oldName) {
    return ReplacePrototype<Engine>(
        "_ReplaceEngine", "ENGINE ", Engine::_engines, [](const std::string& name) { Engine::_ExcludeEngine(name); },
        plugin, newName, oldName);
}

bool ReplaceLevel(const ModuleSource& plugin, const char* newName, const char* oldName) {
    return ReplacePrototype<Level>(
        "_ReplaceLevel", "LEVEL ", Level::_levels, [](const std::string& name) { Level::_ExcludeLevel(name); }, plugin,
        newName, oldName);
}

bool ReplaceExObject(const ModuleSource& plugin, const char* newNameText, const char* oldNameText) {
    const std::string newName = Text(newNameText);
    const std::string oldName = Text(oldNameText);
    if (!NameAllowed(newName)) return Refuse("_ReplaceExObject", newName);
    if (!NameAllowed(oldName)) return Refuse("_ReplaceExObject", oldName);
    auto found = Object::_exobjects.find(oldName);
    ExObject* old = found != Object::_exobjects.end() ? found->second : nullptr;

    if (newName.empty()) {
        DeleteHeader("EXOBJECT ", oldName);
        Object::_ExcludeExObject(oldName);
        // Clones do not point at a variant: it is applied when they are made.
        delete old;
        return true;
    }

    void* module = plugin();
    if (module == nullptr) return false;
    auto differences = reinterpret_cast<ExObject::Differences>(FindExport(module, "Differences"));
    auto newObject = reinterpret_cast<void (*)(ExObject*)>(FindExport(module, "NewObject"));
    // A new variant needs its base name, which only "NewObject" gives.
    if (old == nullptr && newObject == nullptr) {
        DebugOutput(("_ReplaceExObject: \"" + newName +
                     "\" is new and the plug-in has no \"NewObject\" to name its base; nothing changed.\n")
                        .c_str());
        return false;
    }
    ExObject* variant = old;
    if (variant == nullptr) {
        variant = new ExObject(newName, "", &NoDifferences);
    } else if (newName != oldName) {
        DeleteHeader("EXOBJECT ", oldName);
        Object::_ExcludeExObject(oldName);
    }
    variant->name = newName;
    variant->differences = differences != nullptr ? differences : &NoDifferences;
    if (newObject != nullptr) newObject(variant);
    if (variant->object.empty()) {
        DebugOutput(
            ("_ReplaceExObject: \"NewObject\" gave \"" + newName + "\" no base name; nothing changed.\n").c_str());
        if (old == nullptr) delete variant;
        return false;
    }
    Object::_IncludeExObject(newName, variant);
    return true;
}

bool ReplaceGame(const ModuleSource& plugin, const char* newNameText) {
    const std::string newName = Text(newNameText);
    if (!IsReplaceableTypeName(newName)) return Refuse("_ReplaceGame", newName);
    void* module = plugin();
    if (module == nullptr) return false;
    auto init = reinterpret_cast<void (*)(Game*&)>(FindExport(module, "_Init"));
    if (init == nullptr) {
        DebugOutput("_ReplaceGame: the plug-in has no \"_Init\"; nothing changed.\n");
        return false;
    }
    Game*& slot = GetMyGame();
    if (Game* old = slot) {
        // Out of its engines and its subscriptions before it is set aside.
        old->ClearEngines();
        old->_ClearEvents();
        Retire(old);
        slot = nullptr;
    }
    init(slot);
    return true;
}

}  // namespace

bool Entity::_ReplaceObject(const char* source, const char* newName, const char* oldName) {
    return ReplaceObject(Building(source), newName, oldName);
}

bool Entity::_ReplaceEngine(const char* source, const char* newName, const char* oldName) {
    return ReplaceEngine(Building(source), newName, oldName);
}

bool Entity::_ReplaceLevel(const char* source, const char* newName, const char* oldName) {
    return ReplaceLevel(Building(source), newName, oldName);
}

bool Entity::_ReplaceExObject(const char* source, const char* newName, const char* oldName) {
    return ReplaceExObject(Building(source), newName, oldName);
}

bool Entity::_ReplaceGame(const char* source, const char* newName, const char*) {
    return ReplaceGame(Building(source), newName);
}

bool ReplaceTypeFromPlugin(const std::string& kind, void* module, const char* newName, const char* oldName) {
    if (module == nullptr) return false;
    if (kind == "OBJECT") return ReplaceObject(Built(module), newName, oldName);
    if (kind == "EXOBJECT") return ReplaceExObject(Built(module), newName, oldName);
    if (kind == "ENGINE") return ReplaceEngine(Built(module), newName, oldName);
    if (kind == "LEVEL") return ReplaceLevel(Built(module), newName, oldName);
    if (kind == "GAME") return ReplaceGame(Built(module), newName);
    DebugOutput(("A plug-in's type of kind \"" + kind + "\" cannot be put into service; nothing changed.\n").c_str());
    return false;
}

void _RegisterVariableTable(const std::int32_t* table, int size) {
    if (table != nullptr && size > 0) TableSizes()[table] = size;
}

void* _PluginVariable(Entity* entity, int number, const char* name) {
    if (entity == nullptr || entity->_map == nullptr || entity->_startVar == nullptr) return nullptr;
    const auto sized = TableSizes().find(entity->_map);
    const int size = sized != TableSizes().end() ? sized->second : MAX_ENUM_VALUE;
    if (number >= 0 && number < size && entity->_map[number] != kVariableAbsent)
        return entity->_startVar + entity->_map[number];
    static std::set<std::pair<std::string, std::string>> reported;
    const std::string variable = name != nullptr ? name : std::to_string(number);
    if (reported.emplace(entity->GetType(), variable).second)
        DebugOutput(("A plug-in reads variable \"" + variable + "\" of an entity of type \"" + entity->GetType() +
                     "\", which has no such variable; it reads a zeroed stand-in.\n")
                        .c_str());
    return nullptr;
}
