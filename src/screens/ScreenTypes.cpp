// The screens' and level scripts' rows, handed to the program's registration.
#include "screens/ScreenTypes.h"

#include "screens/Credits.h"
#include "screens/CreditsScreen.h"
#include "screens/Customize.h"
#include "screens/GameResults.h"
#include "screens/HowToPlayScreen.h"
#include "screens/Options.h"
#include "screens/ProfilerViewer.h"
#include "screens/SPResults.h"
#include "screens/SinglePlayer.h"
#include "screens/Transition.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"Transition", &ObjectData::Transition::_Init},
};

const LevelTypeEntry kLevels[] = {
    {"Credits", &LevelData::Credits::_Init},
    {"CreditsScreen", &LevelData::CreditsScreen::_Init},
    {"Customize", &LevelData::Customize::_Init},
    {"GameResults", &LevelData::GameResults::_Init},
    {"HowToPlayScreen", &LevelData::HowToPlayScreen::_Init},
    {"Options", &LevelData::Options::_Init},
    {"Profiler", &LevelData::Profiler::_Init},
    {"SinglePlayer", &LevelData::SinglePlayer::_Init},
    {"SPResults", &LevelData::SPResults::_Init},
};

}  // namespace

TypeRows ScreenTypes() { return {.objects = kObjects, .levels = kLevels}; }
