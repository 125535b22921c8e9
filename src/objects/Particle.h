#pragma once
// "Particle": a plain sprite whose colour is held channel by channel, for
// screens and stencils that create it by name and set its variables.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Particle {

struct Variables {
    const char* texture = "firefly";
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
    std::int32_t alpha = 0;
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 size{1.0f, 1.0f};
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

// The colour drawn: the low byte of each channel, alpha highest.
std::uint32_t Colour(const Variables& v);

void GraphicsDraw(Entity* self, Entity* other);

void _Init(Object*& slot);

}  // namespace ObjectData::Particle
