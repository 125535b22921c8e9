#pragma once
// "OpenLevelList": the open dialog's list of the level files of the user's
// level folder, sorted by name (case folded), shown without ".lvl" in the
// interface's plain letters, one row a name over a "Stencil Back" plate
// with a VSlider beside it. Row k (from the top) shows entry t + k, where t
// is the bar's value, whole; a click on a row that shows an entry chooses
// that entry's file name (`clickedLevel`), a second click on it within the
// double-click time opens it (the dialog's "OpenChosen"), and a yellow bar
// marks the chosen entry's row.
#include <cstdint>
#include <string>
#include <vector>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::OpenLevelList {

// The height of one row, in pixels of the dialog's window: the size of the
// other dialogs' words.
constexpr float kRowPixels = 24.0f;
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
    std::int32_t pressedEntry = -1;  // the entry the last press chose, for a double click
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The list's variables, or null for any other object.
Variables* Find(Entity* entity);

// The first entry shown: the bar's value, whole.
int FirstShown(const Variables& v);
// The rows the list shows: as many as fit its height (at least one).
int Rows(const Variables& v);

// Fills levelNames from the user's level folder: the ".lvl" files whose
// name before the extension is a valid level name, sorted by that name
// with case folded (names equal but for case in byte order).
void ListLevelFiles(Variables& v);

// The name a row shows for a file: without ".lvl".
std::string ShownName(const std::string& file);

}  // namespace ObjectData::OpenLevelList
