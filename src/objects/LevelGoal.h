#pragma once
// "LevelGoal": the end of a play level. The local player's touch scores the
// goal bonus and ends the level; 130 frames later the screen fades out and
// the goal picks the next screen. A ring of 16 rising sparkles marks it.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::LevelGoal {

constexpr int kSparkles = 16;

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.5f, 0.5f};
    CollisionInfo2D collision;
    const char* texture = "levelGoal";
    float finishFade[kSparkles] = {};
    float finishFadeRate[kSparkles] = {};
    float finishIntensity[kSparkles] = {};
    float finishX[kSparkles] = {};
    float finishY[kSparkles] = {};
    float finishSpeed[kSparkles] = {};
    std::int32_t fadeTimer = -1;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::LevelGoal
