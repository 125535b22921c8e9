#include "screens/HowToPlayScreen.h"

#include "screens/MenuScreen.h"
#include "screens/ScreenSteps.h"

namespace LevelData::HowToPlayScreen {

namespace {

VariableOffsetTable table;

using Variables = ScreenSteps::NoVariables;

void SpawnPieces() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("toMMenu");
    LevelTemplate::Spawn("Transition");
}

void Load(Entity* self, Entity*) {
    MenuScreen::Backdrop("BACK HowToPlay");
    MenuScreen::FadeIn(self);
}

}  // namespace

Level* _Init() {
    return MenuScreen::Register<Variables>("HowToPlayScreen", table, &MenuScreen::Copy<Variables, &SpawnPieces>,
                                           Event(), &Load, &ScreenSteps::BackStep);
}

}  // namespace LevelData::HowToPlayScreen
