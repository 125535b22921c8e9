#include "networking/messages/MSG_GameRules.h"

#include "framework/GameVariables.h"
#include "networking/GameLink.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"

namespace Networking::NetMessage {

MSG_GameRules::MSG_GameRules(unsigned int) {
    levelName = CurrentLevelName;
    levelIndex = static_cast<std::uint32_t>(CurrentLevelIndex);
    levelCount = static_cast<std::uint32_t>(LevelOrder.size());
    if (auto* game = GameVariablesOrNull()) {
        scoreCheckpoint = static_cast<std::uint32_t>(game->SCORE_CHECKPOINT);
        scoreMoonShard = static_cast<std::uint32_t>(game->SCORE_MOONSHARD);
        scoreGoal = static_cast<std::uint32_t>(game->SCORE_GOAL);
        scoreFireFly = static_cast<std::uint32_t>(game->SCORE_FIREFLY);
        scoreKill = static_cast<std::uint32_t>(game->SCORE_KILL);
    }
}

void MSG_GameRules::CallBack(NetEngine& engine) {
    // Only the server sets the rules: a client's are ignored.
    if (engine.IsServer()) return;
    // A level index past the match's levels names no level: the rules are
    // refused whole.
    if (levelIndex.value >= levelCount.value) return;
    MatchLevelCount = static_cast<int>(levelCount.value);
    CurrentLevelIndex = static_cast<int>(levelIndex.value);
    CurrentLevelName = levelName;
    if (auto* game = GameVariablesOrNull()) {
        game->SCORE_CHECKPOINT = static_cast<std::int32_t>(scoreCheckpoint.value);
        game->SCORE_MOONSHARD = static_cast<std::int32_t>(scoreMoonShard.value);
        game->SCORE_GOAL = static_cast<std::int32_t>(scoreGoal.value);
        game->SCORE_FIREFLY = static_cast<std::int32_t>(scoreFireFly.value);
        game->SCORE_KILL = static_cast<std::int32_t>(scoreKill.value);
    }
    // Not relayed: only the server sends the rules.
}

}  // namespace Networking::NetMessage
