#pragma once
// "ColorizedBox": a tinted quad in world coordinates. Its creator names the
// texture; until it does, nothing is drawn. The tint starts opaque white, so
// a box with a texture and no tint shows the picture as it is.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::ColorizedBox {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = nullptr;
    std::int32_t red = 255;
    std::int32_t green = 255;
    std::int32_t blue = 255;
    std::int32_t alpha = 255;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::ColorizedBox
