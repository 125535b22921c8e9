#include "screens/Lobby.h"

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "screens/MenuVariants.h"
#include "screens/ScreenSteps.h"
#include "screens/ServerMenu.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::Lobby {

namespace {

VariableOffsetTable table;

void Spawn() {
    MenuScreen::TakeNetworkingUpdate();
    LevelTemplate::Spawn("MMCursor", "Cursor");
    MenuVariants::SpawnButton("Quickstart");
    MenuVariants::SpawnButton("customGame");
    MenuVariants::SpawnButton("toMMenu", "mainMenuButton");
    MenuVariants::SpawnButton("toCustomize");
    MenuVariants::SpawnButton("joinGame");
    LevelTemplate::Spawn("ServerMenu", "ServerMenu");
    LevelTemplate::Spawn("DisplayCharacter", "character");
    LevelTemplate::Spawn("DisplayCharacterBack");
    LevelTemplate::Spawn("TextMsg", "NetError");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("MenuStars");
}

// The lobby goes on listing games after a lost connection (the loss ended
// the search too), so the player can pick again.
void LostWhileListing() {
    ServerLost();
    EngineData::NetworkingUpdate::Target().FindServers();
}

void Build(Entity* self, Entity*) {
    GameData::TheGame::GameVariables& game = GameVars();
    MenuScreen::Backdrop("BACK Main Menu");
    game.backToWhere = "Lobby";

    Networking::NetEngine& net = EngineData::NetworkingUpdate::Target();
    net.Disconnect();
    net.FindServers();
    net.SetOnServerConnectCallBack(&ServerConnected);
    net.SetOnKillServerCallBack(&LostWhileListing);
    // Another screen's client call-backs would act on this one: a quick game
    // hosted from here prepares no clients of its own.
    net.SetOnNewClientCallBack(nullptr);
    net.SetOnKillClientCallBack(nullptr);

    if (Entity* back = self->GetMyObject("mainMenuButton")) back->SetPosition(D3DXVECTOR3{-0.7f, -0.1f, 0.0f});
    MenuScreen::FadeIn(self);
    if (Entity* list = self->GetMyObject("ServerMenu")) {
        if (auto* v = ObjectData::ServerMenu::Find(list)) v->stencilNames.emplace_back("Dummy Server");
        Entity::_DoEvent("Init", self, list);
    }
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
    if (Entity* character = self->GetMyObject("character")) {
        LevelTemplate::SetIfPresent(character, enum_size, D3DXVECTOR2{0.15f, 0.15f});
        LevelTemplate::SetIfPresent(character, enum_position, D3DXVECTOR3{-0.7f, -0.32f, -0.8f});
    }
    const std::uint32_t colour = 0xFF000000u | (static_cast<std::uint32_t>(game.playerRed) & 0xFFu) << 16 |
                                 (static_cast<std::uint32_t>(game.playerGreen) & 0xFFu) << 8 |
                                 (static_cast<std::uint32_t>(game.playerBlue) & 0xFFu);
    Caption(game.playerName, -0.7f, -0.21f, 0.08f, 1, colour);
    Caption("Multiplayer", -0.35f, 0.4f, 0.15f, 0, 0xFFBBBBBBu);
}

}  // namespace

void ServerConnected() {
    CurrentLevelIndex = -1;
    if (State::_currentState != nullptr) State::SetLevel(State::_currentState, "LoadingLevel");
}

void ServerLost() {
    Entity::_CallEvent("KillUnowned");
    MenuScreen::ShowNetError(State::_currentState, "Connection dropped.");
}

Object* Caption(const std::string& text, float x, float y, float charHeight, std::int32_t hAlign,
                std::uint32_t colour) {
    ScreenSteps::LabelSetup setup;
    setup.text = text;
    setup.x = x;
    setup.y = y;
    setup.charHeight = charHeight;
    setup.hAlign = hAlign;
    setup.vAlign = 1;
    setup.setVAlign = true;
    setup.primaryColor = colour;
    setup.setColor = true;
    Object* label = ScreenSteps::Label(setup);
    if (label != nullptr) Widgets::RaiseOwn(label, "CalcText", label);
    return label;
}

Level* _Init() {
    return MenuScreen::RegisterWithSky("Lobby", table, &MenuScreen::Copy<Variables, &Spawn>, Event(), &Build,
                                       &ScreenSteps::BackStep);
}

}  // namespace LevelData::Lobby
