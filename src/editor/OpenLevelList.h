#pragma once
// "OpenLevelList": the open dialog's list of the level files of the user's
// level folder, 40 rows over a "Stencil Back" plate with a VSlider beside
// it. Row k (from the top) shows entry t + k, where t is the bar's value,
// whole; a click on a row that shows an entry chooses that entry's file
// name (`clickedLevel`), and a yellow bar marks the chosen entry's row.
#include <cstdint>
#include <string>
#include <vector>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::OpenLevelList {

constexpr int kRows = 40;
// What `clickedLevel` holds while no entry is chosen.
inline constexpr const char* kNothing = "nothing";

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = nullptr;
    Object* levelList = nullptr;
    std::int32_t oldSliderValue = 0;
    Object* levelSlider = nullptr;
    std::string clickedLevel = kNothing;
    std::vector<std::string> levelNames;  // file names, extension included
    std::int32_t selectedLevel = -1;      // the row clicked, from the bottom; -1 none
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The list's variables, or null for any other object.
Variables* Find(Entity* entity);

// The first entry shown: the bar's value, whole.
int FirstShown(const Variables& v);

// Fills levelNames from the user's level folder: the ".lvl" files whose
// name before the extension is a valid level name, in the folder's order.
void ListLevelFiles(Variables& v);

}  // namespace ObjectData::OpenLevelList
