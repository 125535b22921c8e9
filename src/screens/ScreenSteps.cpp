#include "screens/ScreenSteps.h"

#include "framework/State.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/input/XBox.h"
#include "platform/sound/SoundEngine.h"
#include "widgets/Text.h"

namespace ScreenSteps {

namespace {

// The pad's and the remote's buttons that count as "anything pressed": the
// pad's A, B, X, Y and Start, the remote's A, plus, 1 and 2.
constexpr std::uint16_t kPadButtons =
    XBox_::BUTTON_A | XBox_::BUTTON_B | XBox_::BUTTON_X | XBox_::BUTTON_Y | XBox_::START;
constexpr std::uint16_t kRemoteButtons = 0x0800 | 0x0010 | 0x0200 | 0x0100;

std::uint32_t HeldPadButtons() {
    const std::uint32_t pad = XBox.Buttons() & kPadButtons;
    const std::uint32_t remote = inputHooks.remoteButtons != nullptr ? inputHooks.remoteButtons() & kRemoteButtons : 0u;
    return pad | remote << 16;
}

void MusicVolume(float volume) { soundEngine.SetMusicVolume(volume); }
void SoundVolume(float volume) { soundEngine.SetSoundVolume(volume); }
void Play(int sound, float volume) { soundEngine.PlaySoundA(static_cast<AudioList>(sound), volume); }

}  // namespace

Hooks hooks{&MusicVolume, &SoundVolume, &Play};
void ResetHooks() { hooks = Hooks{&MusicVolume, &SoundVolume, &Play}; }

void BackStep(Entity* self, Entity*) {
    if (inputEngine.BackButtonPressed()) State::SetLevel(self->_state, "MainMenu");
}

void SetUpSlider(Entity* slider, float x, float y, float value) {
    if (slider == nullptr) return;
    slider->SetPosition(x, y);
    LevelTemplate::SetIfPresent(slider, enum_min, 0.0f);
    LevelTemplate::SetIfPresent(slider, enum_max, kSliderMax);
    LevelTemplate::SetIfPresent(slider, enum_ticks, kSliderTicks);
    LevelTemplate::SetIfPresent(slider, enum_value, value);
}

const float* SliderValue(Entity* level, const char* name) {
    return FindVariable<float>(level->GetMyObject(name), enum_value);
}

void KeepWithin(std::string& text, std::int32_t& caret, std::size_t limit) {
    if (text.size() <= limit) return;
    const std::size_t excess = text.size() - limit;
    if (caret >= 0 && static_cast<std::size_t>(caret) >= excess && static_cast<std::size_t>(caret) <= text.size()) {
        text.erase(static_cast<std::size_t>(caret) - excess, excess);
        caret -= static_cast<std::int32_t>(excess);
    } else {
        text.resize(limit);
        if (caret > static_cast<std::int32_t>(limit)) caret = static_cast<std::int32_t>(limit);
    }
}

Object* Label(const LabelSetup& setup) {
    Object* label = LevelTemplate::Spawn("Text");
    ObjectData::Text::Variables* v = ObjectData::Text::Find(label);
    if (v == nullptr) return label;
    TextSettings& s = v->settings;
    v->text = setup.text;
    s.x = setup.x;
    s.y = setup.y;
    if (setup.setZ) s.z = setup.z;
    s.width = setup.width;
    if (setup.setHeight) s.height = setup.height;
    s.charHeight = setup.charHeight;
    s.hAlign = setup.hAlign;
    if (setup.setVAlign) s.vAlign = setup.vAlign;
    s.multiLine = setup.multiLine;
    s.fixedWidth = setup.fixedWidth;
    s.colorize = setup.colorize;
    s.font = setup.font;
    if (setup.setColor) s.primaryColor = setup.primaryColor;
    return label;
}

Object* TextButton(const std::string& name, const D3DXVECTOR3& position, const D3DXVECTOR2& size,
                   const std::string& label, Event logic, const char* texture) {
    Object* button = LevelTemplate::Spawn("TextButton", name);
    if (button == nullptr) return nullptr;
    LevelTemplate::SetIfPresent(button, enum_position, position);
    LevelTemplate::SetIfPresent(button, enum_size, size);
    LevelTemplate::SetIfPresent<const char*>(button, enum_texture, texture);
    if (Object** caption = FindVariable<Object*>(button, enum_textObj))
        if (ObjectData::Text::Variables* t = ObjectData::Text::Find(*caption)) t->text = label;
    button->AddEvent("Logic", logic);
    return button;
}

void NewPress::Arm() { heldBefore = HeldPadButtons(); }

bool NewPress::Check() {
    const std::uint32_t held = HeldPadButtons();
    const bool padDown = (held & ~heldBefore) != 0;
    heldBefore = held;
    return Keyboard.AnyTriggered() || Mouse.AnyTriggered() || padDown;
}

}  // namespace ScreenSteps
