#pragma once
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class Entity;

// The program's one global record.
struct TheGlobals {
    static constexpr std::size_t kPathSize = 1024;
    char workingDirectory[kPathSize] = {};  // filled by start-up
    char temporaryFolder[kPathSize] = {};   // the temporary path + "KerrowanTemp/"
    char userDataFolder[kPathSize] = {};    // the Documents folder + "/Tavelin"
    std::unordered_map<std::string, Entity*> entities;
    std::string text[3];
    std::vector<std::string> lists[2];
    bool enabled = true;
    void (*functions[2])(void*);
    std::vector<std::string> extra;

    TheGlobals();
};

extern TheGlobals Globals;

// Copies text into a fixed path field, always terminated; false when it did not fit
// (the field then holds nothing, so a cut path is never used).
bool CopyPath(char (&field)[TheGlobals::kPathSize], const std::string& text);

// The allocation interface offered to built plug-ins: the general allocator.
class MemoryManager {
public:
    void* New(unsigned size);
    void Free(void* block);
};

extern MemoryManager memoryManager;
