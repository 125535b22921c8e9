#include "screens/CreditsScreen.h"

#include "screens/Credits.h"

namespace LevelData::CreditsScreen {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) { Credits::BuildCreditsPicture(self); }

}  // namespace

Level* _Init() {
    auto* prototype = MenuScreen::Register<Credits::Variables>("CreditsScreen", table, &Credits::_Copy, Event(), &Load,
                                                               &ScreenSteps::BackStep);
    Credits::BindVariables(table, prototype);
    return prototype;
}

}  // namespace LevelData::CreditsScreen
