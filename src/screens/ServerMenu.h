#pragma once
// "ServerMenu": the lobby's list of the games found on the local network,
// headed "Available Games": eight line buttons scrolled by a bar at the
// list's right edge. Every frame it rebuilds its lines from the network
// engine's server list; a click on a line selects that server, and the join
// button connects to the selected one by its name.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace Networking {
struct ServerInfo;
}

namespace ObjectData::ServerMenu {

constexpr int kLines = 8;

struct Variables {
    D3DXVECTOR3 position{0.2f, -0.15f, 0.0f};  // centre of the list box
    D3DXVECTOR2 size{1.0f, 0.4f};              // width and height of the list box
    const char* texture = "Stencil Back";
    std::string name = "no name";
    Object* stencilName = nullptr;          // the heading
    Object* stencilList[kLines] = {};       // the line buttons, top first
    std::int32_t selectedStencil = -1;      // the selected server's index, -1 none
    Object* stencilSlider = nullptr;        // the bar that scrolls the lines
    std::vector<std::string> serverNames;   // the servers' names, in list order
    std::vector<std::string> stencilNames;  // the line texts, beside serverNames
    // Each server's address, beside serverNames: games of one name are told
    // apart by it (not a script variable).
    std::vector<std::string> serverAddresses;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The list's variables, or null for other objects.
Variables* Find(Entity* entity);

// A server's line: its name, the level it plays and its player count.
std::string ServerListLine(const Networking::ServerInfo& server);

}  // namespace ObjectData::ServerMenu
