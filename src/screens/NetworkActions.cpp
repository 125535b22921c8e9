#include "screens/NetworkActions.h"

#include <algorithm>
#include <cstdint>

#include "framework/GameVariables.h"
#include "framework/State.h"
#include "networking/Match.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "screens/MenuScreen.h"
#include "screens/MenuVariants.h"
#include "screens/ServerMenu.h"
#include "widgets/CustomLevelSelector.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace NetworkActions {

namespace {

constexpr std::uint32_t kShown = 0xFFFFFFFFu;
constexpr std::uint32_t kHidden = 0x00FFFFFFu;

Entity* InState(Entity* self, const char* name) { return self->GetMyObject(name); }

bool Blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Starts serving under name; false (with the message) when the engine
// refuses. A machine that already serves or joins starts nothing more.
bool Host(Entity* self, const std::string& name) {
    Networking::NetEngine& net = EngineData::NetworkingUpdate::Target();
    if (net.IsServer() || net.IsClient()) return false;
    const bool listing = net.IsSearching();
    if (net.HostServer(name)) {
        // Clients may join from now on, during the fade too: they wait with
        // the host at the screen between levels for the first level.
        net.AddSyncEvent("LoadingLevel", "NextLevel", 30000);
        return true;
    }
    // A refused host has ended the lobby's search: it goes on listing games.
    if (listing) net.FindServers();
    MenuScreen::ShowNetError(self->_state, "Unable to host game.");
    return false;
}

void ZeroScores() {
    for (std::int32_t& score : GameVars().playerScores) score = 0;
}

std::uint32_t* ColorOf(Entity* button) { return FindVariable<std::uint32_t>(button, enum_color); }

// Shows the button and puts it into the focus order when it was hidden.
void Show(Entity* self) {
    std::uint32_t* color = ColorOf(self);
    if (color == nullptr) return;
    if (*color == kHidden) Widgets::RaiseOwn(self, "AddTabbing", self);
    *color = kShown;
}

}  // namespace

std::string HostedName(const std::string& typed, const std::string& playerName) {
    std::string name = !Blank(typed) ? typed : !Blank(playerName) ? playerName : std::string("My Game");
    if (name.size() > Networking::MAX_SERVER_NAME) name.resize(Networking::MAX_SERVER_NAME);
    return name;
}

void Quickstart(Entity* self, Entity*) {
    if (!Host(self, "My Game")) return;
    MenuVariants::PrepareBuiltInOrder();
    MenuScreen::FadeOutTo(self, &HandOff);
}

void StartServer(Entity* self, Entity*) {
    std::string typed;
    if (auto* box = ObjectData::SingleLineTextBox::Find(InState(self, "serverName")))
        if (auto* text = ObjectData::Text::Find(box->textObject)) typed = text->text;
    if (!Host(self, HostedName(typed, GameVars().playerName))) return;
    ZeroScores();
    CurrentLevelIndex = 0;
    LevelOrder.clear();
    LevelOrderNumbers.clear();
    if (auto* picker = ObjectData::CustomLevelSelector::Find(InState(self, "CustomSelect"))) {
        for (std::int32_t k : picker->rightNames) {
            if (k < 0 || static_cast<std::size_t>(k) >= picker->levelNames.size() ||
                static_cast<std::size_t>(k) >= picker->levelIdentifiers.size())
                continue;
            LevelOrder.push_back(picker->levelNames[static_cast<std::size_t>(k)]);
            LevelOrderNumbers.push_back(picker->levelIdentifiers[static_cast<std::size_t>(k)]);
        }
    }
    MenuScreen::FadeOutTo(self, &HandOff);
}

void StartServerBehavior(Entity* self, Entity*) {
    Entity::_DoEvent("Super.Behavior", self, self);
    Show(self);
}

void JoinGameBehavior(Entity* self, Entity*) {
    Entity::_DoEvent("Super.Behavior", self, self);
    const auto* list = ObjectData::ServerMenu::Find(InState(self, "ServerMenu"));
    if (list == nullptr || list->selectedStencil < 0) {
        Widgets::RaiseOwn(self, "RemoveTabbing", self);
        if (std::uint32_t* color = ColorOf(self)) *color = kHidden;
        return;
    }
    Show(self);
}

void JoinGame(Entity* self, Entity*) {
    const auto* list = ObjectData::ServerMenu::Find(InState(self, "ServerMenu"));
    if (list == nullptr) return;
    const auto selected = static_cast<std::size_t>(static_cast<std::uint32_t>(list->selectedStencil));
    if (selected >= list->stencilNames.size() || selected >= list->serverNames.size()) return;
    Networking::NetEngine& net = EngineData::NetworkingUpdate::Target();
    // A second click while the first is still connecting (or while hosting) joins nothing more.
    if (net.IsClient() || net.IsServer()) return;
    ZeroScores();
    const std::string name = list->serverNames[selected];
    const std::string at = selected < list->serverAddresses.size() ? list->serverAddresses[selected] : std::string();
    if (!net.ConnectToServer(name, at)) MenuScreen::ShowNetError(self->_state, "Game not found");
}

void HandOff(Entity* self, Entity*) {
    // The fade raises its end on every frame while black: the hand-off is made once.
    self->SetEvent("FadedOut", &Event::DefaultFunction);
    CurrentLevelIndex = -1;
    State::SetLevel(self->_state, "LoadingLevel");
}

}  // namespace NetworkActions
