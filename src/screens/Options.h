#pragma once
// "Options": the music and effect volumes on two sliders, written to the
// sound engine and the game entity every frame, the switches for full
// screen, resolution, rumble, remote and pad, and the way to the
// character's customisation.
#include "screens/MenuScreen.h"
#include "screens/ScreenSteps.h"

namespace LevelData::Options {

struct Variables {
    float t_val = 0.0f;  // frames the effect-volume handle has been dragged
    Object* background2 = nullptr;
};
using _DATA = LevelTemplate::Data<Variables>;

// While the effect-volume handle is dragged, the click sounds every this many
// frames at the new volume.
constexpr float kClickFrames = 20.0f;

Level* _Init();

}  // namespace LevelData::Options
