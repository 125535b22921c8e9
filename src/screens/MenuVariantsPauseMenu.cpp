// The pause menu's variants: resume, the how-to-play page and the way out
// (to the level editor after a test play, else to the main menu).
#include "screens/MenuVariantSteps.h"

#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "screens/PlayLevel.h"
#include "screens/SinglePlayer.h"

namespace MenuVariants {

namespace {

Entity* PlayLevelOf(Entity* self) {
    Level* level = self->_state != nullptr ? self->_state->GetLevel() : nullptr;
    return level != nullptr && FindVariable<bool>(level, enum_Paused) != nullptr ? level : nullptr;
}

bool InTestPlay(Entity* self) {
    Entity* level = PlayLevelOf(self);
    const auto* name = level != nullptr ? FindVariable<std::string>(level, enum_levelName) : nullptr;
    return name != nullptr && *name == "Sandbox";
}

void Resume(Entity* self, Entity*) {
    if (Entity* level = PlayLevelOf(self)) PlayLevel::ClosePauseMenu(level);
}

void ShowHowToPlay(Entity* self, Entity*) { LevelTemplate::SpawnIn(self->_state, "PausedHowToPlayImage", "HTPImage"); }

// A test play goes back to the editor, while there is one to go back to.
bool LeavesToEditor(Entity* self) { return InTestPlay(self) && Level::_IsRegistered("LevelEditor"); }

void Leave(Entity* self, Entity*) {
    if (LeavesToEditor(self)) {
        GameVars().basicLevel.Load(EditorLevelName + ".lvl");
        State::SetLevel(self->_state, "LevelEditor");
    } else {
        State::SetLevel(self->_state, "MainMenu");
    }
}
void FadeThenLeave(Entity* self, Entity*) { FadeThen(self, &Leave); }
void AskBeforeLeaving(Entity* self, Entity*) {
    self->SetEvent("Logic", &FadeThenLeave);
    SetLabel(self, "#0x444434#Are you sure?");
}

void BindResume(Object* o) { BindEvent(o, "Logic", &Resume); }
void BindHowToPlay(Object* o) { BindEvent(o, "Logic", &ShowHowToPlay); }
void BindLeave(Object* o) {
    BindEvent(o, "Logic", &AskBeforeLeaving);
    BindEvent(o, "Logic2", &FadeThenLeave);
}

void LeaveLabel(Object* o) { SetLabel(o, LeavesToEditor(o) ? "#0x444434#Level Editor" : "#0x444434#Main Menu"); }

constexpr Variant kVariants[] = {
    {"PauseMenuHowToPlay", "TextButton", true, P(0.0f, 0.0f, 100.0f), S(0.4f, kTall), "baseButton",
     "#0x444434#How To Play", &BindHowToPlay, nullptr},
    {"PauseMenuResumeButton", "TextButton", true, P(0.0f, 0.3f, 100.0f), S(0.4f, kTall), "baseButton",
     "#0x444434#Resume", &BindResume, nullptr},
    {"PauseMenuReturnMainMenu", "TextButton", true, P(0.0f, -0.3f, 100.0f), S(0.4f, kTall), "baseButton", nullptr,
     &BindLeave, &LeaveLabel},
    {"ReturnToPause", "Button", true, P(0.0f, 0.0f), S(0.3f, 0.1f), "backButton", nullptr, &BindStill, nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> PauseMenuRows() { return kRows; }

}  // namespace MenuVariants
