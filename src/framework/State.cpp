#include "framework/State.h"

#include <algorithm>
#include <vector>

#include "framework/Engine.h"
#include "framework/Fatal.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Progress.h"
#include "framework/Quit.h"
#include "framework/SaveFile.h"

namespace {
// Where game-wide names, subscriptions and engines go while no game entity
// exists (before start-up has made it).
EntityMap orphanEntities;
SubscriberMap orphanSubscribers;
std::list<Engine*> orphanEngines;
bool orphanPriorityChanged = false;

const std::string kQuit = "Quit";
const std::string kRestart = "Restart";
}  // namespace

void EmptyDeferredFunction(void*) {}

namespace {
// Constant-initialised, filled by the input layer before main.
StateHooks inputDefaults;
}  // namespace

StateHooks State::DefaultHooks() { return inputDefaults; }

void State::SetDefaultInputReset(void (*resetInput)()) {
    inputDefaults.resetInput = resetInput;
    hooks.resetInput = resetInput;
}

State::State(const std::string& name, bool isVisible) : nextLevelName(name), stateName(name), visible(isVisible) {
    if (hooks.createWindow != nullptr) hooks.createWindow(this);
    Init();
}

State::~State() {
    if (nextLevelName == kRestart) nextLevelName = currentLevelName;
    Free();
    if (hooks.destroyWindow != nullptr) hooks.destroyWindow(this);
}

void State::Init() {
    State* remembered = _currentState;
    _currentState = this;
    previousLevelName = currentLevelName;
    if (nextLevelName == kRestart) {
        nextLevelName = currentLevelName;
        restarting = true;
    } else {
        currentLevelName = nextLevelName;
        restarting = false;
    }
    level = Level::_Load(currentLevelName);
    if (level == nullptr) {
        // Not a registered level: nothing is loaded and nothing asks for it again.
        currentLevelName = previousLevelName;
        nextLevelName = currentLevelName;
    }
    priorityChanged = false;
    InitAllEngines();
    if (hooks.resetInput != nullptr) hooks.resetInput();
    if (restarting && level != nullptr) Entity::_DoEvent("Restart", restartFrom, level);
    _currentState = remembered;
}

void State::Free() {
    _currentState = this;
    if (level != nullptr) {
        // The level hears "Unload" while its handlers, engines and objects are
        // all still there; its teardown below then finds the events cleared.
        level->DoEvent("Unload");
        level->_ClearEvents();
    }
    ClearEngines();
    ClearObjects();
    engines.clear();
    if (nextLevelName != kRestart && level != nullptr) {
        if (level->_free != nullptr) level->_free(level);
        Entity::_Destroy(level);
        level = nullptr;
    }
    _currentState = nullptr;
}

bool State::SwitchLevel(bool beforeEngines) {
    if (nextLevelName == currentLevelName) return true;
    if (nextLevelName != kQuit && nextLevelName != kRestart && !Level::_IsRegistered(nextLevelName)) {
        DebugOutput(("No level named \"" + nextLevelName + "\"; staying on \"" + currentLevelName + "\"\n").c_str());
        nextLevelName = currentLevelName;
        return true;
    }
    DataSave();
    Progress::KeepWindowChoice();
    if (nextLevelName == kQuit) {
        deleted = true;
        if (beforeEngines) {
            _currentState = nullptr;
            return false;
        }
        return true;
    }
    if (nextLevelName == kRestart) {
        Level* old = level;
        Free();
        restartFrom = old;
        Init();
        restartFrom = nullptr;
        _currentState = this;
        if (old != nullptr) {
            if (old->_free != nullptr) old->_free(old);
            Entity::_Destroy(old);
        }
    } else {
        Free();
        Init();
    }
    _currentState = this;
    return true;
}

void State::Update() {
    _currentState = this;
    if (!SwitchLevel(true)) return;
    if (hooks.beginFrame != nullptr) hooks.beginFrame(this);
    Level::_Update(level);
    priorityChanged = false;
    UpdateAllEngines();
    SwitchLevel(false);
    if (hooks.endFrame != nullptr) hooks.endFrame(this);
    takenBuffer = nullptr;
    _currentState = nullptr;
}

void State::SetLevel(State* state, const std::string& name) {
    if (state != nullptr) state->nextLevelName = name;
}

// ---- lists ----

void State::AddObject(Object* object) {
    if (object == nullptr || object->_state == nullptr || object->_listed) return;
    object->_state->objects.push_back(object);
    object->_statePlace = std::prev(object->_state->objects.end());
    object->_listed = true;
}

void State::RemoveObject(Object* object) {
    if (object == nullptr || object->_state == nullptr || !object->_listed) return;
    object->_state->objects.erase(object->_statePlace);
    object->_listed = false;
}

std::list<Engine*>& State::GetList() {
    if (_currentState != nullptr) return _currentState->engines;
    if (Game* game = GetMyGame()) return game->engines;
    return orphanEngines;
}

std::list<Engine*>::iterator State::AddToList(Engine* engine) {
    std::list<Engine*>& list = GetList();
    auto place = std::find_if(list.begin(), list.end(),
                              [&](const Engine* e) { return e->GetPriority() < engine->GetPriority(); });
    return list.insert(place, engine);
}

void State::RemoveFromList(std::list<Engine*>::iterator place) { GetList().erase(place); }

void State::RemoveFromList(Engine* engine) {
    std::list<Engine*>& list = GetList();
    auto found = std::find(list.begin(), list.end(), engine);
    if (found != list.end()) list.erase(found);
}

void State::PriorityChanged() {
    if (_currentState != nullptr) {
        _currentState->priorityChanged = true;
    } else if (Game* game = GetMyGame()) {
        game->priorityChanged = true;
    } else {
        orphanPriorityChanged = true;
    }
}

void State::HandlePriorityChange() {
    if (_currentState != nullptr) {
        _currentState->priorityChanged = false;
    } else if (Game* game = GetMyGame()) {
        game->priorityChanged = false;
    } else {
        orphanPriorityChanged = false;
    }
}

namespace {
void RaiseOnEngines(const char* name) {
    std::list<Engine*>& list = State::GetList();
    for (auto it = list.begin(); it != list.end(); ++it) Entity::_DoEvent(name, nullptr, *it);
}
}  // namespace

void State::InitAllEngines() { RaiseOnEngines("Load"); }
void State::UpdateAllEngines() { RaiseOnEngines("Update"); }
void State::ClearAllEngines() { RaiseOnEngines("Unload"); }

void State::ClearEngines() {
    std::vector<Engine*> all(engines.begin(), engines.end());
    for (Engine* engine : all) engine->_Delete();
    engines.clear();
    for (Engine* engine : all) Entity::_Destroy(engine);
}

void State::ClearObjects() {
    std::vector<Object*> all(objects.begin(), objects.end());
    for (Object* object : all) object->_Delete();
    // Objects made by a teardown join the list too and go with the rest.
    all.assign(objects.begin(), objects.end());
    for (Object* object : all) Entity::_Destroy(object);  // each unlinks itself
    subscribers.clear();
}

// ---- end of frame ----

void State::RemoveDeletedObjects() {
    for (State* state : _list) {
        _currentState = state;
        std::vector<Object*> marked;
        for (Object* object : state->objects)
            if (object->_Deleted()) marked.push_back(object);
        for (Object* object : marked) Entity::_Destroy(object);  // unlinks itself
    }
    _currentState = nullptr;
}

void State::RemoveDeletedEngines() {
    for (State* state : _list) {
        _currentState = state;
        std::vector<Engine*> marked;
        for (auto it = state->engines.begin(); it != state->engines.end();) {
            if ((*it)->_Deleted()) {
                marked.push_back(*it);
                it = state->engines.erase(it);
            } else {
                ++it;
            }
        }
        for (Engine* engine : marked) Entity::_Destroy(engine);
    }
    _currentState = nullptr;
}

void State::RemoveDeleted() {
    for (auto it = _list.begin(); it != _list.end();) {
        State* state = *it;
        if (state->deleted || state->nextLevelName == kQuit) {
            it = _list.erase(it);
            delete state;
        } else {
            ++it;
        }
    }
    if (_list.empty()) SetQuitting(nullptr);
}

void State::EndOfFrame() {
    RemoveDeletedObjects();
    RemoveDeletedEngines();
    RemoveDeleted();
}

bool State::UpdateAll() {
    try {
        Game::Update();
        for (auto it = _list.begin(); it != _list.end(); ++it) (*it)->Update();
        void (*deferred)(void*) = DeferredGameFunction;
        DeferredGameFunction = &EmptyDeferredFunction;
        deferred(nullptr);
        return true;
    } catch (...) {
        RecoverFromFailedFrame();
        return false;
    }
}

void State::RecoverFromFailedFrame() {
    _currentState = nullptr;
    for (State* state : _list) {
        if (state->takenBuffer != nullptr) {
            if (hooks.abandonFrame != nullptr) hooks.abandonFrame(state);
            state->takenBuffer = nullptr;
        }
        if (state->nextLevelName != kQuit) state->nextLevelName = kRestart;
    }
}

// ---- look-ups ----

State* State::GetState(const std::string& name) {
    for (State* state : _list)
        if (state->stateName == name) return state;
    return nullptr;
}

EntityMap& State::_GetEntities(State* state) {
    if (state != nullptr) return state->entities;
    if (Game* game = GetMyGame()) return game->entities;
    return orphanEntities;
}

SubscriberMap& State::_GetEntityList(State* state) {
    if (state != nullptr) return state->subscribers;
    if (Game* game = GetMyGame()) return game->subscribers;
    return orphanSubscribers;
}

bool State::WasActive() { return _currentState != nullptr ? _currentState->windowActive : wasAnyActive; }

int State::GetRenderHeight() {
    if (_currentState == nullptr || hooks.renderHeight == nullptr) return 0;
    return hooks.renderHeight(_currentState);
}
