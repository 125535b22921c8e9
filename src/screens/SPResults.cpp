#include "screens/SPResults.h"

#include "screens/GameResults.h"

namespace LevelData::SPResults {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    GameResults::Arm(self);
    MenuScreen::Backdrop("nightSky");
    ScreenSteps::Label(GameResults::Heading("Congratulations\nYou Win!"));

    ScreenSteps::LabelSetup story;
    story.text =
        "Venturing off far and wide, you have gathered the light from the mystical fireflies and recovered the moon "
        "shards to restore the moon to its former glory.  Awesome!";
    story.fixedWidth = false;
    story.hAlign = 1;
    story.vAlign = 1;
    story.setVAlign = true;
    story.y = -0.2f;
    story.z = -1000.0f;
    story.setZ = true;
    story.width = 1.5f;
    story.height = 2.0f;
    story.setHeight = true;
    story.multiLine = true;
    story.charHeight = 0.08f;
    story.primaryColor = GameResults::kHeadingColour;
    story.setColor = true;
    ScreenSteps::Label(story);
}

}  // namespace

Level* _Init() {
    return MenuScreen::Register<GameResults::Variables>("SPResults", table, &GameResults::_Copy, Event(), &Load,
                                                        &GameResults::Update);
}

}  // namespace LevelData::SPResults
