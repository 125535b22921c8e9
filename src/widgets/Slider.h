#pragma once
// "Slider": a handle that creeps up or down toward the pointer, 0.03 a frame,
// while the left button is held on it, between the heights 0.18 and -0.358.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::Slider {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    std::int32_t sliderID = -1;  // the owner's name for it; the handle never reads it
    CollisionInfo2D collision;
    const char* texture = "";
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::Slider
