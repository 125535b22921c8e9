#pragma once
// "StencilEditor": the stencil editor's main screen. Four lists side by side
// ("ObjectMenu", "ExObjMenu", "LevelMenu", "EngineMenu") show the names of the
// registered object types, extended objects, level types and engines as
// they stand when the screen loads. F6 opens a properties window
// ("StencilObjPropLevel") for the name chosen in each list that has one; F7
// opens a play level beside it (or starts it again, its objects made from
// the types as they now stand), F8 the instance editor. The keys are shown
// under the lists.
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

// The play level F7 opens in a state and window of its own: the built-in
// level CurrentLevelIndex names, played alone.
inline constexpr char kPlayLevel[] = "SinglePlayer";
// What the line under the lists says.
inline constexpr char kKeysHint[] =
    "Click a name, then F6: properties      F7: play a level beside      F8: instance editor";
// F7: the play level opened, or started again when it runs.
State* OpenPlayLevel();
// F8: the instance editor, its boxes naming the play level's player when
// the play level runs.
State* OpenInstanceEditor();

}  // namespace LevelData::StencilEditor
