// The variants that ask before leaving: the quit screen's quit and continue
// buttons, and the ask-again button back to the main menu.
#include "screens/MenuVariantSteps.h"

#include "framework/Object.h"

namespace MenuVariants {

namespace {

// The ask-again button: the first click asks, the second leaves.
void AskAgain(Entity* self, Entity*) {
    self->SetEvent("Logic", &FadeTo<kMainMenu>);
    SetLabel(self, "#0x444434#Are you sure?");
}

// What each close control read on the previous frame, per button. A button
// starts as if they were down, so a key held from before never acts.
std::unordered_map<const Entity*, bool>& CloseHeld() {
    static std::unordered_map<const Entity*, bool> held;
    return held;
}

// ContinuePlaying: a new press of pause (not Enter, which selects) or back
// acts like a click, then the button's own behaviour.
void ContinueBehavior(Entity* self, Entity*) {
    const bool now = hooks.closePressed();
    auto it = CloseHeld().try_emplace(self, true).first;
    const bool before = it->second;
    it->second = now;
    if (now && !before) Entity::_DoEvent("Logic", self, self);
    Entity::_DoEvent("Super.Behavior", self, self);
}

void ContinueUnload(Entity* self, Entity*) {
    CloseHeld().erase(self);
    Entity::_DoEvent("Super.Unload", self, self);
}

void BindContinue(Object* o) {
    BindEvent(o, "Logic", &FadeTo<kMainMenu>);
    BindEngine(o, "Behavior", &ContinueBehavior);
    BindEvent(o, "Unload", &ContinueUnload);
}
void BindQuitButton(Object* o) {
    BindEvent(o, "Logic", &FadeTo<kQuit>);
    BindEngine(o, "Behavior", &SuperBehavior);
}
void BindAskAgain(Object* o) {
    BindEvent(o, "Logic", &AskAgain);
    BindEvent(o, "Logic2", &FadeTo<kMainMenu>);
}

constexpr Variant kVariants[] = {
    {"ContinuePlaying", "Button", true, P(0.3f, -0.15f), S(kWide, kTall), "continuePlayingButton", nullptr,
     &BindContinue, nullptr},
    {"QuitButton", "Button", true, P(-0.3f, -0.15f), S(kWide, kTall), "quitButton", nullptr, &BindQuitButton, nullptr},
    {"quitToMainMenu", "TextButton", true, P(-0.7f, -0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Main Menu",
     &BindAskAgain, nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> QuitConfirmRows() { return kRows; }

}  // namespace MenuVariants
