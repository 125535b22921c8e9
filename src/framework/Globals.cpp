// The framework's globals, defined in one unit so that their construction
// order is the order written here (and destruction the reverse). A global
// whose constructor uses another global belongs in this file, after it.
#include "framework/Globals.h"

#include <cstring>
#include <new>

#include "framework/Framerate.h"
#include "framework/Options.h"
#include "framework/Quit.h"

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

TheGlobals Globals;
Framerate gameFrameRate("Main Loop", 60);
OptionsTableType OptionsTable;
MemoryManager memoryManager;
