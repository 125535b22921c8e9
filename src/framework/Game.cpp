#include "framework/Game.h"

#include "framework/Engine.h"
#include "framework/GameVariables.h"
#include "framework/SaveFile.h"
#include "framework/State.h"
#include "framework/Variables.h"

namespace {

Game* gameEntity = nullptr;
VariableOffsetTable gameTable;

void EmptyPointerFunction(void*) {}

void GameLoad(Entity*, Entity*) { CurrentLevelIndex = 0; }

bool Triggered(int scanCode) { return Game::hooks.keyTriggered != nullptr && Game::hooks.keyTriggered(scanCode); }

void GameUpdate(Entity*, Entity*) {
    if (Game::hooks.takeInput != nullptr) Game::hooks.takeInput();
    GameData::TheGame::GameVariables& vars = GameVars();
    if (Triggered(0x3F)) vars.wiiControls = !vars.wiiControls;
    if (Triggered(0x40)) vars.resolutionAuto = !vars.resolutionAuto;
    if (Triggered(0x41)) {
        vars.rumbleOn = !vars.rumbleOn;
        if (vars.rumbleOn && Game::hooks.rumble != nullptr) Game::hooks.rumble(100);
    }
    if (Triggered(0x42)) vars.xbox360Controls = !vars.xbox360Controls;
}

}  // namespace

Game*& GetMyGame() { return gameEntity; }

GameData::TheGame::GameVariables& GameVars() { return VariablesOf<GameData::TheGame::GameVariables>(gameEntity); }

Game::Game(int byteSize) : Entity(byteSize) {}

Game::~Game() { ClearEngines(); }

GameData::TheGame::_DATA::_DATA() : Game(sizeof(_DATA)) {
    variables.GraphicsFunction = &EmptyPointerFunction;
    variables.GameFunction = &EmptyPointerFunction;
}

GameData::TheGame::_DATA::~_DATA() = default;

void Game::_FirstInit() {
    using GameData::TheGame::_DATA;
    _Shutdown();
    auto* game = new _DATA();
    gameEntity = game;
    game->_free = &Entity::_CallUnload;
    game->_SetName("TheGame");
    game->_type = "TheGame";
    game->_AddEvent("UpdateAllDLLs", Event());
    game->_AddEvent("Load", &GameLoad);
    game->_AddEvent("Update", &GameUpdate);
    game->_AddEvent("Unload", Event());

    game->_map = gameTable;
    game->_startVar = reinterpret_cast<char*>(&game->variables);
    ClearVariableTable(gameTable);
    GameData::TheGame::GameVariables& v = game->variables;
    BindVariable(gameTable, *game, enum_workingDir, v.workingDir);
    BindVariable(gameTable, *game, enum_engines, v.engines);
    BindVariable(gameTable, *game, enum_inputFlag, v.inputFlag);
    BindVariable(gameTable, *game, enum_GraphicsFunction, v.GraphicsFunction);
    BindVariable(gameTable, *game, enum_GameFunction, v.GameFunction);
    BindVariable(gameTable, *game, enum_lastTimeHandled, v.lastTimeHandled);
    BindVariable(gameTable, *game, enum_playerGravity, v.playerGravity);
    BindVariable(gameTable, *game, enum_basicLevel, v.basicLevel);
    BindVariable(gameTable, *game, enum_handles, v.handles);
    BindVariable(gameTable, *game, enum_playerRed, v.playerRed);
    BindVariable(gameTable, *game, enum_playerGreen, v.playerGreen);
    BindVariable(gameTable, *game, enum_playerBlue, v.playerBlue);
    BindVariable(gameTable, *game, enum_breakableMusic, v.breakableMusic);
    BindVariable(gameTable, *game, enum_walkMusic, v.walkMusic);
    BindVariable(gameTable, *game, enum_pendingClients, v.pendingClients);
    BindVariable(gameTable, *game, enum_playerColors, v.playerColors);
    BindVariable(gameTable, *game, enum_playerNames, v.playerNames);
    BindVariable(gameTable, *game, enum_playerName, v.playerName);
    BindVariable(gameTable, *game, enum_startPos, v.startPos);
    BindVariable(gameTable, *game, enum_checkpointPosition, v.checkpointPosition);
    BindVariable(gameTable, *game, enum_playerScores, v.playerScores);
    BindVariable(gameTable, *game, enum_SCORE_CHECKPOINT, v.SCORE_CHECKPOINT);
    BindVariable(gameTable, *game, enum_SCORE_MOONSHARD, v.SCORE_MOONSHARD);
    BindVariable(gameTable, *game, enum_SCORE_GOAL, v.SCORE_GOAL);
    BindVariable(gameTable, *game, enum_SCORE_FIREFLY, v.SCORE_FIREFLY);
    BindVariable(gameTable, *game, enum_SCORE_KILL, v.SCORE_KILL);
    BindVariable(gameTable, *game, enum_rumbleOn, v.rumbleOn);
    BindVariable(gameTable, *game, enum_wiiControls, v.wiiControls);
    BindVariable(gameTable, *game, enum_xbox360Controls, v.xbox360Controls);
    BindVariable(gameTable, *game, enum_resolutionAuto, v.resolutionAuto);
    BindVariable(gameTable, *game, enum_sVolume, v.sVolume);
    BindVariable(gameTable, *game, enum_mVolume, v.mVolume);
    BindVariable(gameTable, *game, enum_firstTimePlaying, v.firstTimePlaying);
    BindVariable(gameTable, *game, enum_backToWhere, v.backToWhere);

    // Every variable has a value before anything reads it: the block starts
    // from its member defaults, then the save file's own defaults (all but the
    // colour, which keeps the game's).
    ApplySaveDefaults(false);

    State* remembered = State::_currentState;
    State::_currentState = nullptr;
    Engine::_MakeCopy("GuiManager", 2.0);
    Engine::_MakeCopy("Sound", 1.1);
    State::_currentState = remembered;
}

void Game::Load() {
    if (gameEntity != nullptr) gameEntity->DoEvent("Load");
}

void Game::Update() {
    if (gameEntity == nullptr) return;
    State::wasAnyActive = State::hooks.anyWindowActive != nullptr && State::hooks.anyWindowActive();
    gameEntity->DoEvent("Update");
    State* remembered = State::_currentState;
    State::_currentState = nullptr;
    State::UpdateAllEngines();
    State::_currentState = remembered;
}

void Game::Unload() {
    if (gameEntity == nullptr) return;
    gameEntity->DoEvent("Unload");
    State* remembered = State::_currentState;
    State::_currentState = nullptr;
    State::ClearAllEngines();
    State::_currentState = remembered;
}

void Game::ClearEngines() {
    std::list<Engine*> all;
    all.swap(engines);
    for (Engine* engine : all) Entity::_Destroy(engine);
}

void Game::_Shutdown() {
    if (gameEntity == nullptr) return;
    Game* game = gameEntity;
    game->ClearEngines();
    game->_ClearEvents();
    gameEntity = nullptr;
    delete game;
}

namespace {
// Constant-initialised (all null) like the hooks themselves, so that the
// input layer may set both during static initialisation in any unit order.
GameHooks inputDefaults;
}  // namespace

GameHooks Game::DefaultHooks() { return inputDefaults; }

void Game::SetDefaultHooks(const GameHooks& defaults) {
    inputDefaults = defaults;
    hooks = defaults;
}

GameHooks Game::hooks;
