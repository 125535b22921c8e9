#pragma once
// "PosSizeDummy": a placeholder that only holds a rectangle. A screen makes
// one to reserve and describe an area, writes its position and size, and
// reads them back when it lays out its own drawing. It is in no engine.
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::PosSizeDummy {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::PosSizeDummy
