#include "screens/MenuVariants.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "framework/LevelTemplate.h"
#include "framework/Object.h"
#include "framework/Progress.h"
#include "framework/State.h"
#include "networking/LevelTransfer.h"
#include "networking/Match.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Input.h"
#include "platform/input/Mouse.h"
#include "platform/input/WiiRemote.h"
#include "platform/window/WebPage.h"
#include "screens/NetworkActions.h"
#include "screens/PlayLevel.h"
#include "screens/SinglePlayer.h"
#include "widgets/Cursor.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace MenuVariants {

const char* const kFirstPageAddress = "https://example.org/glimmerfall/friends";
const char* const kSecondPageAddress = "https://example.org/glimmerfall/news";

namespace {

void OpenPage(const char* address) { OpenWebPage(address); }
bool RemoteConnected() { return WiiRemote.Connected(); }
bool ClosePressed() { return inputEngine.MenuPauseButtonPressed() || inputEngine.BackButtonPressed(); }

constexpr Hooks kDefaults{&OpenPage, &RemoteConnected, &ClosePressed};

// ---- going to other screens ----

constexpr char kMakeGame[] = "MakeGame";
constexpr char kCustomize[] = "Customize";
constexpr char kHalvernSplash[] = "HalvernSplash";
constexpr char kHowToPlay[] = "HowToPlayScreen";
constexpr char kMainMenu[] = "MainMenu";
constexpr char kCredits[] = "Credits";
constexpr char kLevelEditor[] = "LevelEditor";
constexpr char kLobby[] = "Lobby";
constexpr char kOptions[] = "Options";
constexpr char kQuitConfirm[] = "QuitConfirm";
constexpr char kSinglePlayerMenu[] = "SinglePlayerMenu";
constexpr char kQuit[] = "Quit";

template <const char* Target>
void GoTo(Entity* self, Entity*) {
    State::SetLevel(self->_state, Target);
}

void GoToBackToWhere(Entity* self, Entity*) { State::SetLevel(self->_state, GameVars().backToWhere); }

// The fade starts (a fade out already under way goes on) and its end, raised
// on every frame once the screen is black, switches to the target.
void FadeThen(Entity* self, Event follow) {
    self->CallEvent("StartFadingOut");
    self->SetEvent("FadedOut", follow);
}

template <const char* Target>
void FadeTo(Entity* self, Entity*) {
    FadeThen(self, &GoTo<Target>);
}

void FadeToBackToWhere(Entity* self, Entity*) { FadeThen(self, &GoToBackToWhere); }

// ---- handlers ----

void BindEvent(Object* o, const char* name, Event handler) { o->AddEvent(name, handler); }
void BindEngine(Object* o, const char* name, Event handler) {
    o->AddEvent(name, handler);
    o->AddToEngine(name, handler);
}

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

void SuperBehavior(Entity* self, Entity*) { Entity::_DoEvent("Super.Behavior", self, self); }

// ---- settings toggles ----

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

// ---- social pages ----

void OpenFirstPage(Entity*, Entity*) { hooks.openPage(kFirstPageAddress); }
void OpenSecondPage(Entity*, Entity*) { hooks.openPage(kSecondPageAddress); }

// The badge, dimmed at rest and a little larger in the button's colour under
// the pointer.
void SocialDraw(Entity* self, Entity*) {
    const auto* position = FindVariable<D3DXVECTOR3>(self, enum_position);
    const auto* size = FindVariable<D3DXVECTOR2>(self, enum_size);
    const auto* texture = FindVariable<const char*>(self, enum_texture);
    const auto* hover = FindVariable<bool>(self, enum_hover);
    const auto* color = FindVariable<std::uint32_t>(self, enum_color);
    if (!position || !size || !texture || !hover || !color) return;
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    gameplayHooks.camera(cx, cy, s);
    const float k = *hover ? 1.1f : 1.0f;
    gameplayHooks.addFrame(position->x / s + cx, position->y / s + cy, position->z + (*hover ? 1.0f : 0.0f),
                           k * size->x / s, k * size->y / s, 0.0f, *texture, *hover ? *color : 0x9BFFFFFFu);
}

// ---- cursors ----

void MoonCursorDraw(Entity* self, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    auto& v = VariablesOf<ObjectData::Cursor::Variables>(self);
    if (buffer == nullptr) return;
    buffer->tileTexture[13] = FindTiledTexture("moon");
    buffer->tileTechnique[13] = "TechniqueTileColor2D";
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    Widgets::Camera(cx, cy, s);
    const float H = Widgets::WindowHeight();
    const float w = v.size.x / H, h = v.size.y / H, r = v.rotation;
    const float x = (v.position.x + std::cos(r) * w * 0.5f) / s + cx;
    const float y = (v.position.y + std::sin(r) * h * 0.5f) / s + cy;
    const Frame& frame = FrameMap(v.texture != nullptr ? v.texture : "", 0, 0);
    buffer->AddFrame(x, y, v.position.z, w / s, h / s, r + 1.570795f, frame, static_cast<int>(0xFFFFFFFFu));
    if (!v.visible) return;
    const int halo = static_cast<int>(ObjectData::Cursor::Tint(v.moonPhase));
    buffer->AddTile(13, x, y, v.position.z, 0.9f * w / s, 0.9f * h / s, r + 1.570795f, frame, halo);
    for (int i = 0; i < ObjectData::Cursor::kShards; ++i) {
        if (v.shardSize[i].x <= 0.0f && v.shardSize[i].y <= 0.0f) continue;  // nothing to see
        buffer->AddFrame(v.shardPosition[i].x / s + cx, v.shardPosition[i].y / s + cy, v.position.z + 0.075f,
                         v.shardSize[i].x / H / s, v.shardSize[i].y / H / s, v.shardRotation[i], frame, halo);
    }
}

void NetCursorOwned(Entity* self, Entity*) {
    auto& v = VariablesOf<ObjectData::Cursor::Variables>(self);
    graphicsEngine.ScreenToGame(Mouse.GetScreenX(), Mouse.GetScreenY(), v.position.x, v.position.y);
    UpdateNetObj(self);
}
void NetCursorSetBehavior(Entity* self, Entity*) {
    const auto& v = VariablesOf<ObjectData::Cursor::Variables>(self);
    self->SetEvent("Behavior", v.ownerID == gameplayHooks.clientId() ? self->GetEvent("OwnedBehavior") : Event());
}

// ---- preview characters ----

// A figure for show: no name label over it, whatever screen it stands on.
void StillFigure(Object* o) {
    if (!ObjectData::Player::IsPlayer(o)) return;
    ObjectData::Player::DropNetworking(o);
}

void PreviewBehavior(Entity* self, Entity*) {
    auto& v = ObjectData::Player::Vars(self);
    const GameData::TheGame::GameVariables& game = GameVars();
    // Opaque, as the player's own colour is.
    v.playerColor =
        0xFF000000u | static_cast<std::uint32_t>(game.playerRed * 65536 + game.playerGreen * 256 + game.playerBlue);
    v.facingRight += 0.01f;
    v.leftFootSize = {0.24f, 0.16f};
    v.rightFootSize = {0.24f, 0.16f};
    if (--v.wallJump < 0) {
        v.velocity.x = static_cast<float>(std::rand() % 1024) / 1024.0f * 0.14f - 0.07f;
        v.wallJump = std::rand() % 180 + 120;
    }
}

void PlateDraw(Entity* self, Entity*) {
    const auto* position = FindVariable<D3DXVECTOR3>(self, enum_position);
    const auto* size = FindVariable<D3DXVECTOR2>(self, enum_size);
    const auto* texture = FindVariable<const char*>(self, enum_texture);
    if (!position || !size || !texture) return;
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    gameplayHooks.camera(cx, cy, s);
    gameplayHooks.addFrame(position->x / s + cx, position->y / s + cy, position->z, size->x / s, size->y / s, 0.0f,
                           *texture, 0x66FFFFFFu);
}

// ---- the pause menu ----

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

// ---- the variants ----

// One variant: its look (what is not set is marked by a negative size or a
// null picture), then its own handlers (step 1) and any further variables
// (step 5).
struct Variant {
    const char* name;
    const char* base;
    bool place;
    D3DXVECTOR3 position;
    D3DXVECTOR2 size;
    const char* texture;
    const char* label;
    void (*bind)(Object*);
    void (*extra)(Object*);
};

template <const char* Target>
void BindFade(Object* o) {
    BindEvent(o, "Logic", &FadeTo<Target>);
}

void BindContinue(Object* o) {
    BindEvent(o, "Logic", &FadeTo<kMainMenu>);
    BindEngine(o, "Behavior", &ContinueBehavior);
    BindEvent(o, "Unload", &ContinueUnload);
}
void BindPreview(Object* o) { BindEngine(o, "Behavior", &PreviewBehavior); }
void BindPlate(Object* o) { BindEngine(o, "GraphicsDraw", &PlateDraw); }
void BindDecline(Object* o) { BindEvent(o, "Logic", &GoTo<kQuit>); }
void BindFirstPage(Object* o) {
    BindEvent(o, "Logic", &OpenFirstPage);
    BindEngine(o, "GraphicsDraw", &SocialDraw);
}
void BindSecondPage(Object* o) {
    BindEvent(o, "Logic", &OpenSecondPage);
    BindEngine(o, "GraphicsDraw", &SocialDraw);
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
void BindMoonCursor(Object* o) { BindEngine(o, "GraphicsDraw", &MoonCursorDraw); }
void BindNetCursor(Object* o) {
    BindEvent(o, "OwnedBehavior", &NetCursorOwned);
    BindEvent(o, "UnOwnedBehavior", Event());
    BindEvent(o, "SetBehavior", &NetCursorSetBehavior);
}
void BindStill(Object* o) { BindEngine(o, "Behavior", Event()); }
void BindResume(Object* o) { BindEvent(o, "Logic", &Resume); }
void BindHowToPlay(Object* o) { BindEvent(o, "Logic", &ShowHowToPlay); }
void BindLeave(Object* o) {
    BindEvent(o, "Logic", &AskBeforeLeaving);
    BindEvent(o, "Logic2", &FadeThenLeave);
}
void BindQuitButton(Object* o) {
    BindEvent(o, "Logic", &FadeTo<kQuit>);
    BindEngine(o, "Behavior", &SuperBehavior);
}
void BindAskAgain(Object* o) {
    BindEvent(o, "Logic", &AskAgain);
    BindEvent(o, "Logic2", &FadeTo<kMainMenu>);
}
void BindQuickstart(Object* o) { BindEvent(o, "Logic", &NetworkActions::Quickstart); }
void BindStartServer(Object* o) {
    BindEvent(o, "Logic", &NetworkActions::StartServer);
    BindEngine(o, "Behavior", &NetworkActions::StartServerBehavior);
}
void BindJoinGame(Object* o) {
    BindEvent(o, "Logic", &NetworkActions::JoinGame);
    BindEngine(o, "Behavior", &NetworkActions::JoinGameBehavior);
}
void BindSinglePlayer(Object* o) { BindEvent(o, "Logic", &FadeTo<kSinglePlayerMenu>); }
void BindBackToWhere(Object* o) { BindEvent(o, "Logic", &FadeToBackToWhere); }

void PreviewExtra(Object* o) {
    LevelTemplate::SetIfPresent<std::int32_t>(o, enum_wallJump, 0);
    StillFigure(o);
}
void LeaveLabel(Object* o) { SetLabel(o, LeavesToEditor(o) ? "#0x444434#Level Editor" : "#0x444434#Main Menu"); }

constexpr D3DXVECTOR3 P(float x, float y, float z = 0.0f) { return {x, y, z}; }
constexpr D3DXVECTOR2 S(float w, float h) { return {w, h}; }
constexpr D3DXVECTOR3 kNowhere{0.0f, 0.0f, 0.0f};
constexpr D3DXVECTOR2 kNoSize{-1.0f, -1.0f};
constexpr float kWide = 0.39133334f, kTall = 0.08533334f;

// Sorted by name without regard to case, as the registry files them.
constexpr Variant kVariants[] = {
    {"CancelButton", "Button", true, P(0.2f, -0.15f), S(0.3f, 0.1f), "cancelButton", nullptr, nullptr, nullptr},
    {"ContinuePlaying", "Button", true, P(0.3f, -0.15f), S(kWide, kTall), "continuePlayingButton", nullptr,
     &BindContinue, nullptr},
    {"counterToggleButton", "Button", true, P(0.7f, -0.22f), S(0.3f, 0.1f), "counterToggleOnButton", nullptr,
     &BindCounter, nullptr},
    {"customGame", "TextButton", true, P(-0.7f, -0.03f), S(0.35f, 0.07f), "baseButton", "#0x444434#Custom Game",
     &BindFade<kMakeGame>, nullptr},
    {"CustomizeButton", "Button", true, P(-0.35f, -0.22f), S(0.3f, 0.1f), "customizeButton", nullptr,
     &BindFade<kCustomize>, nullptr},
    {"DisplayCharacter", "Player", true, P(0.6f, 0.2f, -0.8f), S(0.4f, 0.4f), nullptr, nullptr, &BindPreview,
     &PreviewExtra},
    {"DisplayCharacterBack", "Graphic", true, P(-0.7f, -0.32f, -1.0f), S(0.3f, 0.3f), "baseButton", nullptr, &BindPlate,
     nullptr},
    {"EULAACCEPT", "Button", true, P(0.45f, -0.4f), S(0.3f, 0.1f), "EULA ACCEPT", nullptr, &BindFade<kHalvernSplash>,
     nullptr},
    {"EULADECLINE", "Button", true, P(-0.45f, -0.4f), S(0.3f, 0.1f), "EULA DECLINE", nullptr, &BindDecline, nullptr},
    {"extendedButton", "TextButton", true, P(-0.6f, -0.35f), S(kWide, kTall), "optionsButton", "", &BindFade<kOptions>,
     nullptr},
    {"Facebook", "Button", true, P(0.75f, -0.3f), S(0.24f, 0.0735f), "facebook", nullptr, &BindFirstPage, nullptr},
    {"FullScreenButton", "Button", true, P(0.0f, -0.22f), S(0.3f, 0.1f), "fullscreenButton", nullptr, &BindFullScreen,
     nullptr},
    {"hostGame", "Button", true, P(-0.6f, 0.3f), S(0.3f, 0.1f), "hostGameButton", nullptr, &BindFade<kMakeGame>,
     nullptr},
    {"Instructions", "Button", true, P(-0.6f, -0.15f), S(kWide, kTall), "howToPlayButton", nullptr,
     &BindFade<kHowToPlay>, nullptr},
    {"joinGame", "Button", true, P(0.6f, -0.4f), S(0.3f, 0.1f), "joinGameButton", nullptr, &BindJoinGame, nullptr},
    {"MMCursor", "Cursor", false, kNowhere, S(40.0f, 40.0f), "moonShard", nullptr, &BindMoonCursor, nullptr},
    {"MMSuperCursor", "MMCursor", false, kNowhere, S(80.0f, 80.0f), nullptr, nullptr, nullptr, nullptr},
    {"NetCursor", "Cursor", false, kNowhere, S(0.05f, 0.05f), "Cursor A", nullptr, &BindNetCursor, nullptr},
    {"OpenButton", "Button", true, P(0.2f, -0.15f), S(0.3f, 0.1f), "openButton", nullptr, nullptr, nullptr},
    {"PauseMenuHowToPlay", "TextButton", true, P(0.0f, 0.0f, 100.0f), S(0.4f, kTall), "baseButton",
     "#0x444434#How To Play", &BindHowToPlay, nullptr},
    {"PauseMenuResumeButton", "TextButton", true, P(0.0f, 0.3f, 100.0f), S(0.4f, kTall), "baseButton",
     "#0x444434#Resume", &BindResume, nullptr},
    {"PauseMenuReturnMainMenu", "TextButton", true, P(0.0f, -0.3f, 100.0f), S(0.4f, kTall), "baseButton", nullptr,
     &BindLeave, &LeaveLabel},
    {"Quickstart", "TextButton", true, P(-0.7f, 0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Quickstart",
     &BindQuickstart, nullptr},
    {"Quit", "Button", true, P(-0.6f, -0.45f), S(kWide, kTall), "QuitButton", nullptr, &BindFade<kQuitConfirm>,
     nullptr},
    {"QuitButton", "Button", true, P(-0.3f, -0.15f), S(kWide, kTall), "quitButton", nullptr, &BindQuitButton, nullptr},
    {"quitToMainMenu", "TextButton", true, P(-0.7f, -0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Main Menu",
     &BindAskAgain, nullptr},
    {"resolutionToggleButton", "Button", true, P(-0.35f, -0.4f), S(0.3f, 0.1f), "resolutionAutoButton", nullptr,
     &BindResolution, nullptr},
    {"ReturnToPause", "Button", true, P(0.0f, 0.0f), S(0.3f, 0.1f), "backButton", nullptr, &BindStill, nullptr},
    {"rummbleToggleButton", "Button", true, P(0.0f, -0.4f), S(0.3f, 0.1f), "rummbleToggleOnButton", nullptr,
     &BindRumble, nullptr},
    {"StartGame", "Button", true, P(-0.6f, 0.05f), S(kWide, kTall), "newGameButton", nullptr, &BindFade<kLobby>,
     nullptr},
    {"StartServer", "TextButton", true, P(0.65f, -0.4f), S(0.4f, 0.1f), "baseButton", "#0x444434#Start Game",
     &BindStartServer, nullptr},
    {"TestSoundButton", "Button", true, P(-0.6f, -0.05f), S(0.3f, 0.1f), "continueButton", nullptr, &BindStill,
     nullptr},
    {"TitleCharacter", "Player", true, P(0.6f, 0.2f, -0.8f), S(1.0f, 1.0f), nullptr, nullptr, &BindStill, &StillFigure},
    {"toCredits", "TextButton", true, P(-0.7f, -0.11f), S(0.35f, 0.07f), "baseButton", "#0x444434#Credits",
     &BindFade<kCredits>, nullptr},
    {"toCustomize", "TextButton", true, P(-0.7f, -0.43f), S(0.28f, 0.06f), "baseButton", "#0x444434#Customize",
     &BindFade<kCustomize>, nullptr},
    {"toInstructions", "TextButton", true, P(-0.7f, -0.18f), S(0.35f, 0.07f), "baseButton", "#0x444434#How To Play",
     &BindFade<kHowToPlay>, nullptr},
    {"toLvEditor", "TextButton", true, P(-0.7f, -0.25f), S(0.35f, 0.07f), "baseButton", "#0x444434#Level Editor",
     &BindFade<kLevelEditor>, nullptr},
    {"toMMenu", "TextButton", true, P(0.7f, -0.4f), S(0.35f, 0.07f), "baseButton", "#0x444434#Main Menu",
     &BindFade<kMainMenu>, nullptr},
    {"toMultiplayer", "TextButton", true, P(-0.7f, -0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Multiplayer",
     &BindFade<kLobby>, nullptr},
    {"toOptions", "TextButton", true, P(-0.7f, -0.32f), S(0.35f, 0.07f), "baseButton", "#0x444434#Options",
     &BindFade<kOptions>, nullptr},
    {"toQuit", "TextButton", true, P(-0.7f, -0.39f), S(0.35f, 0.07f), "baseButton", "#0x444434#Quit",
     &BindFade<kQuitConfirm>, nullptr},
    {"toSingleplayer", "TextButton", true, P(-0.7f, 0.03f), S(0.35f, 0.07f), "baseButton", "#0x444434#Singleplayer",
     &BindSinglePlayer, nullptr},
    {"toWherever", "TextButton", true, P(0.7f, -0.4f), S(0.35f, 0.07f), "baseButton", "#0x444434#Back",
     &BindBackToWhere, nullptr},
    {"Twitter", "Button", true, P(0.75f, -0.4f), S(0.24f, 0.0835f), "twitter", nullptr, &BindSecondPage, nullptr},
    {"wiiToggleButton", "Button", true, P(0.35f, -0.22f), S(0.3f, 0.1f), "wiiToggleOnButton", nullptr, &BindWii,
     nullptr},
    {"xboxToggleButton", "Button", true, P(0.35f, -0.4f), S(0.3f, 0.1f), "xBoxToggleOnButton", nullptr, &BindXbox,
     nullptr},
};
constexpr std::size_t kCount = sizeof(kVariants) / sizeof(kVariants[0]);

// The differences function of variant I, in the order every variant keeps:
// handlers, place and size, picture, label, other variables.
template <std::size_t I>
void Differences(Object* o) {
    const Variant& v = kVariants[I];
    if (v.bind != nullptr) v.bind(o);
    if (v.place) LevelTemplate::SetIfPresent(o, enum_position, v.position);
    if (v.size.x >= 0.0f) LevelTemplate::SetIfPresent(o, enum_size, v.size);
    if (v.texture != nullptr) SetTexture(o, v.texture);
    if (v.label != nullptr) SetLabel(o, v.label);  // NOLINT(bugprone-string-constructor): tested just before
    if (v.extra != nullptr) v.extra(o);
}

template <std::size_t... I>
constexpr std::array<ExObjectEntry, kCount> MakeRows(std::index_sequence<I...>) {
    return {ExObjectEntry{kVariants[I].name, kVariants[I].base, &Differences<I>}...};
}

// Constant-initialised: the program reads the rows before main.
constexpr std::array<ExObjectEntry, kCount> kRows = MakeRows(std::make_index_sequence<kCount>{});

// The fade-then-go variants and their targets.
const std::unordered_map<std::string, std::string>& Targets() {
    static const std::unordered_map<std::string, std::string> targets = {
        {"ContinuePlaying", kMainMenu}, {"customGame", kMakeGame},    {"CustomizeButton", kCustomize},
        {"EULAACCEPT", kHalvernSplash}, {"extendedButton", kOptions}, {"hostGame", kMakeGame},
        {"Instructions", kHowToPlay},   {"Quit", kQuitConfirm},       {"StartGame", kLobby},
        {"toCredits", kCredits},        {"toCustomize", kCustomize},  {"toInstructions", kHowToPlay},
        {"toLvEditor", kLevelEditor},   {"toMMenu", kMainMenu},       {"toMultiplayer", kLobby},
        {"toOptions", kOptions},        {"toQuit", kQuitConfirm},     {"toSingleplayer", kSinglePlayerMenu},
        {"quitToMainMenu", kMainMenu},
    };
    return targets;
}

}  // namespace

Hooks hooks = kDefaults;
void ResetHooks() { hooks = kDefaults; }

std::span<const ExObjectEntry> Rows() { return kRows; }

std::string FadeTarget(const std::string& variant) {
    auto found = Targets().find(variant);
    return found != Targets().end() ? found->second : std::string();
}

Object* SpawnButton(const std::string& type, const std::string& name) {
    const std::string target = FadeTarget(type);
    if (!target.empty() && !Level::_IsRegistered(target)) return nullptr;
    return LevelTemplate::Spawn(type, name);
}

void SetLabel(Entity* button, const std::string& text) {
    Object** label = FindVariable<Object*>(button, enum_textObj);
    if (label == nullptr) return;
    if (ObjectData::Text::Variables* t = ObjectData::Text::Find(*label)) t->text = text;
}

std::string Label(Entity* button) {
    Object** label = FindVariable<Object*>(button, enum_textObj);
    ObjectData::Text::Variables* t = label != nullptr ? ObjectData::Text::Find(*label) : nullptr;
    return t != nullptr ? t->text : std::string();
}

void PrepareBuiltInOrder() {
    for (std::int32_t& score : GameVars().playerScores) score = 0;
    CurrentLevelIndex = 0;
    LevelOrder.clear();
    LevelOrderNumbers.clear();
    for (std::size_t i = 0; i < BuiltInLevelNames.size(); ++i) {
        LevelOrder.emplace_back(BuiltInLevelNames[i]);
        LevelOrderNumbers.push_back(static_cast<int>(i));
    }
}

}  // namespace MenuVariants
