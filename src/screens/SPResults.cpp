#include "screens/SPResults.h"

#include "screens/GameResults.h"

namespace LevelData::SPResults {

namespace {

VariableOffsetTable table;

constexpr std::uint32_t kTextColour = 0xFFC4BCAC;

void Load(Entity*, Entity*) {
    MenuScreen::MakeBackground("nightSky");
    MenuScreen::LabelSpec title;
    title.text = "Congratulations\nYou Win!";
    title.hAlign = 1;
    title.y = 0.4f;
    title.z = -1000.0f;
    title.setZ = true;
    title.width = 2.0f;
    title.height = 0.2f;
    title.setHeight = true;
    title.multiLine = true;
    title.charHeight = 0.2f;
    title.primaryColor = kTextColour;
    title.setColor = true;
    MenuScreen::Label(title);

    MenuScreen::LabelSpec story;
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
    story.primaryColor = kTextColour;
    story.setColor = true;
    MenuScreen::Label(story);
}

}  // namespace

Level* _Init() {
    return MenuScreen::Register<GameResults::Variables>("SPResults", table, &GameResults::_Copy, &Load,
                                                        &GameResults::Update);
}

}  // namespace LevelData::SPResults
