#pragma once
// "StencilEditor": the stencil editor's main screen. Four lists side by side
// ("ObjectMenu", "ExObjMenu", "LevelMenu", "EngineMenu") show the names of the
// registered object types, extended objects, level types and engines as
// they stand when the screen loads. F6 opens a properties window
// ("StencilObjPropLevel") for the name chosen in each list that has one.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/LevelTemplate.h"

namespace LevelData::StencilEditor {

struct Variables {
    std::int32_t position1 = 0;
};

using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// One list of the screen: its object name, centre x, width in pixels,
// caption and kind word.
struct MenuPlace {
    const char* object;
    float x;
    int width;
    const char* caption;
    const char* kind;
};
// The four lists, in the order F6 serves them.
extern const MenuPlace kMenus[4];

// The names a list of that kind shows: the registry's names, sorted, without
// its empty entries.
std::vector<std::string> RegisteredNames(const std::string& kind);

}  // namespace LevelData::StencilEditor
