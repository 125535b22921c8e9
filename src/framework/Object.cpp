#include "framework/Object.h"

#include <algorithm>
#include <new>
#include <vector>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Fatal.h"
#include "framework/State.h"
#include "framework/TypeRegistry.h"

Object::Object(int byteSize) : Entity(byteSize) { ++_totalObjects; }

Object::~Object() {
    --_totalObjects;
    if (!_prototype) {
        _RemoveFromEngines();
        _ClearGroups();
        State::RemoveObject(this);
        if (_next != nullptr) _next->_prev = _prev;
        if (_prev != nullptr) _prev->_next = _next;
        if (_start == this) _start = _next;
        _next = _prev = nullptr;
    }
}

Object* Object::Copy(const char* name) { return _MakeCopy(_state, this, name); }

void Object::_Delete() {
    // A marked object has been torn down already.
    if (_deleted) return;
    _deleted = true;
    if (_free != nullptr) _free(this);
    _ClearEvents();
}

// ---- engines ----

void Object::_TempAddEngine(const char* engineName, const Event& handler) {
    _myEngines[engineName] = nullptr;
    _AddEvent(engineName, handler);
}

bool Object::AddToEngine(const char* engineName, const Event& handler) {
    return AddToEngine(GetMyEngine(engineName), handler);
}

bool Object::AddToEngine(Entity* engine, const Event& handler) {
    // Only an engine can hold members; another entity under that name is no engine.
    if (dynamic_cast<Engine*>(engine) == nullptr) return false;
    auto found = _myEngines.find(engine->GetName());
    if (found != _myEngines.end() && found->second != nullptr) RemoveFromEngine(found->second);
    _AddEngine(engine, handler);
    engine->_AddObject(this);
    return true;
}

void Object::_AddEngine(Entity* engine, Event handler) {
    if (engine == nullptr) return;
    _myEngines[engine->GetName()] = engine;
    SetEvent(engine->GetName(), handler);
}

void Object::RemoveFromEngine(Entity* engine) {
    if (engine == nullptr) return;
    engine->_RemoveObject(this);
    _RemoveEngine(engine->_GetName());
}

void Object::RemoveFromEngine(const char* engineName) { RemoveFromEngine(GetMyEngine(engineName)); }

void Object::_RemoveEngine(const char* engineName) {
    auto found = _myEngines.find(engineName);
    if (found != _myEngines.end() && found->second != nullptr) _myEngines.erase(found);
}

void Object::_RemoveFromEngines() {
    HashMap<Entity*> engines;
    engines.swap(_myEngines);
    for (auto& [name, engine] : engines)
        if (engine != nullptr) engine->_RemoveObject(this);
}

void Object::_CopyEngines(const Object& source) {
    std::vector<std::string> names;
    names.reserve(source._myEngines.size());
    for (const auto& entry : source._myEngines) names.push_back(entry.first);
    for (const std::string& name : names) AddToEngine(name.c_str(), GetEvent(name));
}

// ---- groups ----

void Object::AddGroup(const char* name) {
    if (name == nullptr || *name == '\0') return;
    if (std::find(_groupNames.begin(), _groupNames.end(), name) != _groupNames.end()) return;
    _groupNames.emplace_back(name);
    _groups[name].push_back(this);
}

namespace {
void RemoveFirst(std::vector<Object*>& members, Object* object) {
    auto found = std::find(members.begin(), members.end(), object);
    if (found != members.end()) members.erase(found);
}
}  // namespace

void Object::RemoveGroup(const char* name) {
    if (name == nullptr) return;
    auto found = std::find(_groupNames.begin(), _groupNames.end(), name);
    if (found == _groupNames.end()) return;
    _groupNames.erase(found);
    auto group = _groups.find(name);
    if (group != _groups.end()) RemoveFirst(group->second, this);
}

void Object::_ClearGroups() {
    for (const std::string& name : _groupNames) {
        auto group = _groups.find(name);
        if (group != _groups.end()) RemoveFirst(group->second, this);
    }
    _groupNames.clear();
}

void Object::SetGroup(const char* name) {
    _ClearGroups();
    AddGroup(name);
}

void Object::SetGroups(const std::vector<std::string>& names) {
    _ClearGroups();
    for (const std::string& name : names) AddGroup(name.c_str());
}

std::vector<Object*>& Object::FindByGroup(const char* name) { return _groups[name != nullptr ? name : ""]; }

// ---- cloning ----

Object* Object::_FindPrototype(const std::string& name) {
    auto found = _objects.find(name);
    return found != _objects.end() ? found->second : nullptr;
}

void Object::_Copy(const Object* source, const char* newName) {
    SetName(newName);
    _CopyData(*source);
    _id = _GetNextID();
    _CopyEngines(*source);
    State::AddObject(this);
    _next = _start;
    if (_start != nullptr) _start->_prev = this;
    _prev = nullptr;
    _start = this;
}

namespace {
Object* NewClone(State* state, const Object* source) {
    void* block = ::operator new(static_cast<std::size_t>(std::max<int>(source->_GetSize(), sizeof(Object))));
    Object* object = ::new (block) Object(std::max<int>(source->_GetSize(), sizeof(Object)));
    object->_state = state;
    return object;
}
}  // namespace

Object* Object::MakeCopy(State* state, const std::string& typeName, const char* newName) {
    Object* prototype = _FindPrototype(typeName);
    std::vector<const ExObject*> chain;
    if (prototype == nullptr) {
        std::string name = typeName;
        while (prototype == nullptr) {
            auto found = _exobjects.find(name);
            // An unknown name, or a chain longer than the registry (a cycle), makes nothing.
            if (found == _exobjects.end() || found->second == nullptr || chain.size() >= _exobjects.size()) {
                DebugOutput(("Unknown object type: " + typeName + "\n").c_str());
                return nullptr;
            }
            chain.push_back(found->second);
            name = found->second->BaseName();
            prototype = _FindPrototype(name);
        }
    }
    Object* object = NewClone(state, prototype);
    object->_Copy(prototype, newName);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->Apply(object);
    object->SetName(newName);
    return object;
}

Object* Object::_MakeCopy(State* state, Object* source, const char* newName) {
    if (source == nullptr) return nullptr;
    Object* object = NewClone(state, source);
    object->_Copy(source, newName);
    return object;
}

// ---- registries ----

void Object::_FirstInit() {
    _objects.clear();
    for (const ObjectTypeEntry& entry : ObjectTypes()) {
        if (entry.init == nullptr) continue;
        Object* prototype = nullptr;
        entry.init(prototype);
        if (prototype == nullptr) continue;
        _objects[entry.name] = prototype;
        prototype->_type = entry.name;
    }
    for (const ExObjectEntry& entry : ExObjectTypes()) {
        if (entry.differences == nullptr) continue;
        _exobjects[entry.name] = new ExObject(entry.name, entry.baseName, entry.differences);
    }
}

bool Object::_IncludeObject(const std::string& name, Object* prototype) {
    _objects[name] = prototype;
    return true;
}

bool Object::_ExcludeObject(const std::string& name) {
    _objects.erase(name);
    return true;
}

bool Object::_IncludeExObject(const std::string& name, ExObject* exObject) {
    _exobjects[name] = exObject;
    return true;
}

bool Object::_ExcludeExObject(const std::string& name) {
    _exobjects.erase(name);
    return true;
}

void Object::_RemoveDeleted() { State::RemoveDeletedObjects(); }

void Object::_DeleteAll() {
    while (_start != nullptr) {
        Object* object = _start;
        _start = object->_next;
        if (_start != nullptr) _start->_prev = nullptr;
        object->_next = object->_prev = nullptr;
        // Engines that outlive the object must not keep it as a member.
        object->_RemoveFromEngines();
        object->_groupNames.clear();
        Entity::_Destroy(object);
    }
    _groups.clear();
}
