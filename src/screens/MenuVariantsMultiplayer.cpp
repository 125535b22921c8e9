// The variants of the match screens (the lobby, the match set-up and the
// figure's customising): the network actions, the networked cursor, the
// preview figure and its plate.
#include "screens/MenuVariantSteps.h"

#include <cstdint>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "framework/Object.h"
#include "networking/LevelTransfer.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Mouse.h"
#include "screens/NetworkActions.h"
#include "widgets/Cursor.h"

namespace MenuVariants {

namespace {

void GoToBackToWhere(Entity* self, Entity*) { State::SetLevel(self->_state, GameVars().backToWhere); }
void FadeToBackToWhere(Entity* self, Entity*) { FadeThen(self, &GoToBackToWhere); }

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

void BindPreview(Object* o) { BindEngine(o, "Behavior", &PreviewBehavior); }
void BindPlate(Object* o) { BindEngine(o, "GraphicsDraw", &PlateDraw); }
void BindNetCursor(Object* o) {
    BindEvent(o, "OwnedBehavior", &NetCursorOwned);
    BindEvent(o, "UnOwnedBehavior", Event());
    BindEvent(o, "SetBehavior", &NetCursorSetBehavior);
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
void BindBackToWhere(Object* o) { BindEvent(o, "Logic", &FadeToBackToWhere); }

void PreviewExtra(Object* o) {
    LevelTemplate::SetIfPresent<std::int32_t>(o, enum_wallJump, 0);
    StillFigure(o);
}

constexpr Variant kVariants[] = {
    {"customGame", "TextButton", true, P(-0.7f, -0.03f), S(0.35f, 0.07f), "baseButton", "#0x444434#Custom Game",
     &BindFade<kMakeGame>, nullptr},
    {"DisplayCharacter", "Player", true, P(0.6f, 0.2f, -0.8f), S(0.4f, 0.4f), nullptr, nullptr, &BindPreview,
     &PreviewExtra},
    {"DisplayCharacterBack", "Graphic", true, P(-0.7f, -0.32f, -1.0f), S(0.3f, 0.3f), "baseButton", nullptr, &BindPlate,
     nullptr},
    {"hostGame", "Button", true, P(-0.6f, 0.3f), S(0.3f, 0.1f), "hostGameButton", nullptr, &BindFade<kMakeGame>,
     nullptr},
    {"joinGame", "Button", true, P(0.6f, -0.4f), S(0.3f, 0.1f), "joinGameButton", nullptr, &BindJoinGame, nullptr},
    {"NetCursor", "Cursor", false, kNowhere, S(0.05f, 0.05f), "Cursor A", nullptr, &BindNetCursor, nullptr},
    {"Quickstart", "TextButton", true, P(-0.7f, 0.04f), S(0.35f, 0.07f), "baseButton", "#0x444434#Quickstart",
     &BindQuickstart, nullptr},
    {"StartServer", "TextButton", true, P(0.65f, -0.4f), S(0.4f, 0.1f), "baseButton", "#0x444434#Start Game",
     &BindStartServer, nullptr},
    {"toCustomize", "TextButton", true, P(-0.7f, -0.43f), S(0.28f, 0.06f), "baseButton", "#0x444434#Customize",
     &BindFade<kCustomize>, nullptr},
    {"toWherever", "TextButton", true, P(0.7f, -0.4f), S(0.35f, 0.07f), "baseButton", "#0x444434#Back",
     &BindBackToWhere, nullptr},
};

constexpr auto kRows = RowsOf<kVariants>();

}  // namespace

std::span<const ExObjectEntry> MultiplayerRows() { return kRows; }

}  // namespace MenuVariants
