#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "framework/Game.h"
#include "framework/HashCompare.h"
#include "framework/LevelCollision.h"
#include "framework/Vector.h"

namespace GameData::TheGame {

// The game entity's variable block: the data shared across levels.
struct GameVariables {
    char workingDir[1024] = {};
    HashMap<Entity*> engines;
    bool inputFlag = true;
    void (*GraphicsFunction)(void*) = nullptr;
    void (*GameFunction)(void*) = nullptr;
    std::uint32_t lastTimeHandled = 0;
    float playerGravity = -0.005f;
    // The running game's level grid; level scripts fill it, the gameplay
    // objects and the network messages read and change its cells.
    LevelCollision basicLevel{10, 10};
    std::vector<void*> handles;
    std::int32_t playerRed = 255;
    std::int32_t playerGreen = 5;
    std::int32_t playerBlue = 150;
    std::int32_t breakableMusic = 0;
    std::int32_t walkMusic = 0;
    std::list<int> pendingClients;
    std::int32_t playerColors[16] = {};
    std::string playerNames[16];
    std::string playerName;
    D3DXVECTOR3 startPos;
    D3DXVECTOR2 checkpointPosition;
    std::int32_t playerScores[16] = {};
    std::int32_t SCORE_CHECKPOINT = 10;
    std::int32_t SCORE_MOONSHARD = 15;
    std::int32_t SCORE_GOAL = 20;
    std::int32_t SCORE_FIREFLY = 1;
    std::int32_t SCORE_KILL = 5;
    bool rumbleOn = false;
    bool wiiControls = false;
    bool xbox360Controls = false;
    bool resolutionAuto = false;
    float sVolume = 0.0f;
    float mVolume = 0.0f;
    std::int32_t firstTimePlaying = 0;
    std::string backToWhere;
};

// The game entity's one concrete type.
struct _DATA : public Game {
    _DATA();
    ~_DATA() override;
    GameVariables variables;
};

}  // namespace GameData::TheGame

// The game entity's variables (the game entity must exist).
GameData::TheGame::GameVariables& GameVars();

// The index of the level being played.
extern int CurrentLevelIndex;
// The level file the level editor works on, without its ".lvl" ending
// (its test play writes the file back when the goal is reached).
extern std::string EditorLevelName;
