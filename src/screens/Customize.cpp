#include "screens/Customize.h"

#include <cmath>

#include "framework/GameVariables.h"
#include "framework/SaveFile.h"
#include "framework/State.h"
#include "platform/input/Input.h"
#include "widgets/Text.h"

namespace LevelData::Customize {

namespace {

VariableOffsetTable table;

void SpawnPieces() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("toWherever");
    LevelTemplate::Spawn("Transition");
    for (const char* slider : {"RedSlider", "GreenSlider", "BlueSlider"}) LevelTemplate::Spawn("gridSliderH", slider);
    LevelTemplate::Spawn("DisplayCharacter");
    LevelTemplate::Spawn("SingleLineTextBox", "CharacterName");
    LevelTemplate::Spawn("MenuStars");
}

// The name box's text object, or null.
ObjectData::Text::Variables* NameText(Entity* level) {
    Object* const* text = FindVariable<Object*>(level->GetMyObject("CharacterName"), enum_textObject);
    return text != nullptr ? ObjectData::Text::Find(*text) : nullptr;
}

struct ColourSlider {
    const char* name;
    float y;
    std::int32_t GameData::TheGame::GameVariables::*part;
};
const ColourSlider kColourSliders[] = {
    {"RedSlider", -0.15f, &GameData::TheGame::GameVariables::playerRed},
    {"GreenSlider", -0.25f, &GameData::TheGame::GameVariables::playerGreen},
    {"BlueSlider", -0.35f, &GameData::TheGame::GameVariables::playerBlue},
};

void Load(Entity* self, Entity*) {
    MenuScreen::Backdrop("BACK Main Menu");
    MenuScreen::FadeIn(self);
    GameData::TheGame::GameVariables& game = GameVars();
    for (const ColourSlider& slider : kColourSliders)
        ScreenSteps::SetUpSlider(self->GetMyObject(slider.name), 0.0f, slider.y, static_cast<float>(game.*slider.part));
    if (ObjectData::Text::Variables* name = NameText(self)) name->text = game.playerName;
    if (Entity* box = self->GetMyObject("CharacterName")) box->SetPosition(0.05f, -0.05f);
    struct Line {
        const char* text;
        float x, y;
    };
    // Light tints of each part's colour, nearly opaque: on the night sky a
    // pure dark red, green or blue at low alpha cannot be read.
    const Line lines[] = {
        {"#0xFFFFFFD0#Character Name:", -0.052f, -0.51f},
        {"#0xFF7878FF#Red:", -0.23f, -0.61f},
        {"#0x78FF78FF#Green:", -0.23f, -0.71f},
        {"#0x8C8CFFFF#Blue:", -0.23f, -0.81f},
    };
    for (const Line& line : lines) {
        ScreenSteps::LabelSetup label;
        label.text = line.text;
        label.x = line.x;
        label.y = line.y;
        label.charHeight = 0.072f;
        label.width = 1.0f;
        label.fixedWidth = false;
        label.multiLine = true;
        label.hAlign = 0;
        ScreenSteps::Label(label);
    }
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
}

void Update(Entity* self, Entity*) {
    if (inputEngine.BackButtonPressed()) State::SetLevel(self->_state, "MainMenu");
    GameData::TheGame::GameVariables& game = GameVars();
    if (ObjectData::Text::Variables* name = NameText(self)) {
        // What the player sees typed is what the save file keeps.
        LimitName(name->text, name->settings.cursorLoc);
        game.playerName = name->text;
    }
    for (const ColourSlider& slider : kColourSliders)
        if (const float* value = ScreenSteps::SliderValue(self, slider.name))
            game.*slider.part = static_cast<std::int32_t>(std::trunc(*value));
}

}  // namespace

void LimitName(std::string& text, std::int32_t& caret) { ScreenSteps::KeepWithin(text, caret, kSavedNameLength); }

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("Customize", table, &MenuScreen::Copy<Variables, &SpawnPieces>,
                                                      Event(), &Load, &Update);
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

}  // namespace LevelData::Customize
