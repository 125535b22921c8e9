#pragma once
// "MenuStars": the field of 480 twinkling stars behind the menus.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"
#include "objects/StarField.h"

namespace ObjectData::MenuStars {

struct Variables {
    std::int32_t currentStar = 0;
    D3DXVECTOR2 starPosition[StarField::kStars] = {};
    D3DXVECTOR2 starSize[StarField::kStars] = {};
    float starPhase[StarField::kStars] = {};
    float starSpeed[StarField::kStars] = {};
    float starAlpha[StarField::kStars] = {};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::MenuStars
