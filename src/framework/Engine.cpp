#include "framework/Engine.h"

#include <algorithm>
#include <new>

#include "framework/Fatal.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/TypeRegistry.h"

Engine::Engine(int byteSize) : Entity(byteSize) {
    ++_totalEngines;
    _SetEvent("Load", &Engine::Load);
    _SetEvent("Update", &Engine::Update);
    _SetEvent("Unload", &Engine::Unload);
}

Engine::~Engine() {
    --_totalEngines;
    if (!_prototype) _RemoveAllObjects();
}

void Engine::Load(Entity*, Entity*) {}

void Engine::Update(Entity* self, Entity*) { UpdateMembers(static_cast<Engine*>(self), nullptr); }

void Engine::UpdateMembers(Engine* engine, bool (*keep)(Entity* member)) {
    const std::string name = engine->GetName();
    struct Walk {
        Engine* engine;
        explicit Walk(Engine* walked) : engine(walked) { ++engine->_walking; }
        ~Walk() {
            --engine->_walking;
            engine->Compact();
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;
    } walk(engine);
    // The next member is taken after each handler returns; members that leave
    // during the pass are blanked, so the walk stays valid and skips them.
    for (auto it = engine->_members.begin(); it != engine->_members.end(); ++it) {
        Entity* member = *it;
        if (member == nullptr || (keep != nullptr && !keep(member))) continue;
        Event handler = member->GetEvent(name);
        handler(member, engine);
    }
}

void Engine::Unload(Entity* self, Entity*) { self->_RemoveAllObjects(); }

void Engine::Compact() {
    if (_walking == 0 && _blanked) {
        _members.remove(nullptr);
        _blanked = false;
    }
}

void Engine::_Delete() {
    if (_deleted) return;
    _deleted = true;
    if (_free != nullptr) _free(this);
    _ClearEvents();
}

void Engine::_RemoveAllObjects() {
    std::vector<Entity*> members;
    members.reserve(_index.size());
    for (Entity* member : _members)
        if (member != nullptr) members.push_back(member);
    if (_walking > 0) {
        std::fill(_members.begin(), _members.end(), nullptr);
        _blanked = true;
    } else {
        _members.clear();
    }
    _index.clear();
    for (Entity* member : members) member->_RemoveEngine(_GetName());
}

void Engine::AddAnObject(Entity* entity, Event handler) {
    if (entity == nullptr) return;
    entity->_AddEngine(this, handler);
    _AddObject(entity);
}

void Engine::AddAnObject(const char* name, Event handler) { AddAnObject(GetMyObject(name), handler); }

void Engine::RemoveAnObject(Entity* entity) {
    if (entity == nullptr) return;
    entity->_RemoveEngine(_GetName());
    _RemoveObject(entity);
}

void Engine::RemoveAnObject(const char* name) { RemoveAnObject(GetMyObject(name)); }

void Engine::_AddObject(Entity* entity) {
    if (entity == nullptr || _index.count(entity) != 0) return;
    _members.push_back(entity);
    _index.emplace(entity, std::prev(_members.end()));
}

void Engine::_RemoveObject(Entity* entity) {
    auto found = _index.find(entity);
    if (found == _index.end()) return;
    if (_walking > 0) {
        *found->second = nullptr;
        _blanked = true;
    } else {
        _members.erase(found->second);
    }
    _index.erase(found);
}

bool Engine::IsMember(const Entity* entity) const { return _index.count(entity) != 0; }

void Engine::SetPriority(double priority) {
    _priority = priority;
    State::PriorityChanged();
}

Engine* Engine::_MakeCopy(const std::string& name, double priority) {
    auto found = _engines.find(name);
    if (found == _engines.end() || found->second == nullptr) {
        DebugOutput(("Unknown engine: " + name + "\n").c_str());
        return nullptr;
    }
    Engine* prototype = found->second;
    const int size = std::max<int>(prototype->_GetSize(), sizeof(Engine));
    void* block = ::operator new(static_cast<std::size_t>(size));
    Engine* engine = ::new (block) Engine(size);
    engine->_state = State::_currentState;
    engine->_Copy(prototype, name, priority);
    return engine;
}

void Engine::_Copy(const Engine* prototype, const std::string& name, double priority) {
    SetName(name.c_str());
    _CopyData(*prototype);
    _setupPriority = _priority = priority;
    _iter = State::AddToList(this);
}

void Engine::_FirstInit() {
    for (const EngineTypeEntry& entry : EngineTypes()) {
        if (entry.init == nullptr) continue;
        Engine* prototype = entry.init();
        if (prototype == nullptr) continue;
        _engines[entry.name] = prototype;
        prototype->_type = entry.name;
    }
}

bool Engine::_IncludeEngine(const std::string& name, Engine* prototype) {
    _engines[name] = prototype;
    return true;
}

bool Engine::_ExcludeEngine(const std::string& name) {
    _engines.erase(name);
    return true;
}

void Engine::_RemoveDeleted() { State::RemoveDeletedEngines(); }
