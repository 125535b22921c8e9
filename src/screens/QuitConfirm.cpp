#include "screens/QuitConfirm.h"

#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"

namespace LevelData::QuitConfirm {

namespace {

struct Variables {
    Object* background2 = nullptr;
};
VariableOffsetTable table;

void Spawn() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    MenuVariants::SpawnButton("QuitButton");
    MenuVariants::SpawnButton("ContinuePlaying");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("MenuStars");
}

void Build(Entity* self, Entity*) {
    MenuScreen::Backdrop("BACK Main Menu");
    MenuScreen::Picture("AreYouSure", 0.0f, 0.07f, 0.48916665f, 0.18333332f);
    MenuScreen::FadeIn(self);
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
}

}  // namespace

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("QuitConfirm", table, &MenuScreen::Copy<Variables, &Spawn>,
                                                      Event(), &Build, Event());
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

}  // namespace LevelData::QuitConfirm
