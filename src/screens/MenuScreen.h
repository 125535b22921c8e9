#pragma once
// What the menu screens share: the engines they take, their copy and free
// steps, the back step that returns to the main menu at once, the backdrops
// and the labels they build, and the "new press" that ends a results screen.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "framework/LevelTemplate.h"

class Object;

namespace MenuScreen {

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

// "Behavior" at 5.0, "GraphicsUpdate" at 1.05, "GraphicsDraw" at 1.0.
void TakeEngines();

// The free step of every menu screen: raises the level's "Unload".
void Free(Entity* self);

// The back step: the keyboard's, pad's or remote's back input switches
// straight to "MainMenu", without a fade.
void BackStep(Entity* self, Entity* other);

// An object a screen's copy step makes: its type and its name (empty: unnamed).
struct Piece {
    const char* type;
    const char* name = "";
};

// A menu screen's copy step: the variables copied, "PreLoad" raised, the
// engines taken, the pieces made in order, then (after `beforeLoad`, when
// given) "Load" raised.
template <class Vars>
void CopyScreen(Entity* copy, const Entity* source, std::initializer_list<Piece> pieces,
                void (*beforeLoad)(Entity*) = nullptr) {
    ConstructVariables<Vars>(copy, source);
    copy->DoEvent("PreLoad");
    TakeEngines();
    for (const Piece& piece : pieces) LevelTemplate::Spawn(piece.type, piece.name);
    if (beforeLoad != nullptr) beforeLoad(copy);
    copy->DoEvent("Load");
}

// Registers a menu screen: its layout and steps, "PreLoad" empty, "Load",
// "Unload" empty, "Update". The caller binds its variables afterwards.
template <class Vars>
LevelTemplate::Data<Vars>* Register(const char* name, VariableOffsetTable& table, void (*copy)(Entity*, const Entity*),
                                    Event load, Event update) {
    auto* prototype = LevelTemplate::Begin<Vars>(name, table, copy, &Free);
    prototype->_AddEvent("PreLoad", Event());
    prototype->_AddEvent("Load", load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Update", update);
    LevelTemplate::StartVariables(prototype, table);
    return prototype;
}

// A "Background" with the texture (a name that lives as long as the program),
// at depth z when given; null while the type is not registered.
Object* MakeBackground(const char* texture);
Object* MakeBackground(const char* texture, float z);

// The sliders of the settings screens run 0 to 255 in whole steps: 256
// snap positions, so a value written in comes back the same.
constexpr float kSliderMax = 255.0f;
constexpr std::int32_t kSliderTicks = 256;
// Sets up a settings slider at (x, y) (z, when given) holding value.
void SetUpSlider(Entity* slider, float x, float y, float value);
// The value of the named slider of the level, or null when it has none.
const float* SliderValue(Entity* level, const char* name);

// Raises "StartFadingIn" to every listener of the level's state.
void FadeIn(Entity* level);

// A "Text" label: the text and its box; the rest is set by the caller
// through Label(...).
struct LabelSpec {
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
Object* Label(const LabelSpec& spec);

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

}  // namespace MenuScreen
