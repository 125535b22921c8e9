// The screens' and level scripts' rows, handed to the program's registration.
#include "screens/ScreenTypes.h"

#include "screens/Credits.h"
#include "screens/CreditsScreen.h"
#include "screens/Customize.h"
#include "screens/Eula.h"
#include "screens/GameResults.h"
#include "screens/HalvernSplash.h"
#include "screens/HowToPlayScreen.h"
#include "screens/LoadingLevel.h"
#include "screens/Lobby.h"
#include "screens/MainMenu.h"
#include "screens/MakeGame.h"
#include "screens/MenuVariants.h"
#include "screens/Multiplayer.h"
#include "screens/Options.h"
#include "screens/PausedHowToPlayImage.h"
#include "screens/PlayCounter.h"
#include "screens/ProfilerViewer.h"
#include "screens/QuitConfirm.h"
#include "screens/QuitWindow.h"
#include "screens/ResultCard.h"
#include "screens/SPResults.h"
#include "screens/Sandbox.h"
#include "screens/ServerMenu.h"
#include "screens/SinglePlayer.h"
#include "screens/SinglePlayerMenu.h"
#include "screens/TeamSplash.h"
#include "screens/TitleInstruction.h"
#include "screens/TitleScreen.h"
#include "screens/Transition.h"

namespace {

const ObjectTypeEntry kObjects[] = {
    {"PausedHowToPlayImage", &ObjectData::PausedHowToPlayImage::_Init},
    {"PlayCounter", &ObjectData::PlayCounter::_Init},
    {"ResultCard", &ObjectData::ResultCard::_Init},
    {"ServerMenu", &ObjectData::ServerMenu::_Init},
    {"TitleInstruction", &ObjectData::TitleInstruction::_Init},
    {"Transition", &ObjectData::Transition::_Init},
};

const LevelTypeEntry kLevels[] = {
    {"Credits", &LevelData::Credits::_Init},
    {"CreditsScreen", &LevelData::CreditsScreen::_Init},
    {"Customize", &LevelData::Customize::_Init},
    {"Eula", &LevelData::Eula::_Init},
    {"GameResults", &LevelData::GameResults::_Init},
    {"HalvernSplash", &LevelData::HalvernSplash::_Init},
    {"HowToPlayScreen", &LevelData::HowToPlayScreen::_Init},
    {"LoadingLevel", &LevelData::LoadingLevel::_Init},
    {"Lobby", &LevelData::Lobby::_Init},
    {"MainMenu", &LevelData::MainMenu::_Init},
    {"MakeGame", &LevelData::MakeGame::_Init},
    {"Multiplayer", &LevelData::Multiplayer::_Init},
    {"Options", &LevelData::Options::_Init},
    {"Profiler", &LevelData::Profiler::_Init},
    {"QuitConfirm", &LevelData::QuitConfirm::_Init},
    {"QuitWindow", &LevelData::QuitWindow::_Init},
    {"Sandbox", &LevelData::Sandbox::_Init},
    {"SinglePlayer", &LevelData::SinglePlayer::_Init},
    {"SinglePlayerMenu", &LevelData::SinglePlayerMenu::_Init},
    {"SPResults", &LevelData::SPResults::_Init},
    {"TeamSplash", &LevelData::TeamSplash::_Init},
    {"TitleScreen", &LevelData::TitleScreen::_Init},
};

}  // namespace

TypeRows ScreenTypes() { return {.objects = kObjects, .exObjects = MenuVariants::Rows(), .levels = kLevels}; }
