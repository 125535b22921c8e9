#include "screens/SinglePlayer.h"

#include "framework/GameVariables.h"
#include "framework/Resources.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/Match.h"
#include "objects/Player.h"
#include "screens/PlayCounter.h"
#include "screens/PlayLevel.h"
#include "screens/ResultCard.h"

namespace LevelData::SinglePlayer {

namespace {

void Build(Entity* self, Entity*) {
    PlayLevel::Variables& v = PlayLevel::Vars(self);
    GameData::TheGame::GameVariables& game = GameVars();
    MatchLevelCount = static_cast<int>(LevelOrder.size());
    const bool builtIn = CurrentLevelIndex >= 0 && CurrentLevelIndex < static_cast<int>(BuiltInLevelNames.size());
    CurrentLevelName = builtIn ? BuiltInLevelNames[static_cast<std::size_t>(CurrentLevelIndex)] : "";
    v.startTime = TimeGetTime();

    PlayLevel::StartMusic();
    Object* player = PlayLevel::MakeLocalPlayer(self);
    if (player != nullptr) {
        ObjectData::Player::Variables& pv = ObjectData::Player::Vars(player);
        ObjectData::Player::DropNetworking(player);
        game.playerColors[0] = static_cast<std::int32_t>(pv.playerColor);
    }
    game.playerNames[0] = game.playerName;
    v.ObjectList.clear();

    // An index past the built-in grids is a failed load, not a missing
    // resource that ends the program.
    if (CurrentLevelIndex >= 0 &&
        (CurrentLevelIndex > 65535 - LevelCollision::kFirstResource ||
         !HasInternalResource(static_cast<unsigned short>(LevelCollision::kFirstResource + CurrentLevelIndex)) ||
         !game.basicLevel.SLoad(CurrentLevelIndex))) {
        State::SetLevel(self->_state, "MainMenu");
        return;
    }
    PlayLevel::BuildFromGrid(self, false);
    LevelTemplate::Spawn("WanderBotAI", "Wanderer");
    LevelTemplate::Spawn("SolverBotAI", "Solver");
    // Last, so that it counts each frame after the pick-ups and the goal.
    LevelTemplate::Spawn("PlayCounter", "PlayCounter");
}

// The pause menu, except while the card after the level is up: then the
// controls only age, so a press held over the card opens nothing after it.
void Update(Entity* self, Entity* other) {
    if (self->GetMyObject("ResultCard") == nullptr) {
        PlayLevel::PauseRule(self, other);
        return;
    }
    PlayLevel::Variables& v = PlayLevel::Vars(self);
    v.pausePressed = PlayLevel::controls.pause();
    v.backPressed = PlayLevel::controls.back();
    v.closePressed = PlayLevel::controls.menuPause();
}

// The goal's count-down is over: the run's results come up over the level,
// and the card takes play on (the goal's fade) when the player chooses.
void LevelFinished(Entity* self, Entity* goal) {
    Progress::Run run;
    if (auto* counter = ObjectData::PlayCounter::Find(self->GetMyObject("PlayCounter")))
        run = ObjectData::PlayCounter::RunOf(*counter);
    if (!ObjectData::ResultCard::Show(self->_state, goal, CurrentLevelIndex, run) && goal != nullptr)
        goal->DoEvent("FadeToNext");
}

}  // namespace

Level* _Init() {
    PlayLevel::_DATA* prototype = PlayLevel::Register("SinglePlayer", &Build, &Update);
    prototype->_AddEvent("LevelFinished", &LevelFinished);
    return prototype;
}

}  // namespace LevelData::SinglePlayer
