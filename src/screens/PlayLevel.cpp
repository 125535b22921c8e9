#include "screens/PlayLevel.h"

#include <cstdio>
#include <cstdlib>

#include "framework/Engine.h"
#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "framework/Time.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_SetClientInfo.h"
#include "objects/Player.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/XBox.h"
#include "platform/sound/SoundEngine.h"

bool ConnectionDropped = false;
bool LevelLoadFailed = false;

namespace PlayLevel {

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

VariableOffsetTable table;

bool PausePressed() { return inputEngine.PauseButtonPressed(); }
bool BackPressed() { return inputEngine.BackButtonPressed(); }
bool MenuPausePressed() { return inputEngine.MenuPauseButtonPressed(); }
bool NetworkGame() { return Net().IsServer() || Net().IsClient(); }
bool MatchBackPressed() {
    constexpr std::uint16_t kRemoteOne = 0x0200;
    const bool remote =
        GameVars().wiiControls && inputHooks.remoteButtons != nullptr && (inputHooks.remoteButtons() & kRemoteOne) != 0;
    return Keyboard.Pressed(DIK_ESCAPE) || remote || XBox.B() || XBox.Back();
}

// What keeps running while the level stands still under its pause menu.
bool RunsWhilePaused(Entity* member) {
    if (member->GetType() == "Transition") return true;
    for (const char* name : {"ResButton", "MainMButton", "HTOPButton", "Cursor", "HTPImage", "TabManager"})
        if (member->GetName() == name) return true;
    return false;
}

void HeldPass(Entity* self, Entity*) { Engine::UpdateMembers(static_cast<Engine*>(self), &RunsWhilePaused); }

// Every update pass of the state's engines walks only the menu; drawing goes
// on, and so does the camera's publishing of where it stands: each frame
// starts from the origin, and a level drawn from there shows a corner of its
// first cell over half the window.
void HoldWorld(State* state) {
    for (Engine* engine : state->engines) {
        const std::string& name = engine->GetName();
        if (name == "GraphicsDraw" || name == "PreCameraUpdate" || engine->GetEvent("Update") == Event(&HeldPass))
            continue;
        engine->_SetEvent("Running.Update", engine->GetEvent("Update"));
        engine->_SetEvent("Update", &HeldPass);
    }
}

void ReleaseWorld(State* state) {
    for (Engine* engine : state->engines) {
        if (engine->GetEvent("Update") != Event(&HeldPass)) continue;
        engine->_SetEvent("Update", engine->GetEvent("Running.Update"));
    }
}

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    copy->DoEvent("PreLoad");
    Engine::_MakeCopy("PreCameraUpdate", 5.1);
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("PostCameraUpdate", 4.9);
    Engine::_MakeCopy("NetworkingUpdate", 1.075);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
    LevelTemplate::Spawn("Camera", "Camera");
    LevelTemplate::Spawn("LevelGraphics", "LevelGraphics");
    LevelTemplate::Spawn("TextMsg", "NetError");
    LevelTemplate::Spawn("Transition", "Transit");
    copy->DoEvent("Load");
}

void Free(Entity* self) {
    self->DoEvent("Unload");
    Variables& v = Vars(self);
    v.ObjectList.clear();
    v.levelName.clear();
    v.EngineList.clear();
}

// A fresh fraction 0 <= q < 1 in steps of 1/1024.
float Q() { return static_cast<float>(std::rand() % 1024) / 1024.0f; }

// A cell counts as not solid unless it holds a terrain code 1 to 9.
bool NotSolid(int value) { return value < 1 || value > 9; }
bool DirtOrSpikes(int value) { return value >= 2 && value <= 6; }
bool HoldsSpring(int value) { return value >= 104 && value <= 106; }

constexpr float kUp = 1.570795f;

// One blade at (x, y) leaning by lean (added to the base angle), handed to
// the grass manager.
void AddBlade(Entity* manager, const char* type, float x, float y, float rotation, bool underSpring) {
    Object* blade = LevelTemplate::Spawn(type);
    if (blade == nullptr) return;
    if (auto* position = FindVariable<D3DXVECTOR3>(blade, enum_position)) {
        position->x = x;
        position->y = y;
    }
    LevelTemplate::SetIfPresent(blade, enum_grassDance, 2.0f * Q() + 4.0f * y + 1.3f * x);
    LevelTemplate::SetIfPresent(blade, enum_grassRotation, rotation);
    if (underSpring)
        if (auto* size = FindVariable<D3DXVECTOR2>(blade, enum_size)) size->x *= 0.6f;
    LevelTemplate::SetIfPresent<Entity*>(manager, enum_currentGrass, blade);
    Entity::_DoEvent("AddGrass", manager, manager);
}

// The blades of one grass cell, side by side in the order top, bottom, left, right.
void GrowGrass(Entity* manager, const LevelCollision& grid, int x, int y) {
    const int w = grid.GetWidth();
    const int h = grid.GetHeight();
    const int t = grid.GetTileGridCell(y * w + x);
    auto at = [&](int column, int row) { return grid.GetCell(row * w + column); };
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    auto lean = [] { return 0.2f * Q() + 0.7f; };
    auto jitter = [] { return 0.6f * Q() - 0.3f; };

    // Top.
    if (!((t >= 0 && (t & 1)) || y >= h - 1 || DirtOrSpikes(at(x, y + 1)))) {
        const bool spring = HoldsSpring(at(x, y + 1));
        if (NotSolid(at(x - 1, y + 1)) && NotSolid(at(x - 1, y)))
            AddBlade(manager, "GrassBlade", fx + 0.1f, fy + 0.85f, kUp + lean(), spring);
        if (NotSolid(at(x + 1, y + 1)) && NotSolid(at(x + 1, y)))
            AddBlade(manager, "GrassBlade", fx + 0.1f + 0.8f, fy + 0.85f, kUp - lean(), spring);
        for (int i = 0; i < 5; ++i)
            AddBlade(manager, "GrassBlade", fx + 0.1f + static_cast<float>(i) / 5.0f, fy + 0.9f, kUp + jitter(),
                     spring);
    }
    // Bottom.
    if (!((t >= 0 && (t & 4)) || y < 1 || DirtOrSpikes(at(x, y - 1)))) {
        const bool spring = HoldsSpring(at(x, y - 1));
        if (NotSolid(at(x - 1, y - 1)) && NotSolid(at(x - 1, y)))
            AddBlade(manager, "GrassBladeDown", fx + 0.1f, fy + 0.05f, 3.14159f + kUp - lean(), spring);
        if (NotSolid(at(x + 1, y - 1)) && NotSolid(at(x + 1, y)))
            AddBlade(manager, "GrassBladeDown", fx + 0.1f + 0.8f, fy + 0.05f, 3.14159f + kUp + lean(), spring);
        for (int i = 0; i < 5; ++i)
            AddBlade(manager, "GrassBladeDown", fx + 0.1f + static_cast<float>(i) / 5.0f, fy, kUp + 3.14159f + jitter(),
                     spring);
    }
    // Left.
    if (!((t >= 0 && (t & 8)) || x < 1 || DirtOrSpikes(at(x - 1, y)))) {
        const bool spring = HoldsSpring(at(x - 1, y));
        if (NotSolid(at(x - 1, y - 1)) && NotSolid(at(x, y - 1)))
            AddBlade(manager, "GrassBladeLeft", fx + 0.05f, fy + 0.1f, kUp + kUp - lean(), spring);
        if (NotSolid(at(x - 1, y + 1)) && NotSolid(at(x, y + 1)))
            AddBlade(manager, "GrassBladeLeft", fx + 0.05f, fy + 0.9f, kUp + kUp + lean(), spring);
        for (int i = 0; i < 5; ++i)
            AddBlade(manager, "GrassBladeLeft", fx, fy + 0.1f + static_cast<float>(i) / 5.0f, kUp + kUp + jitter(),
                     spring);
    }
    // Right.
    if (!((t >= 0 && (t & 2)) || x >= w - 1 || DirtOrSpikes(at(x + 1, y)))) {
        const bool spring = HoldsSpring(at(x + 1, y));
        if (NotSolid(at(x + 1, y - 1)) && NotSolid(at(x, y - 1)))
            AddBlade(manager, "GrassBladeRight", fx + 0.95f, fy + 0.1f, 4.712385f + kUp + lean(), spring);
        if (NotSolid(at(x + 1, y + 1)) && NotSolid(at(x, y + 1)))
            AddBlade(manager, "GrassBladeRight", fx + 0.95f, fy + 0.9f, 4.712385f + kUp - lean(), spring);
        for (int i = 0; i < 5; ++i)
            AddBlade(manager, "GrassBladeRight", fx + 1.0f, fy + 0.1f + static_cast<float>(i) / 5.0f,
                     kUp + 4.712385f + jitter(), spring);
    }
}

void PlaceAt(Object* object, float x, float y) {
    if (auto* position = FindVariable<D3DXVECTOR3>(object, enum_position)) {
        position->x = x;
        position->y = y;
    }
}

// The single character after a counted prefix: '0' + n, wrapping at 256.
std::string Counted(const char* prefix, int n) {
    return std::string(prefix) + static_cast<char>(static_cast<unsigned char>((48 + n) & 255));
}

// One backdrop of the three layers.
void Backdrop(float zShift, float parallax, float xShift, float sizeFactor, std::uint32_t color, bool keepDefaults) {
    Object* back = LevelTemplate::Spawn("ParaBack");
    if (back == nullptr) return;
    LevelTemplate::SetIfPresent<const char*>(back, enum_texture, "nightSkyGround");
    if (keepDefaults) return;
    if (auto* z = FindVariable<float>(back, enum_z)) *z -= zShift;
    LevelTemplate::SetIfPresent(back, enum_cameraParallax, D3DXVECTOR2{parallax, parallax});
    if (auto* position = FindVariable<D3DXVECTOR3>(back, enum_position)) position->x += xShift;
    if (auto* size = FindVariable<D3DXVECTOR2>(back, enum_size)) {
        size->x *= sizeFactor;
        size->y *= sizeFactor;
    }
    LevelTemplate::SetIfPresent(back, enum_color, color);
}

}  // namespace

Controls controls{&PausePressed, &BackPressed, &MenuPausePressed, &NetworkGame, &MatchBackPressed};
void ResetControls() {
    controls = Controls{&PausePressed, &BackPressed, &MenuPausePressed, &NetworkGame, &MatchBackPressed};
}

Variables& Vars(Entity* level) { return VariablesOf<Variables>(level); }

_DATA* Register(const char* name, Event load, Event update) {
    _DATA* prototype = LevelTemplate::Begin<Variables>(name, table, &Copy, &Free);
    prototype->_AddEvent("PreLoad", Event());
    prototype->_AddEvent("Load", load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("Update", update);
    LevelTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_ObjectList, v.ObjectList);
    BindVariable(table, p, enum_levelName, v.levelName);
    BindVariable(table, p, enum_Paused, v.Paused);
    BindVariable(table, p, enum_EngineList, v.EngineList);
    BindVariable(table, p, enum_startTime, v.startTime);
    BindVariable(table, p, enum_camera, v.camera);
    BindVariable(table, p, enum_pausePressed, v.pausePressed);
    BindVariable(table, p, enum_backPressed, v.backPressed);
    v.levelName = name;
    return prototype;
}

void StartMusic() {
    soundEngine.StopAllMusic();
    soundEngine.PlayMusic(static_cast<AudioList>(5), 1.0f);
    GameVars().breakableMusic = soundEngine.PlayMusic(static_cast<AudioList>(0), 0.0f);
    GameVars().walkMusic = soundEngine.PlayMusic(static_cast<AudioList>(8), 0.0f);
}

Object* MakeLocalPlayer(Entity* level) {
    Variables& v = Vars(level);
    Object* player = LevelTemplate::Spawn("Player", "Player_0");
    if (player != nullptr) {
        if (auto* position = FindVariable<D3DXVECTOR3>(player, enum_position)) {
            position->x = 2.0f;
            position->y = 2.0f;
        }
        LevelTemplate::SetIfPresent(player, enum_startTime, v.startTime);
    }
    return player;
}

void BuildFromGrid(Entity* level, bool networkedMatch, void (*afterRow)(int row)) {
    Variables& lv = Vars(level);
    GameData::TheGame::GameVariables& game = GameVars();
    LevelCollision& grid = game.basicLevel;
    grid.GenerateCompleteTileGrid();

    Object* manager = LevelTemplate::Spawn("GrassManager");
    Entity* player = level->GetMyObject("Player_0");
    if (!ObjectData::Player::IsPlayer(player)) player = nullptr;
    int fireflies = 0, shards = 0, springs = 0, fakes = 0;
    const int w = grid.GetWidth();
    const int h = grid.GetHeight();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int cell = grid.GetCell(x, y);
            if (cell < 1 || cell > 108) continue;
            const float cx = static_cast<float>(x) + 0.5f;
            const float cy = static_cast<float>(y) + 0.5f;
            switch (cell) {
                case LevelCellValue::GrassTile:
                    if (manager != nullptr) GrowGrass(manager, grid, x, y);
                    break;
                case LevelCellValue::BreakableTile:
                    if (networkedMatch) LevelTemplate::Spawn("FakeBrokenTerrain", Counted("FT", ++fakes));
                    break;
                case LevelCellValue::Fireflies:
                    PlaceAt(LevelTemplate::Spawn("Firefly", "f" + std::to_string(fireflies++)), cx, cy);
                    break;
                case LevelCellValue::LevelStart:
                    if (player != nullptr) {
                        auto& pv = ObjectData::Player::Vars(player);
                        pv.position.x = cx;
                        pv.position.y = cy;
                        game.checkpointPosition = {cx, cy};
                        game.startPos = pv.position;
                        if (Entity* camera = level->GetMyObject("Camera")) {
                            LevelTemplate::SetIfPresent(camera, enum_position, pv.position);
                            LevelTemplate::SetIfPresent(camera, enum_scale, 1.0f);
                        }
                        pv.cameraPosition = {cx, cy};
                        lv.ObjectList.push_back(static_cast<Object*>(player));
                    }
                    break;
                case LevelCellValue::LevelGoal: PlaceAt(LevelTemplate::Spawn("LevelGoal"), cx, cy); break;
                case LevelCellValue::Checkpoint: PlaceAt(LevelTemplate::Spawn("Checkpoint"), cx, cy); break;
                case LevelCellValue::Spring:
                    PlaceAt(LevelTemplate::Spawn("Spring", Counted("S_", ++springs)), cx, cy);
                    break;
                case LevelCellValue::SpringRight:
                    PlaceAt(LevelTemplate::Spawn("SideSpring", Counted("S_", ++springs)), cx, cy);
                    break;
                case LevelCellValue::SpringLeft:
                    PlaceAt(LevelTemplate::Spawn("SideSpring2", Counted("S_", ++springs)), cx, cy);
                    break;
                case LevelCellValue::SpeedBoost: PlaceAt(LevelTemplate::Spawn("SpdBoost"), cx, cy); break;
                case LevelCellValue::MoonShard:
                    PlaceAt(LevelTemplate::Spawn("MoonShard", "m" + std::to_string(shards++)), cx, cy);
                    break;
                default: break;
            }
        }
        if (afterRow != nullptr) afterRow(y);
    }

    SpawnSky();
}

bool InNetworkGame() { return Net().IsServer() || Net().IsClient(); }

void RegisterLocalPlayer(Object* player) {
    GameData::TheGame::GameVariables& game = GameVars();
    const std::uint32_t color = ObjectData::Player::IsPlayer(player) ? ObjectData::Player::Vars(player).playerColor
                                                                     : static_cast<std::uint32_t>(game.playerColors[0]);
    if (Net().IsClient()) {
        // The constructor keeps the colour and name in this machine's table too.
        Networking::NetMessage::MSG_SetClientInfo info(color, game.playerName, Net().NetID());
        Net().PrivateSendNetMessage(info, true, false);
    } else if (Net().IsServer()) {
        // The clients learn the host's name and colour from the host itself,
        // not only when they join during a level.
        Networking::NetMessage::MSG_SetClientInfo info(color, game.playerName, 0);
        Net().PrivateSendNetMessage(info, true, false);
    } else {
        game.playerColors[0] = static_cast<std::int32_t>(color);
        game.playerNames[0] = game.playerName;
    }
}

void RetireLocalPlayer(Entity* level) {
    Entity* player = level->GetMyObject("Player_0");
    if (!ObjectData::Player::IsPlayer(player)) return;
    std::erase(Vars(level).ObjectList, static_cast<Object*>(player));
    player->SetName("OldPlayer");
    player->_Delete();
}

void LogServerConnected() { std::fputs("\n * Connections with server completes! \n", stderr); }

void SpawnSky() {
    LevelTemplate::Spawn("guiImage", "guiImage");
    Backdrop(2.0f, 0.95f, 300.0f, 0.8f, 0xFF2E2E2Eu, false);
    Backdrop(1.0f, 0.75f, 100.0f, 0.9f, 0xFF5C5C5Cu, false);
    Backdrop(0.0f, 0.0f, 0.0f, 1.0f, 0u, true);
    if (Object* background = LevelTemplate::Spawn("Background"))
        LevelTemplate::SetIfPresent<const char*>(background, enum_texture, "nightSky");
}

// Leaving the level ends the pause, whatever the menu's state.
void Unload(Entity*, Entity*) {
    GamePaused = false;
    soundEngine.SetPaused(false);
}

void OpenPauseMenu(Entity* level) {
    Variables& v = Vars(level);
    GamePaused = true;
    v.Paused = true;
    soundEngine.SetPaused(true);
    State* state = level->_state;
    LevelTemplate::SpawnIn(state, "MMCursor", "Cursor");
    LevelTemplate::SpawnIn(state, "PauseMenuResumeButton", "ResButton");
    LevelTemplate::SpawnIn(state, "PauseMenuReturnMainMenu", "MainMButton");
    LevelTemplate::SpawnIn(state, "PauseMenuHowToPlay", "HTOPButton");
    if (state != nullptr && !controls.networkGame()) HoldWorld(state);
}

void ClosePauseMenu(Entity* level) {
    Variables& v = Vars(level);
    GamePaused = false;
    v.Paused = false;
    soundEngine.SetPaused(false);
    for (const char* name : {"ResButton", "MainMButton", "HTOPButton", "Cursor"})
        if (Entity* item = level->GetMyObject(name)) item->_Delete();
    if (level->_state != nullptr) ReleaseWorld(level->_state);
}

// Enter both selects and pauses: while the menu is open only a new press of
// the other pause controls or of back closes it, so the Enter meant for the
// focused button never closes the menu first.
void PauseRule(Entity* self, Entity*) { PauseStep(self, controls.back()); }

void PauseStep(Entity* self, bool back) {
    Variables& v = Vars(self);
    const bool pause = controls.pause();
    const bool close = controls.menuPause();
    if (v.Paused) {
        const bool press = (close && !v.closePressed) || (back && !v.backPressed);
        if (press && self->GetMyObject("HTPImage") == nullptr) ClosePauseMenu(self);
    } else if (pause && !v.pausePressed) {
        OpenPauseMenu(self);
    }
    v.pausePressed = pause;
    v.backPressed = back;
    v.closePressed = close;
}

}  // namespace PlayLevel
