// The screens' and level scripts' rows, handed to the program's registration.
#include "screens/ScreenTypes.h"

#include "screens/Eula.h"
#include "screens/HalvernSplash.h"
#include "screens/MainMenu.h"
#include "screens/MenuVariants.h"
#include "screens/PausedHowToPlayImage.h"
#include "screens/QuitConfirm.h"
#include "screens/QuitWindow.h"
#include "screens/SinglePlayer.h"
#include "screens/TeamSplash.h"
#include "screens/TitleInstruction.h"
#include "screens/TitleScreen.h"
#include "screens/Transition.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"PausedHowToPlayImage", &ObjectData::PausedHowToPlayImage::_Init},
    {"TitleInstruction", &ObjectData::TitleInstruction::_Init},
    {"Transition", &ObjectData::Transition::_Init},
};

const LevelTypeEntry kLevels[] = {
    {"Eula", &LevelData::Eula::_Init},
    {"HalvernSplash", &LevelData::HalvernSplash::_Init},
    {"MainMenu", &LevelData::MainMenu::_Init},
    {"QuitConfirm", &LevelData::QuitConfirm::_Init},
    {"QuitWindow", &LevelData::QuitWindow::_Init},
    {"SinglePlayer", &LevelData::SinglePlayer::_Init},
    {"TeamSplash", &LevelData::TeamSplash::_Init},
    {"TitleScreen", &LevelData::TitleScreen::_Init},
};

}  // namespace

TypeRows ScreenTypes() { return {.objects = kObjects, .exObjects = MenuVariants::Rows(), .levels = kLevels}; }
