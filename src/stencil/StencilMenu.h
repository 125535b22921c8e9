#pragma once
// "StencilMenu": one of the stencil editor's four type lists. The screen sets
// its place, size, caption, kind and names and raises "Init"; the list then
// shows up to 33 names as one-line rows with a scroll bar beside them. The
// rows only show their names (fitted to the row) and take no keys; a click
// on a name row chooses it (`selectedStencil`, an index into
// `stencilNames`), a click anywhere else lets it go.
#include <cstdint>
#include <string>
#include <vector>

#include "collision/CollisionEngine.h"
#include "converter/CppData.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

inline std::string VariableTypeText(std::type_identity<std::vector<CppData>>) { return "std::vector<CppData>"; }

namespace ObjectData::StencilMenu {

constexpr int kRows = 33;

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    // A string, as every other type holds its `name`.
    std::string name = "no name";
    std::string type;
    std::vector<std::string> stencilNames;
    const char* texture = nullptr;
    Object* stencilName = nullptr;
    std::int32_t oldSliderValue = -1;
    Object* stencilSlider = nullptr;
    std::string clickedStencil = "nothing";
    // Kept and copied with the list; nothing reads them.
    bool myFocus = false;
    std::int32_t focusIdx = -1;
    std::string oldNameOfFocus;
    std::int32_t selectedStencil = -1;
    std::int32_t idxToTextboxTable = -1;
    CollisionInfo2D collision;
    std::vector<Object*> myStencilList;
    D3DXVECTOR3 BLUE{120.0f, 210.0f, 240.0f};
    D3DXVECTOR3 RED{196.0f, 189.0f, 173.0f};
    std::vector<CppData> myCppDataList;

    // Not a script variable: the row the pointer chose, -1 for none.
    std::int32_t chosenRow = -1;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The list's variables, or null for other objects.
Variables* Find(Entity* entity);

// The first entry shown: the whole part of the scroll bar's value (0 without a bar).
int FirstShown(const Variables& v);

}  // namespace ObjectData::StencilMenu
