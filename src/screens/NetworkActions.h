#pragma once
// What the lobby's and the custom-game screen's buttons do with the network:
// host a quick match of the 13 built-in levels, host a custom match under
// the typed name with the chosen order, join the selected game of the
// server list, and hand a hosted match over to the screen between levels.
#include <string>

class Entity;

namespace NetworkActions {

// The name a game is hosted under: the typed name, or the player's name
// when nothing but blanks was typed, or "My Game" when that is blank too;
// cut to what a server's announcement carries.
std::string HostedName(const std::string& typed, const std::string& playerName);

// Quickstart's "Logic": hosts "My Game" with the built-in order.
void Quickstart(Entity* self, Entity* other);
// StartServer's "Logic": hosts under the name in "serverName" with the
// order of "CustomSelect".
void StartServer(Entity* self, Entity* other);
// StartServer's "Behavior": the button's own step, and it joins the focus
// order once it is shown.
void StartServerBehavior(Entity* self, Entity* other);
// joinGame's "Behavior": the button's own step; it is hidden and out of
// the focus order while no server is selected.
void JoinGameBehavior(Entity* self, Entity* other);
// joinGame's "Logic": connects to the server selected in "ServerMenu";
// "Game not found" when it is no longer there.
void JoinGame(Entity* self, Entity* other);

// The end of a hosting button's fade: the sync point every machine reaches
// on the screen between levels, no level current yet, and that screen.
void HandOff(Entity* self, Entity* other);

}  // namespace NetworkActions
