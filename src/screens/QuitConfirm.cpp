#include "screens/QuitConfirm.h"

#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"

namespace LevelData::QuitConfirm {

namespace {

using Variables = MenuScreen::SkyVariables;
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
    return MenuScreen::RegisterWithSky("QuitConfirm", table, &MenuScreen::Copy<Variables, &Spawn>, Event(), &Build,
                                       Event());
}

}  // namespace LevelData::QuitConfirm
