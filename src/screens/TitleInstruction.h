#pragma once
// "TitleInstruction": the prompt that asks for a key. It pulses until the
// first input, then fades out for good, a tenth less each frame.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::TitleInstruction {

struct Variables {
    D3DXVECTOR3 position{-0.5f, -0.4f, 0.0f};
    D3DXVECTOR2 size{0.6f, 0.2f};
    float fading = 0.0f;
    float disappear = 1.0f;
    const char* texture = "titleInstruct";
    std::uint32_t color = 0xFFFFFFFFu;
};

using _DATA = ObjectTemplate::Data<Variables>;

// The prompt's alpha for its variables.
int Alpha(const Variables& v);

void Update(Entity* self, Entity* other);
void Draw(Entity* self, Entity* other);
void _Init(Object*& slot);

}  // namespace ObjectData::TitleInstruction
