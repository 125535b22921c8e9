#include "screens/ServerMenu.h"

#include "framework/Object.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "networking/messages/MSG_ServerInfo.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::ServerMenu {

namespace {

VariableOffsetTable table;

// The first line shown: the bar's value, whole.
int FirstShown(const Variables& v) { return Widgets::ScrollBar::FirstShown(v.stencilSlider); }

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.stencilSlider = Object::MakeCopy(self->_state, "VSlider", "");
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.stencilSlider)) bar->value = 0.0f;

    v.stencilName = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* heading = Text::Find(v.stencilName)) {
        TextSettings& s = heading->settings;
        s.fixedWidth = false;
        s.multiLine = false;
        s.x = v.position.x;
        s.y = v.position.y + v.size.y * 0.5f + 0.04f;
        s.width = v.size.x;
        s.height = 0.08f;
        s.primaryColor = 0xFFBBBBBBu;
        s.colorize = true;
        s.font = "ashleyscriptmtstd";
        s.hAlign = 0;
        s.vAlign = 1;
        s.charHeight = 0.08f;
        heading->text = "Available Games";
        Widgets::RaiseOwn(v.stencilName, "CalcText", self);
    }

    const float h = v.size.y / static_cast<float>(kLines);
    for (int i = 0; i < kLines; ++i) {
        Object* line = Object::MakeCopy(self->_state, "ListButton", "");
        v.stencilList[i] = line;
        if (line == nullptr) continue;
        TextButton::Variables& b = VariablesOf<TextButton::Variables>(line);
        b.master = self;
        b.size = {v.size.x - 0.02f, h};
        b.position.x = v.position.x;
        b.position.y = v.position.y + v.size.y * 0.5f - (static_cast<float>(i) + 0.5f) * h;
        // The list alone decides when a line behaves: only lines that show a server do.
        line->RemoveFromEngine("Behavior");
        Widgets::RaiseOwn(line, "RemoveTabbing", self);
        b.color = 0;
    }
}

// The lines show the entries from the bar's value on; a line in use carries
// its number plus one in `color` and takes part in the focus order.
void Refresh(Entity* self) {
    Variables& v = VariablesOf<Variables>(self);
    const int first = FirstShown(v);
    const int count = static_cast<int>(v.stencilNames.size());
    for (int i = 0; i < kLines; ++i) {
        Object* line = v.stencilList[i];
        if (line == nullptr) continue;
        TextButton::Variables& b = VariablesOf<TextButton::Variables>(line);
        Text::Variables* caption = Text::Find(b.textObj);
        const int index = first + i;
        const bool shown = index < count;
        if (b.color != 0 && !shown) {
            b.color = 0;
            Widgets::RaiseOwn(line, "RemoveTabbing", self);
        } else if (b.color == 0 && shown) {
            b.color = static_cast<std::uint32_t>(i + 1);
            Widgets::RaiseOwn(line, "AddTabbing", self);
        }
        if (shown) {
            if (caption != nullptr) caption->text = v.stencilNames[static_cast<std::size_t>(index)];
            Widgets::RaiseOwn(line, "Behavior", self);
        } else if (caption != nullptr) {
            caption->text.clear();
        }
    }
}

// Lays the bar out against the list's right edge, sized to the entries, then
// refreshes the lines.
void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::ScrollBar::FitToList(v.stencilSlider, self, v.position, v.size,
                                  static_cast<int>(v.stencilNames.size()) - (kLines - 1));
    Refresh(self);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const std::vector<std::string> before = v.serverNames, beforeAt = v.serverAddresses;
    v.stencilNames.clear();
    v.serverNames.clear();
    v.serverAddresses.clear();
    for (const Networking::ServerInfo& server : EngineData::NetworkingUpdate::Target().GetServerList()) {
        v.stencilNames.push_back(ServerListLine(server));
        v.serverNames.push_back(server.name);
        v.serverAddresses.push_back(server.address.GetIP());
    }
    // A server that appeared or vanished moves the lines under the
    // selection (even when another took its place in the same frame): the
    // selection is cleared. A changed player count keeps it.
    if (v.serverNames != before || v.serverAddresses != beforeAt) {
        v.selectedStencil = -1;
        Widgets::RaiseOwn(self, "Init", self);
    } else {
        Refresh(self);
    }
    const int first = FirstShown(v);
    for (int i = 0; i < kLines; ++i) {
        TextButton::Variables* b =
            v.stencilList[i] != nullptr ? &VariablesOf<TextButton::Variables>(v.stencilList[i]) : nullptr;
        if (Text::Variables* caption = b != nullptr ? Text::Find(b->textObj) : nullptr)
            caption->settings.colorize = first + i == v.selectedStencil;
    }
}

// A line was clicked (other: its button): the server it shows is selected.
void Logic(Entity* self, Entity* other) {
    Variables& v = VariablesOf<Variables>(self);
    const std::uint32_t number = other != nullptr ? VariablesOf<TextButton::Variables>(other).color : 0u;
    if (number == 0) return;  // an empty line selects nothing
    v.selectedStencil = FirstShown(v) + static_cast<int>(number) - 1;
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Widgets::DrawPicture(v.position.x, v.position.y, v.position.z, v.size.x, v.size.y, "white", 0xFFC4BDADu);
}

}  // namespace

std::string ServerListLine(const Networking::ServerInfo& server) {
    const auto* info = dynamic_cast<const Networking::NetMessage::MSG_ServerInfo*>(server.info.get());
    const std::string level = info != nullptr ? info->levelName.value : std::string();
    const unsigned int players = info != nullptr ? info->playerCount.value : 0u;
    return "Server: " + server.name + "  Level: " + level + "  Players: " + std::to_string(players);
}

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ServerMenu", table);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Logic", &Logic);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_name, v.name);
    BindVariable(table, *prototype, enum_stencilName, v.stencilName);
    BindVariable(table, *prototype, enum_stencilList, v.stencilList);
    BindVariable(table, *prototype, enum_selectedStencil, v.selectedStencil);
    BindVariable(table, *prototype, enum_stencilSlider, v.stencilSlider);
    BindVariable(table, *prototype, enum_serverNames, v.serverNames);
    BindVariable(table, *prototype, enum_stencilNames, v.stencilNames);
}

}  // namespace ObjectData::ServerMenu
