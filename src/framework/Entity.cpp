#include "framework/Entity.h"

#include <cfloat>
#include <cmath>
#include <new>

#include "framework/Engine.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/State.h"
#include "framework/Variables.h"

void SubscriberList::Remove(std::list<Entity*>::iterator position) {
    if (walking > 0) {
        *position = nullptr;
        blanked = true;
    } else {
        entries.erase(position);
    }
}

void SubscriberList::Compact() {
    if (walking == 0 && blanked) {
        entries.remove(nullptr);
        blanked = false;
    }
}

Entity::Entity(int byteSize) : _size(byteSize), _parentStencil(this), _rootStencil(this) {}

Entity::~Entity() {
    if (_endVariables != nullptr) {
        void (*end)(Entity*) = _endVariables;
        _endVariables = nullptr;
        end(this);
    }
    if (!_prototype) {
        if (!_name.empty()) {
            EntityMap& map = State::_GetEntities(_state);
            auto found = map.find(_name);
            // The name may belong to a newer entity by now: leave that one alone.
            if (found != map.end() && found->second == this) map.erase(found);
        }
        _ClearEvents();
    }
}

void Entity::_Destroy(Entity* entity) {
    if (entity == nullptr) return;
    if (entity->_prototype) {
        delete entity;
    } else {
        // A clone is a kind's object built in a raw block of the prototype's size.
        entity->~Entity();
        ::operator delete(static_cast<void*>(entity));
    }
}

Object* Entity::Copy(const char*) { return nullptr; }
void Entity::_Delete() {}
void Entity::_RemoveAllObjects() {}
void Entity::AddAnObject(Entity*, Event) {}
void Entity::AddAnObject(const char*, Event) {}
void Entity::RemoveAnObject(Entity*) {}
void Entity::RemoveAnObject(const char*) {}
void Entity::_RemoveFromEngines() {}
void Entity::AddToEngine(Entity*, Event) {}
void Entity::AddToEngine(const char*, Event) {}
void Entity::RemoveFromEngine(Entity*) {}
void Entity::RemoveFromEngine(const char*) {}
void Entity::_AddObject(Entity*) {}
void Entity::_RemoveObject(Entity*) {}
void Entity::_AddEngine(Entity*, Event) {}
void Entity::_RemoveEngine(const char*) {}
void Entity::_SetVariable(const std::string&, void*) {}

void Entity::SetName(const char* name) {
    EntityMap& map = State::_GetEntities(_state);
    if (!_name.empty()) {
        auto found = map.find(_name);
        if (found != map.end() && found->second == this) found->second = nullptr;
    }
    _name = name != nullptr ? name : "";
    if (!_name.empty()) map[_name] = this;
}

Entity* Entity::FindByName(const char* name) {
    if (name == nullptr) return nullptr;
    EntityMap& map = State::_GetEntities(State::_currentState);
    auto found = map.find(name);
    return found != map.end() ? found->second : nullptr;
}

Entity* Entity::GetMyEngine(const char* name) const {
    if (name == nullptr) return nullptr;
    EntityMap& map = State::_GetEntities(_state);
    auto found = map.find(name);
    return found != map.end() ? found->second : nullptr;
}

Entity* Entity::GetMyObject(const char* name) const { return GetMyEngine(name); }

Level* Entity::GetMyLevel() const { return _state != nullptr ? _state->level : nullptr; }

Object* Entity::MakeCopy(const std::string& type, const char* name) { return Object::MakeCopy(_state, type, name); }

Level* GetMyLevel() { return State::_currentState != nullptr ? State::_currentState->level : nullptr; }
Entity* GetMyEngine(const char* name) { return Entity::FindByName(name); }
Entity* GetMyObject(const char* name) { return Entity::FindByName(name); }
Object* MakeCopy(const std::string& type, const char* name) {
    return Object::MakeCopy(State::_currentState, type, name);
}

void Entity::_CopyData(const Entity& source) {
    _copy = source._copy;
    _free = source._free;
    _prototype = false;
    _rootStencil = source._rootStencil;
    _parentStencil = const_cast<Entity*>(&source);
    _type = source._type;
    _events.clear();
    for (const auto& [name, handler] : source._events) SetEvent(name, handler);
    _map = source._map;
    _startVar = source._startVar != nullptr
                    ? reinterpret_cast<char*>(this) + (source._startVar - reinterpret_cast<const char*>(&source))
                    : nullptr;
    if (_copy != nullptr) _copy(this, &source);
}

// ---- events ----

void Entity::Subscribe(const std::string& name) {
    // One recorded subscription per name: a second would leave an older list
    // node behind that outlives the entity.
    if (_subscriptions.count(name) != 0) return;
    SubscriberList& list = State::_GetEntityList(_state)[name];
    list.entries.push_front(this);
    _subscriptions.emplace(name, list.entries.begin());
}

void Entity::Unsubscribe(const std::string& name) {
    auto found = _subscriptions.find(name);
    if (found == _subscriptions.end()) return;
    SubscriberMap& map = State::_GetEntityList(_state);
    auto list = map.find(name);
    if (list != map.end()) list->second.Remove(found->second);
    _subscriptions.erase(found);
}

void Entity::AddEvent(const std::string& name, Event handler) {
    Event& slot = _events[name];
    if (!slot) {
        Subscribe(name);
    } else {
        AddEvent("Super." + name, slot);
    }
    slot = handler;
}

void Entity::_AddEvent(const std::string& name, Event handler) {
    Event& slot = _events[name];
    if (slot) _AddEvent("Super." + name, slot);
    slot = handler;
}

void Entity::SetEvent(const std::string& name, Event handler) {
    Event& slot = _events[name];
    if (!slot) Subscribe(name);
    slot = handler;
}

void Entity::_SetEvent(const std::string& name, Event handler) { _events[name] = handler; }

Event& Entity::GetEvent(const std::string& name) { return _events[name]; }

void Entity::RemoveEvent(const std::string& name) {
    Event& slot = _events[name];
    if (!slot) return;
    Unsubscribe(name);
    _events.erase(name);
}

void Entity::_ClearEvents() {
    if (!_subscriptions.empty()) {
        SubscriberMap& map = State::_GetEntityList(_state);
        for (auto& [name, position] : _subscriptions) {
            auto list = map.find(name);
            if (list != map.end()) list->second.Remove(position);
        }
        _subscriptions.clear();
    }
    _events.clear();
}

void Entity::DoEvent(const std::string& name) {
    Event handler = _events[name];
    handler(this, this);
}

void Entity::DoEvent(const std::string& name, Entity* target) {
    if (target == nullptr) return;
    Event handler = target->_events[name];
    handler(target, this);
}

void Entity::DoEvent(const std::string& name, const std::string& targetName) {
    Entity* target = FindByName(targetName.c_str());
    if (target != nullptr) DoEvent(name, target);
}

void Entity::_DoEvent(const std::string& name, Entity* other, Entity* self) {
    if (self == nullptr) return;
    Event handler = self->_events[name];
    handler(self, other);
}

void Entity::Broadcast(SubscriberMap& map, const std::string& name, Entity* other) {
    SubscriberList& list = map[name];
    struct Walk {
        SubscriberList& list;
        explicit Walk(SubscriberList& walked) : list(walked) { ++list.walking; }
        ~Walk() {
            --list.walking;
            list.Compact();
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;
    } walk(list);
    // New subscribers go to the front, so the walk never meets them; leaving
    // ones are blanked, so the walk's position stays valid.
    for (auto it = list.entries.begin(); it != list.entries.end(); ++it) {
        Entity* subscriber = *it;
        if (subscriber == nullptr) continue;
        Event handler = subscriber->_events[name];
        handler(subscriber, other);
    }
}

void Entity::CallEvent(const std::string& name) { Broadcast(State::_GetEntityList(_state), name, this); }

void Entity::_CallEvent(const std::string& name) {
    Broadcast(State::_GetEntityList(State::_currentState), name, nullptr);
}

void Entity::_CallUnload(Entity* self) { self->DoEvent("Unload"); }

// ---- positions and sizes ----

namespace {
float RenderHeight() {
    int height = State::GetRenderHeight();
    return height > 0 ? static_cast<float>(height) : 1.0f;
}
}  // namespace

void Entity::SetPosition(int x, int y) {
    float h = RenderHeight();
    SetPosition(static_cast<float>(x) / h, static_cast<float>(y) / h);
}

void Entity::SetPosition(float x, float y) {
    if (D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(this, enum_position)) {
        position->x = x;
        position->y = y;
    }
}

void Entity::SetPosition(const D3DXVECTOR2& position) { SetPosition(position.x, position.y); }

void Entity::SetPosition(float x, float y, float z) {
    if (D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(this, enum_position)) *position = {x, y, z};
}

void Entity::SetPosition(const D3DXVECTOR3& position) { SetPosition(position.x, position.y, position.z); }

void Entity::SetSize(int width, int height) {
    float h = RenderHeight();
    SetSize(static_cast<float>(width) / h, static_cast<float>(height) / h);
}

void Entity::SetSize(float width, float height) {
    if (D3DXVECTOR2* size = FindVariable<D3DXVECTOR2>(this, enum_size)) *size = {width, height};
}

void Entity::SetSize(const D3DXVECTOR2& size) { SetSize(size.x, size.y); }

void Entity::SetSize(float width, float height, float depth) {
    if (D3DXVECTOR3* size = FindVariable<D3DXVECTOR3>(this, enum_size3D)) *size = {width, height, depth};
}

void Entity::SetSize(const D3DXVECTOR3& size) { SetSize(size.x, size.y, size.z); }

void Entity::_MakePosTopLeft() {
    D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(this, enum_position);
    D3DXVECTOR2* size = FindVariable<D3DXVECTOR2>(this, enum_size);
    if (position == nullptr || size == nullptr) return;
    position->x += size->x * 0.5f;
    position->y -= size->y * 0.5f;
}

// ---- directional pick ----

Entity* Entity::GetInLineEntity(std::list<Entity*>& candidates, const D3DXVECTOR3& from, const D3DXVECTOR2& extent,
                                const D3DXVECTOR2& dir) {
    const float px = from.x, py = from.y;
    const float A = std::fabs(extent.x * dir.y + dir.x * extent.y);

    struct Measure {
        float dx, dy, along, across, B, ex, ey;
    };
    auto measure = [&](Entity* candidate, Measure& m) {
        // A candidate needs its navigation flag ("isButton") set and a position and size.
        if (!HasVariable(candidate, enum_isButton) || !Variable<bool>(candidate, enum_isButton)) return false;
        if (!HasVariable(candidate, enum_position) || !HasVariable(candidate, enum_size)) return false;
        const D3DXVECTOR3& c = Variable<D3DXVECTOR3>(candidate, enum_position);
        const D3DXVECTOR2& e = Variable<D3DXVECTOR2>(candidate, enum_size);
        m.dx = c.x - px;
        m.dy = c.y - py;
        m.along = dir.x * m.dx + dir.y * m.dy;
        m.across = std::fabs(m.dx * dir.y + m.dy * dir.x);
        m.B = std::fabs(dir.x * e.y + e.x * dir.y);
        m.ex = e.x;
        m.ey = e.y;
        return true;
    };

    Entity* best = nullptr;
    float bestValue = FLT_MAX;
    for (Entity* candidate : candidates) {
        Measure m{};
        if (!measure(candidate, m)) continue;
        if (2.0f * m.across <= A + m.B && m.along > 0.0f && m.along < bestValue) {
            bestValue = m.along;
            best = candidate;
        }
    }
    if (best != nullptr) return best;

    bestValue = 0.0f;
    for (Entity* candidate : candidates) {
        Measure m{};
        if (!measure(candidate, m)) continue;
        if (2.0f * m.across <= A + m.B && m.along < 0.0f && m.along < bestValue) {
            bestValue = m.along;
            best = candidate;
        }
    }
    if (best != nullptr) return best;

    bestValue = FLT_MAX;
    for (Entity* candidate : candidates) {
        Measure m{};
        if (!measure(candidate, m)) continue;
        float distance = m.dx * m.dx + m.dy * m.dy;
        float clear = std::fabs(extent.x * dir.x + extent.y * dir.y) + std::fabs(dir.x * m.ex + m.ey * dir.y);
        if (distance > 0.001f && clear < 2.0f * std::fabs(m.along) && distance < bestValue) {
            bestValue = distance;
            best = candidate;
        }
    }
    if (best != nullptr) return best;
    return this;
}

// ---- start-up ----

void Entity::_FirstInit() {
    Level::_FirstInit();
    Engine::_FirstInit();
    Object::_FirstInit();
    Game::_FirstInit();
    Game::Load();
}
