#pragma once
// "Background": a full-view backdrop centred on the camera, behind everything.
#include <cstdint>

#include "framework/ObjectTemplate.h"

namespace ObjectData::Background {

struct Variables {
    const char* texture = "";
    std::uint32_t color = 0xFFFFFFFFu;
    float z = 0.0f;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::Background
