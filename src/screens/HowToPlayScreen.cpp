#include "screens/HowToPlayScreen.h"

#include "screens/MenuScreen.h"

namespace LevelData::HowToPlayScreen {

namespace {

VariableOffsetTable table;

using Variables = MenuScreen::NoVariables;

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("PreLoad");
    MenuScreen::TakeEngines();
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("toMMenu");
    LevelTemplate::Spawn("Transition");
    copy->DoEvent("Load");
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
