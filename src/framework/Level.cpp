#include "framework/Level.h"

#include <algorithm>
#include <new>

#include "framework/Fatal.h"
#include "framework/State.h"
#include "framework/TypeRegistry.h"

Level::Level(int byteSize) : Entity(byteSize) { _unnamed = true; }

Level::~Level() = default;

void Level::_FirstInit() {
    for (const LevelTypeEntry& entry : LevelTypes()) {
        if (entry.init == nullptr) continue;
        Level* prototype = entry.init();
        if (prototype == nullptr) continue;
        _levels[entry.name] = prototype;
        prototype->_SetName(entry.name);
        prototype->_type = entry.name;
    }
}

bool Level::_IsRegistered(const std::string& name) {
    auto found = _levels.find(name);
    return found != _levels.end() && found->second != nullptr;
}

Level* Level::_Load(const std::string& name) {
    auto found = _levels.find(name);
    if (found == _levels.end() || found->second == nullptr) {
        DebugOutput(("Unknown level: " + name + "\n").c_str());
        return nullptr;
    }
    Level* prototype = found->second;
    const int size = std::max<int>(prototype->_GetSize(), sizeof(Level));
    void* block = ::operator new(static_cast<std::size_t>(size));
    Level* level = ::new (block) Level(size);
    level->_state = State::_currentState;
    level->_Copy(prototype);
    return level;
}

void Level::_Copy(const Level* prototype) {
    SetName(prototype->_GetName());
    _CopyData(*prototype);
}

void Level::_Update(Level* level) {
    if (level != nullptr) Entity::_DoEvent("Update", nullptr, level);
}

void Level::_Unload(Level* level) {
    if (level == nullptr) return;
    if (level->_free != nullptr) level->_free(level);
    Entity::_Destroy(level);
}

bool Level::_IncludeLevel(const std::string& name, Level* prototype) {
    _levels[name] = prototype;
    return true;
}

bool Level::_ExcludeLevel(const std::string& name) {
    _levels.erase(name);
    return true;
}
