#pragma once
// "Lobby": the multiplayer screen. It looks for games on the local network
// and lists them ("ServerMenu"); from here the player joins the selected
// game, hosts a quick game, goes to the custom-game set-up or to the
// character's customisation, or goes back.
#include <cstdint>
#include <string>

#include "screens/MenuScreen.h"

class Object;

namespace LevelData::Lobby {

using Variables = MenuScreen::SkyVariables;
using _DATA = LevelTemplate::Data<Variables>;

Level* _Init();

// The network engine's call-backs while a player waits to play: the
// connection to the server is confirmed (on to the screen between levels),
// and the server is lost (the connection's objects go, and the screen says so).
void ServerConnected();
void ServerLost();

// A one-line label of the menu screens' font, laid out at once.
Object* Caption(const std::string& text, float x, float y, float charHeight, std::int32_t hAlign, std::uint32_t colour);

}  // namespace LevelData::Lobby
