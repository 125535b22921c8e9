#include "screens/Credits.h"

namespace LevelData::Credits {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    BuildCreditsPicture(self);
    ScreenSteps::LabelSetup line;
    line.text = OwnershipLine;
    line.x = 0.0f;
    line.y = -0.46f;
    line.charHeight = 0.05f;
    line.width = 2.0f;
    line.hAlign = 1;
    line.vAlign = 1;
    line.setVAlign = true;
    ScreenSteps::Label(line);
}

void SpawnPieces() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("toMMenu");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("MenuStars");
}

}  // namespace

const char* const OwnershipLine = "#0x888788FF#Glimmerfall and everything in it belong to the Glimmerfall team.";

void _Copy(Entity* copy, const Entity* source) { MenuScreen::Copy<Variables, &SpawnPieces>(copy, source); }

void BuildCreditsPicture(Entity* self) {
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    MenuScreen::Backdrop("BACK-Credits");
    MenuScreen::FadeIn(self);
}

void BindVariables(VariableOffsetTable& t, _DATA* prototype) {
    BindVariable(t, *prototype, enum_background2, prototype->vars.background2);
}

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("Credits", table, &_Copy, Event(), &Load, &ScreenSteps::BackStep);
    BindVariables(table, prototype);
    return prototype;
}

}  // namespace LevelData::Credits
