#pragma once
// "PausedHowToPlayImage": the how-to-play page over a paused level. While it
// is up the pause menu's three buttons are silenced; any key or click from
// its second frame on closes it and gives them back their behaviour.
#include "framework/ObjectTemplate.h"

namespace ObjectData::PausedHowToPlayImage {

struct Variables {
    const char* texture = "BACK HowToPlay2";
};

using _DATA = ObjectTemplate::Data<Variables>;

// What closes the page; tests replace it.
extern bool (*anyTriggered)();
void ResetInput();

void _Init(Object*& slot);

}  // namespace ObjectData::PausedHowToPlayImage
