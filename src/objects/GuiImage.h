#pragma once
// "guiImage": the HUD moon above and left of the view's centre, with a star
// field behind it. Its picture shows how far the player has come through the
// levels of the game.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"
#include "objects/StarField.h"

namespace ObjectData::guiImage {

struct Variables {
    const char* texture = "moon";
    const char* backTexture = "";
    std::int32_t score = 0;
    // The moon starts at 0.4 of the view's height and grows toward a whole
    // view over a long level.
    float moonSize = 1.6f;
    float moonPhase = 0.0f;
    std::int32_t currentStar = 0;
    D3DXVECTOR2 starPosition[StarField::kStars] = {};
    D3DXVECTOR2 starSize[StarField::kStars] = {};
    float starPhase[StarField::kStars] = {};
    float starSpeed[StarField::kStars] = {};
    float starAlpha[StarField::kStars] = {};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// Which of the eight moon pictures shows at level index of count levels.
int MoonPicture(int index, int count);

// The two picture names every moon of the program shows.
const char* MoonName();
const char* GlowName();

}  // namespace ObjectData::guiImage
