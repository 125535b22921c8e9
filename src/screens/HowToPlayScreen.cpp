#include "screens/HowToPlayScreen.h"

#include "screens/MenuScreen.h"

namespace LevelData::HowToPlayScreen {

namespace {

VariableOffsetTable table;

using Variables = MenuScreen::NoVariables;

void Copy(Entity* copy, const Entity* source) {
    MenuScreen::CopyScreen<Variables>(copy, source, {{"MMCursor", "Cursor"}, {"toMMenu"}, {"Transition"}});
}

void Load(Entity* self, Entity*) {
    MenuScreen::MakeBackground("BACK HowToPlay");
    MenuScreen::FadeIn(self);
}

}  // namespace

Level* _Init() {
    return MenuScreen::Register<Variables>("HowToPlayScreen", table, &Copy, &Load, &MenuScreen::BackStep);
}

}  // namespace LevelData::HowToPlayScreen
