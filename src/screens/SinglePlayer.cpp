#include "screens/SinglePlayer.h"

#include "framework/GameVariables.h"
#include "framework/Resources.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "networking/Match.h"
#include "objects/Player.h"
#include "screens/PlayLevel.h"

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
}

}  // namespace

Level* _Init() { return PlayLevel::Register("SinglePlayer", &Build, &PlayLevel::PauseRule); }

}  // namespace LevelData::SinglePlayer
