// The screens' and level scripts' rows, handed to the program's registration.
#include "screens/ScreenTypes.h"

#include "screens/SinglePlayer.h"
#include "screens/Transition.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"Transition", &ObjectData::Transition::_Init},
};

const LevelTypeEntry kLevels[] = {
    {"SinglePlayer", &LevelData::SinglePlayer::_Init},
};

}  // namespace

TypeRows ScreenTypes() { return {.objects = kObjects, .levels = kLevels}; }
