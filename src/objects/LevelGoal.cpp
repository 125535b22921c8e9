#include "objects/LevelGoal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "collision/SolverData.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/Match.h"
#include "objects/GameplayHooks.h"
#include "objects/LevelObjectHooks.h"
#include "objects/PickupSupport.h"
#include "objects/Player.h"

namespace ObjectData::LevelGoal {

namespace {

VariableOffsetTable table;

Variables& Vars(Entity* self) { return VariablesOf<Variables>(self); }

float U() { return static_cast<float>(std::rand() & 0x3FF) / 1024.0f; }

Entity* LocalPlayer(const Entity* self) {
    Entity* player = self->GetMyObject(LocalPlayerName().c_str());
    return Player::IsPlayer(player) ? player : nullptr;
}

// The name of the level the goal's state is playing.
std::string CurrentLevelScript(const Entity* self) {
    Level* level = self->_state != nullptr ? self->_state->GetLevel() : nullptr;
    if (level == nullptr) return "";
    if (const std::string* name = FindVariable<std::string>(reinterpret_cast<Entity*>(level), enum_levelName))
        return *name;
    return "";
}

void Load(Entity* self, Entity*) {
    Variables& v = Vars(self);
    std::srand(TimeGetTime());
    v.collision.AddRectangle(-0.5f, 0.5f, 0.5f, -0.5f);
    for (int i = 0; i < kSparkles; ++i) {
        v.finishFade[i] = U() * 3.14159f;
        v.finishFadeRate[i] = 0.01f + U() * 0.01f;
        v.finishSpeed[i] = 0.01f + U() * 0.01f;
        v.finishIntensity[i] = U() * 0.5f + 0.5f;
        v.finishX[i] = U();
        v.finishY[i] = U();
    }
    SolverAddObject(self, 32);
}

// The path solver keeps the goal only until its next map; a goal that goes
// first must not stay behind in the list.
void Unload(Entity* self, Entity*) {
    std::erase_if(SolverObjectList, [self](const auto& entry) { return entry.second == self; });
}

void NextScreen(Entity* self, Entity*) {
    const std::string script = CurrentLevelScript(self);
    State* state = self->_state;
    if (script == "Sandbox") {
        // The test play's broken blocks are thrown away by reloading the
        // file; only a file that loaded is marked finished and written back.
        LevelCollision& grid = GameVars().basicLevel;
        const std::string file = EditorLevelName + ".lvl";
        if (grid.Load(file)) {
            grid.SetValidFlag(true);
            grid.Save(file);
        }
        // Without an editor to go back to, the test play ends on the main menu.
        State::SetLevel(state, Level::_IsRegistered("LevelEditor") ? "LevelEditor" : "MainMenu");
    } else if (script == "Multiplayer") {
        // Unless the server has already sent this machine on (to the results).
        if (state != nullptr && state->GetNextLevelName() == state->GetLevelName())
            State::SetLevel(state, "LoadingLevel");
    } else {
        ++CurrentLevelIndex;
        State::SetLevel(state, CurrentLevelIndex >= static_cast<int>(LevelOrder.size()) ? "SPResults" : "Restart");
    }
    self->SetEvent("FadedOut", Event());
}

// The fade out, whose end takes play on to the next screen.
void FadeToNext(Entity* self, Entity*) {
    self->CallEvent("StartFadingOut");
    self->SetEvent("FadedOut", &NextScreen);
    if (CurrentLevelScript(self) == "Multiplayer") {
        if (levelObjectHooks.isServer()) levelObjectHooks.addNextLevelSync();
        levelObjectHooks.sendNextLevel();
    }
}

// A single-play level that shows what the run achieved before play goes on
// binds "LevelFinished": it is raised with (level, goal) instead of the fade,
// and the level raises the goal's "FadeToNext" once the player carries on.
bool LevelShowsResults(Entity* self) {
    const std::string script = CurrentLevelScript(self);
    if (script == "Sandbox" || script == "Multiplayer" || self->_state == nullptr) return false;
    Level* level = self->_state->GetLevel();
    return level != nullptr && static_cast<bool>(level->GetEvent("LevelFinished"));
}

void CountDown(Entity* self, Entity*) {
    Variables& v = Vars(self);
    if (--v.fadeTimer != 0) return;
    if (LevelShowsResults(self)) {
        self->SetEvent("Behavior", Event());
        Entity::_DoEvent("LevelFinished", self, self->_state->GetLevel());
        return;
    }
    FadeToNext(self, self);
}

void Finished(Entity* self, Entity*) {
    if (Entity* player = LocalPlayer(self)) {
        Player::Vars(player).score += GameVars().SCORE_GOAL;
        gameplayHooks.playSound(AudioList::LEVEL_GOAL_SOUND, 1.0f);
        Entity::_DoEvent("LevelEnd", self, player);
    } else {
        gameplayHooks.playSound(AudioList::LEVEL_GOAL_SOUND, 1.0f);
    }
    Vars(self).fadeTimer = 130;
    self->SetEvent("Behavior", &CountDown);
}

void Touch(Entity* self, Entity*) {
    Entity* player = LocalPlayer(self);
    if (player != nullptr && collisionEngine.Check(self, player)) self->DoEvent("Logic");
}

void Sparkles(Entity* self, Entity*) {
    Variables& v = Vars(self);
    for (int i = 0; i < kSparkles; ++i) {
        v.finishFade[i] += v.finishFadeRate[i];
        v.finishY[i] += v.finishSpeed[i];
        if (v.finishFade[i] > 3.14159f) {
            v.finishFadeRate[i] = 0.01f + U() * 0.01f;
            v.finishFade[i] = 0.0f;
            v.finishSpeed[i] = U() * 0.01f + 0.005f;
            v.finishIntensity[i] = U() * 0.5f + 0.5f;
            v.finishX[i] = U() - 0.5f;
            v.finishY[i] = -0.5f;
        }
    }
}

// The gate is the goal's own picture, two cells high and standing on the
// floor of its cell, drawn behind the sparkles with a soft light about it so
// a player sees where the level ends from afar.
constexpr float kGateSize = 2.0f;
constexpr float kGateRise = 0.3f;
constexpr float kGateDepth = -0.5f;
constexpr std::uint32_t kGateLight = 0xFF7868B0u;

void Draw(Entity* self, Entity*) {
    const Variables& v = Vars(self);
    gameplayHooks.addFrame(v.position.x, v.position.y + kGateRise, kGateDepth, kGateSize, kGateSize, 0.0f,
                           v.texture != nullptr ? v.texture : "levelGoal", 0xFFFFFFFFu);
    Pickups::AddFrameToLayer(0, v.position.x, v.position.y + kGateRise, 0.55f, 2.5f * kGateSize, 2.5f * kGateSize, 0.0f,
                             "light", kGateLight);
    for (int i = 0; i < kSparkles; ++i) {
        const float f = std::sin(v.finishFade[i]);
        const auto alpha = static_cast<std::uint32_t>(static_cast<std::int32_t>(f * 255.0f)) & 0xFFu;
        gameplayHooks.addFrame(v.position.x + v.finishX[i], v.position.y + v.finishY[i], 0.0f, v.size.x * f,
                               v.size.y * f, 0.0f, "firefly", alpha << 24 | 0x00FFFFFFu);
    }
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "LevelGoal", table);
    prototype->_TempAddEngine("Behavior", &Touch);
    prototype->_TempAddEngine("GraphicsUpdate", &Sparkles);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("Logic", &Finished);
    prototype->_AddEvent("FinishedBehavior", &CountDown);
    prototype->_AddEvent("FadeToNext", &FadeToNext);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_texture, v.texture);
    BindVariable(table, p, enum_finishFade, v.finishFade);
    BindVariable(table, p, enum_finishFadeRate, v.finishFadeRate);
    BindVariable(table, p, enum_finishIntensity, v.finishIntensity);
    BindVariable(table, p, enum_finishX, v.finishX);
    BindVariable(table, p, enum_finishY, v.finishY);
    BindVariable(table, p, enum_finishSpeed, v.finishSpeed);
    BindVariable(table, p, enum_fadeTimer, v.fadeTimer);
}

}  // namespace ObjectData::LevelGoal
