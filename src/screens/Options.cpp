#include "screens/Options.h"

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "platform/input/Input.h"
#include "platform/sound/SoundEngine.h"

namespace LevelData::Options {

namespace {

VariableOffsetTable table;

void SpawnPieces() {
    LevelTemplate::Spawn("MMCursor", "Cursor");
    LevelTemplate::Spawn("toMMenu");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("gridSliderH", "MusicSlider");
    LevelTemplate::Spawn("gridSliderH", "SoundSlider");
    for (const char* button : {"CustomizeButton", "FullScreenButton", "wiiToggleButton", "resolutionToggleButton",
                               "rummbleToggleButton", "xboxToggleButton", "counterToggleButton"})
        LevelTemplate::Spawn(button);
}

ScreenSteps::LabelSetup VolumeLabel(const char* text, float y) {
    ScreenSteps::LabelSetup label;
    label.text = text;
    label.x = -0.05f;
    label.y = y;
    label.charHeight = 0.082f;
    label.width = 1.0f;
    label.fixedWidth = false;
    label.multiLine = true;
    label.hAlign = 0;
    return label;
}

void Load(Entity* self, Entity*) {
    MenuScreen::Backdrop("BACK Main Menu");
    MenuScreen::FadeIn(self);
    GameData::TheGame::GameVariables& game = GameVars();
    game.backToWhere = "Options";
    ScreenSteps::SetUpSlider(self->GetMyObject("MusicSlider"), 0.0f, 0.05f, game.mVolume * ScreenSteps::kSliderMax);
    ScreenSteps::Label(VolumeLabel("#0xC4BDAD#BGM Volume", -0.35f));
    ScreenSteps::SetUpSlider(self->GetMyObject("SoundSlider"), 0.0f, -0.1f, game.sVolume * ScreenSteps::kSliderMax);
    ScreenSteps::Label(VolumeLabel("#0xC4BDAD#SFX Volume", -0.5f));
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
}

// Whether the slider's handle is held by the pointer.
bool Dragged(Entity* slider) {
    Object* const* handle = FindVariable<Object*>(slider, enum_dragButton);
    const bool* dragging = handle != nullptr ? FindVariable<bool>(*handle, enum_dragging) : nullptr;
    return dragging != nullptr && *dragging;
}

void Update(Entity* self, Entity*) {
    if (inputEngine.BackButtonPressed()) State::SetLevel(self->_state, "MainMenu");
    GameData::TheGame::GameVariables& game = GameVars();
    if (const float* value = ScreenSteps::SliderValue(self, "MusicSlider")) {
        const float volume = *value / ScreenSteps::kSliderMax;
        ScreenSteps::hooks.setMusicVolume(volume);
        game.mVolume = volume;
    }
    if (const float* value = ScreenSteps::SliderValue(self, "SoundSlider")) {
        const float volume = *value / ScreenSteps::kSliderMax;
        ScreenSteps::hooks.setSoundVolume(volume);
        game.sVolume = volume;
    }
    float& held = VariablesOf<Variables>(self).t_val;
    if (Dragged(self->GetMyObject("SoundSlider"))) {
        held += 1.0f;
        if (held >= kClickFrames) {
            held = 0.0f;
            ScreenSteps::hooks.playSound(BUTTON_CLICK, 1.0f);
        }
    } else {
        held = 0.0f;
    }
}

}  // namespace

Level* _Init() {
    auto* prototype = MenuScreen::Register<Variables>("Options", table, &MenuScreen::Copy<Variables, &SpawnPieces>,
                                                      Event(), &Load, &Update);
    BindVariable(table, *prototype, enum_t_val, prototype->vars.t_val);
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

}  // namespace LevelData::Options
