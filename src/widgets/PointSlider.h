#pragma once
// "PointSlider": a labelled whole-number picker: a caption on the left, an
// "HSlider" and the number shown beside it, bound to an integer its owner
// keeps (`pValue`). The owner sets position, size, name, min, max and pValue,
// then raises "Init"; from then on the integer holds the picker's number
// after every frame.
#include <cstdint>
#include <string>

#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::PointSlider {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.8f, 0.06f};
    std::string name = "no name";
    Object* slider = nullptr;   // the HSlider, made by "Init"
    Object* textbox = nullptr;  // the Text showing the number, made by "Init"
    float min = 0.0f;
    float max = 0.0f;
    std::int32_t* pValue = nullptr;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

Variables* Find(Entity* entity);

}  // namespace ObjectData::PointSlider
