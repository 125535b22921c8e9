#include "screens/MakeGame.h"

#include "framework/Fatal.h"
#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/GameLink.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "screens/Lobby.h"
#include "screens/MenuVariants.h"
#include "screens/ScreenSteps.h"
#include "widgets/PointSlider.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace LevelData::MakeGame {

namespace {

VariableOffsetTable table;

constexpr std::uint32_t kLabelColour = 0xFFBBBBBBu;

void Spawn() {
    MenuScreen::TakeNetworkingUpdate();
    LevelTemplate::Spawn("MMCursor", "Cursor");
    MenuVariants::SpawnButton("StartServer");
    MenuVariants::SpawnButton("toMMenu", "mainMenuButton");
    MenuVariants::SpawnButton("toCustomize");
    LevelTemplate::Spawn("DisplayCharacter", "character");
    LevelTemplate::Spawn("DisplayCharacterBack");
    LevelTemplate::Spawn("TextMsg", "NetError");
    LevelTemplate::Spawn("SingleLineTextBox", "serverName");
    LevelTemplate::Spawn("Transition");
    LevelTemplate::Spawn("MenuStars");
}

void ClientLost(char) { MenuScreen::ShowNetError(State::_currentState, "Client dropped."); }

void ServerConnected() {
    DebugOutput("\n * Connections with server completes! \n");
    if (State::_currentState != nullptr) State::SetLevel(State::_currentState, "LoadingLevel");
}

struct PointValue {
    const char* label;
    float y;
    std::int32_t GameData::TheGame::GameVariables::*value;
};
const PointValue kPointValues[] = {
    {"Level End: ", -0.06f, &GameData::TheGame::GameVariables::SCORE_GOAL},
    {"Checkpoints: ", -0.12f, &GameData::TheGame::GameVariables::SCORE_CHECKPOINT},
    {"Moonshards: ", -0.18f, &GameData::TheGame::GameVariables::SCORE_MOONSHARD},
    {"Fireflies: ", -0.24f, &GameData::TheGame::GameVariables::SCORE_FIREFLY},
    {"Death: ", -0.30f, &GameData::TheGame::GameVariables::SCORE_KILL},
};

void Build(Entity* self, Entity*) {
    GameData::TheGame::GameVariables& game = GameVars();
    game.backToWhere = "MakeGame";

    Networking::NetEngine& net = EngineData::NetworkingUpdate::Target();
    net.Disconnect();
    net.SetOnNewClientCallBack(&PrepareNewClient);
    net.SetOnKillClientCallBack(&ClientLost);
    net.SetOnServerConnectCallBack(&ServerConnected);
    net.SetOnKillServerCallBack(&Lobby::ServerLost);

    if (Entity* back = self->GetMyObject("mainMenuButton")) back->SetPosition(D3DXVECTOR3{-0.7f, -0.1f, 0.0f});
    MenuScreen::FadeIn(self);
    if (Entity* box = self->GetMyObject("serverName")) {
        box->SetPosition(-0.7f, 0.2f);
        if (auto* size = FindVariable<D3DXVECTOR2>(box, enum_size)) size->x = 0.35f;
    }
    if (Entity* character = self->GetMyObject("character")) {
        LevelTemplate::SetIfPresent(character, enum_size, D3DXVECTOR2{0.15f, 0.15f});
        LevelTemplate::SetIfPresent(character, enum_position, D3DXVECTOR3{-0.7f, -0.32f, -0.8f});
    }

    ScreenSteps::LabelSetup name;
    name.text = "Game Name:";
    name.x = -0.7f;
    name.y = 0.27f;
    name.z = 0.0f;
    name.setZ = true;
    name.width = 0.35f;
    name.charHeight = 0.072f;
    name.vAlign = 1;
    name.setVAlign = true;
    name.primaryColor = kLabelColour;
    name.setColor = true;
    ScreenSteps::Label(name);
    Lobby::Caption("Custom Game", -0.38f, 0.423f, 0.15f, 0, kLabelColour);
    Lobby::Caption(game.playerName, -0.7f, -0.21f, 0.08f, 1, kLabelColour);
    Lobby::Caption("Point Values:", -0.2f, 0.05f, 0.08f, 1, kLabelColour);
    Lobby::Caption("Available Maps:", 0.1f, 0.4f, 0.08f, 1, kLabelColour);
    Lobby::Caption("Game Order", 0.6f, 0.4f, 0.08f, 1, kLabelColour);

    for (const PointValue& point : kPointValues) {
        Object* slider = LevelTemplate::Spawn("PointSlider");
        ObjectData::PointSlider::Variables* v = ObjectData::PointSlider::Find(slider);
        if (v == nullptr) continue;
        v->name = point.label;
        v->position.x = 0.4f;
        v->position.y = point.y;
        v->min = 0.0f;
        v->max = 100.0f;
        v->pValue = &(game.*point.value);
        Entity::_DoEvent("Init", self, slider);
    }
    if (Object* picker = LevelTemplate::Spawn("CustomLevelSelector", "CustomSelect"))
        Entity::_DoEvent("Init", self, picker);
    VariablesOf<Variables>(self).background2 = MenuScreen::Backdrop("nightSky", true, -1.0f);
}

void Update(Entity* self, Entity* other) {
    ScreenSteps::BackStep(self, other);
    // The box takes no more than a server's announcement carries, so
    // clients see the name as it was typed.
    auto* box = ObjectData::SingleLineTextBox::Find(self->GetMyObject("serverName"));
    if (auto* text = box != nullptr ? ObjectData::Text::Find(box->textObject) : nullptr)
        ScreenSteps::KeepWithin(text->text, text->settings.cursorLoc, Networking::MAX_SERVER_NAME);
}

}  // namespace

void PrepareNewClient(char client) {
    const auto id = static_cast<unsigned char>(client);
    Networking::NetEngine& net = EngineData::NetworkingUpdate::Target();
    const std::string point = Networking::PlayerObjectName(id);
    net.AddSyncEvent(point, "NewPlayer", 30000);
    for (unsigned int other : net.GetClientList())
        if (other != id) net.SetSync(point, other);
    GameVars().pendingClients.push_back(id);
}

Level* _Init() {
    return MenuScreen::RegisterWithSky("MakeGame", table, &MenuScreen::Copy<Variables, &Spawn>, Event(), &Build,
                                       &Update);
}

}  // namespace LevelData::MakeGame
