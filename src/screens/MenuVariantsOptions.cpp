// The options screen's variants: the settings toggles, each showing its
// setting and flipping it when clicked.
#include "screens/MenuVariantSteps.h"

#include "framework/GameVariables.h"
#include "framework/Object.h"
#include "framework/Progress.h"
#include "framework/State.h"
#include "objects/GameplayHooks.h"
#include "widgets/TextButton.h"

namespace MenuVariants {

namespace {

const char* Pick(bool on, const char* whenOn, const char* whenOff) { return on ? whenOn : whenOff; }

void SetTexture(Entity* self, const char* texture) {
    LevelTemplate::SetIfPresent<const char*>(self, enum_texture, texture);
}

void FullScreenBehavior(Entity* self, Entity* other) {
    SetTexture(self, Pick(State::IsFullscreen(), "fullscreenButton", "windowedButton"));
    ObjectData::TextButton::Behavior(self, other);
}
void RumbleBehavior(Entity* self, Entity* other) {
    SetTexture(self, Pick(GameVars().rumbleOn, "rummbleToggleOnButton", "rumbleToggleOffButton"));
    ObjectData::TextButton::Behavior(self, other);
}
void WiiBehavior(Entity* self, Entity* other) {
    SetTexture(self, Pick(GameVars().wiiControls, "wiiToggleOnButton", "wiiToggleOffButton"));
    ObjectData::TextButton::Behavior(self, other);
}
void XboxBehavior(Entity* self, Entity* other) {
    SetTexture(self, Pick(GameVars().xbox360Controls, "xBoxToggleOnButton", "xBoxToggleOffButton"));
    ObjectData::TextButton::Behavior(self, other);
}
void ResolutionBehavior(Entity* self, Entity*) {
    SetTexture(self, Pick(GameVars().resolutionAuto, "resolution480Button", "resolutionAutoButton"));
    Entity::_DoEvent("Super.Behavior", self, self);
}

void ToggleFullscreenLogic(Entity*, Entity*) { State::ToggleFullscreen(); }
void FlipRumble(Entity*, Entity*) {
    GameData::TheGame::GameVariables& game = GameVars();
    game.rumbleOn = !game.rumbleOn;
    if (!game.rumbleOn) return;
    if (game.wiiControls && !GamePaused && hooks.remoteConnected()) gameplayHooks.rumbleRemote(100);
    gameplayHooks.vibratePad(100);
}
void FlipWii(Entity*, Entity*) { GameVars().wiiControls = !GameVars().wiiControls; }
void FlipXbox(Entity*, Entity*) { GameVars().xbox360Controls = !GameVars().xbox360Controls; }
void FlipResolution(Entity*, Entity*) { GameVars().resolutionAuto = !GameVars().resolutionAuto; }
// The single-play counter's choice is kept with the progress, at once.
void CounterBehavior(Entity* self, Entity* other) {
    SetTexture(self, Pick(Progress::Current().showCounter, "counterToggleOnButton", "counterToggleOffButton"));
    ObjectData::TextButton::Behavior(self, other);
}
void FlipCounter(Entity*, Entity*) {
    Progress::Record& progress = Progress::Current();
    progress.showCounter = !progress.showCounter;
    Progress::Save();
}

void BindFullScreen(Object* o) {
    BindEvent(o, "Logic", &ToggleFullscreenLogic);
    BindEngine(o, "Behavior", &FullScreenBehavior);
}
void BindRumble(Object* o) {
    BindEvent(o, "Logic", &FlipRumble);
    BindEngine(o, "Behavior", &RumbleBehavior);
}
void BindWii(Object* o) {
    BindEvent(o, "Logic", &FlipWii);
    BindEngine(o, "Behavior", &WiiBehavior);
}
void BindXbox(Object* o) {
    BindEvent(o, "Logic", &FlipXbox);
    BindEngine(o, "Behavior", &XboxBehavior);
}
void BindCounter(Object* o) {
    BindEvent(o, "Logic", &FlipCounter);
    BindEngine(o, "Behavior", &CounterBehavior);
}
void BindResolution(Object* o) {
    BindEvent(o, "Logic", &FlipResolution);
    BindEngine(o, "Behavior", &ResolutionBehavior);
}

constexpr Variant kVariants[] = {
    {"counterToggleButton", "Button", true, P(0.7f, -0.22f), S(0.3f, 0.1f), "counterToggleOnButton", nullptr,
     &BindCounter, nullptr},
    {"CustomizeButton", "Button", true, P(-0.35f, -0.22f), S(0.3f, 0.1f), "customizeButton", nullptr,
     &BindFade<kCustomize>, nullptr},
    {"FullScreenButton", "Button", true, P(0.0f, -0.22f), S(0.3f, 0.1f), "fullscreenButton", nullptr, &BindFullScreen,
     nullptr},
    {"resolutionToggleButton", "Button", true, P(-0.35f, -0.4f), S(0.3f, 0.1f), "resolutionAutoButton", nullptr,
     &BindResolution, nullptr},
    {"rummbleToggleButton", "Button", true, P(0.0f, -0.4f), S(0.3f, 0.1f), "rummbleToggleOnButton", nullptr,
     &BindRumble, nullptr},
    {"TestSoundButton", "Button", true, P(-0.6f, -0.05f), S(0.3f, 0.1f), "continueButton", nullptr, &BindStill,
     nullptr},
    {"wiiToggleButton", "Button", true, P(0.35f, -0.22f), S(0.3f, 0.1f), "wiiToggleOnButton", nullptr, &BindWii,
     nullptr},
    {"xboxToggleButton", "Button", true, P(0.35f, -0.4f), S(0.3f, 0.1f), "xBoxToggleOnButton", nullptr, &BindXbox,
     nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> OptionsRows() { return kRows; }

}  // namespace MenuVariants
