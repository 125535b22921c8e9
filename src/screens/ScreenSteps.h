#pragma once
// What the credits, how-to-play, results and settings screens share beyond
// the menu screens' basics (screens/MenuScreen.h): the back step that
// returns to the main menu at once, their labels, the settings sliders and
// the sound they set, and the "new press" that ends a results screen.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/LevelTemplate.h"
#include "framework/Vector.h"

class Object;

namespace ScreenSteps {

// The variable block of a screen with a second backdrop (the night sky).
struct BackdropVariables {
    Object* background2 = nullptr;
};
// A screen with no variables of its own.
struct NoVariables {};

// What the settings screens set in the sound engine; tests replace the
// hooks to hear them.
struct Hooks {
    void (*setMusicVolume)(float volume);
    void (*setSoundVolume)(float volume);
    void (*playSound)(int sound, float volume);
};
extern Hooks hooks;
void ResetHooks();

// The back step: the keyboard's, pad's or remote's back input switches
// straight to "MainMenu", without a fade.
void BackStep(Entity* self, Entity* other);

// The sliders of the settings screens run 0 to 255 in whole steps: 256
// snap positions, so a value written in comes back the same.
constexpr float kSliderMax = 255.0f;
constexpr std::int32_t kSliderTicks = 256;
// Sets up a settings slider at (x, y) holding value.
void SetUpSlider(Entity* slider, float x, float y, float value);
// The value of the named slider of the level, or null when it has none.
const float* SliderValue(Entity* level, const char* name);

// Keeps a typed text within limit characters: the characters past the
// limit that stand just before the caret (the ones just typed) are taken
// out and the caret moves back with them; a caret elsewhere loses the end.
void KeepWithin(std::string& text, std::int32_t& caret, std::size_t limit);

// A "Text" label: its text and box; what is not marked set keeps the text
// type's default.
struct LabelSetup {
    std::string text;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    bool setZ = false;
    float width = 1.0f, height = 0.0f;
    bool setHeight = false;
    float charHeight = 0.05f;
    std::int32_t hAlign = 0, vAlign = 0;
    bool setVAlign = false;
    bool multiLine = false, fixedWidth = false, colorize = true;
    std::string font = "ashleyscriptmtstd";
    std::uint32_t primaryColor = 0;
    bool setColor = false;
};
Object* Label(const LabelSetup& setup);

// A "TextButton" under name in the current state: centred at position, of
// size, on the picture texture, lettered label (colour marks allowed); a
// click or select on it runs logic with (button, its master). Null while the
// type is not registered.
Object* TextButton(const std::string& name, const D3DXVECTOR3& position, const D3DXVECTOR2& size,
                   const std::string& label, Event logic, const char* texture = "baseButton");

// A control that went down since the screen opened: a key or mouse button
// pressed this frame, or a pad or remote button that was up in the frame
// before. A control held from before the screen opened is no new press.
class NewPress {
public:
    // Notes what the pad and the remote hold as the screen opens.
    void Arm();
    // True when this frame brings a new press. Until Arm, every pad and
    // remote button counts as held from before.
    bool Check();

private:
    std::uint32_t heldBefore = ~0u;
};

}  // namespace ScreenSteps
