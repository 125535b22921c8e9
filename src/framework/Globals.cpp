// The framework's globals, defined in one unit so that their construction
// order is the order written here (and destruction the reverse). A global
// whose constructor uses another global belongs in this file, after it.
#include "framework/Globals.h"

#include <cstring>
#include <new>

#include <tinyxml.h>

#include "framework/Archetype.h"
#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Framerate.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Options.h"
#include "framework/Quit.h"
#include "framework/State.h"

namespace {
void EmptyPointerHandler(void*) {}
}  // namespace

std::atomic<bool> Quitting{false};
void (*GameQuit)(Object*) = nullptr;

void SetQuitting(Object*) { Quitting.store(true); }

TheGlobals::TheGlobals() : functions{EmptyPointerHandler, EmptyPointerHandler} {}

bool CopyPath(char (&field)[TheGlobals::kPathSize], const std::string& text) {
    if (text.size() >= TheGlobals::kPathSize) {
        field[0] = '\0';
        return false;
    }
    std::memcpy(field, text.c_str(), text.size() + 1);
    return true;
}

void* MemoryManager::New(unsigned size) { return ::operator new(size); }
void MemoryManager::Free(void* block) { ::operator delete(block); }

// The frame-rate registry must exist before the first limiter.
std::vector<Framerate*> Framerate::controllers;
std::recursive_mutex Framerate::Critical;
int Framerate::averageWindow = 10;

// The archetype tag table is filled before the records that follow.
HashMap<ArchetypeTagHandler> ArchetypeTagTable;
std::vector<std::string> ArchetypeGroupPath;
std::vector<TiXmlElement*> ArchetypePendingElements;
std::vector<std::unique_ptr<TiXmlDocument>> ArchetypeTemplateDocuments;
namespace {
const bool archetypeTableBuilt = (BuildArchetypeTagTable(), true);
}  // namespace

TheGlobals Globals;
Framerate gameFrameRate("Main Loop", 60);

// The registries: engines first, then levels and objects, then the states.
HashMap<Engine*> Engine::_engines;
int Engine::_totalEngines = 0;
HashMap<Level*> Level::_levels;
HashMap<Object*> Object::_objects;
HashMap<ExObject*> Object::_exobjects;
HashMap<std::vector<Object*>> Object::_groups;
Object* Object::_start = nullptr;
int Object::_nextID = 0;
int Object::_totalObjects = 0;
State* State::_currentState = nullptr;
std::list<State*> State::_list;
bool State::wasAnyActive = false;
StateHooks State::hooks;  // constant-initialised; the layers above fill it in
void (*DeferredGameFunction)(void*) = &EmptyDeferredFunction;
int CurrentLevelIndex = 0;
std::string EditorLevelName;
OptionsTableType OptionsTable;
MemoryManager memoryManager;
