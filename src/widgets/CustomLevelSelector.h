#pragma once
// "CustomLevelSelector": the two-list picker of a match's levels. The left
// list holds every level that can be played (the 13 built-in levels, then
// the ".lvl" files of the user's level folder), the right list the match's
// order. Arrow buttons between the lists move the selected entry across,
// two beside the right list move it up or down; each list shows five rows
// and scrolls with its own VSlider. The screen raises "Init" on it once it
// is made; every move raises it again.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::CustomLevelSelector {

constexpr int kRows = 5;

struct Variables {
    D3DXVECTOR3 positionLeft{0.07f, 0.22f, 0.0f};   // centre of the left list's panel
    D3DXVECTOR3 positionRight{0.58f, 0.22f, 0.0f};  // centre of the right list's panel
    D3DXVECTOR2 size{0.38f, 0.27f};                 // each panel
    const char* texture = "Stencil Back";
    Object* stencilListLeft[kRows] = {};  // the rows, top first ("ListButton"s)
    Object* stencilListRight[kRows] = {};
    Object* stencilSliderLeft = nullptr;
    Object* stencilSliderRight = nullptr;
    Object* rightButton = nullptr;
    Object* leftButton = nullptr;
    Object* upButton = nullptr;
    Object* downButton = nullptr;
    std::vector<std::string> levelNames;         // every level that can be chosen
    std::vector<std::int32_t> levelIdentifiers;  // its built-in index 0-12, or -1 for a level file
    std::vector<std::int32_t> leftNames;         // indices into levelNames, in display order
    std::vector<std::int32_t> rightNames;        // the match's order
    std::int32_t leftSelected = -1;              // position in leftNames, -1 for none
    std::int32_t rightSelected = -1;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

Variables* Find(Entity* entity);

}  // namespace ObjectData::CustomLevelSelector
