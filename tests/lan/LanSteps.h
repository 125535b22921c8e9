#pragma once
// What a player does in the LAN runs, as script steps for --script
// (program/ScriptedInput.h): each click is where its screen draws the button,
// in the view's coordinates.
namespace lan::steps {

// The main menu's way to the lobby.
const char* const kToLobby =
    "level MainMenu\n"
    "wait 20\n"
    "click -0.7 -0.04\n"  // Multiplayer
    "level Lobby\n"
    "wait 20\n";

// From the lobby: a custom game named moon of GrassLevel01 then GrassLevel02.
const char* const kHostMoon =
    "click -0.7 -0.03\n"  // Custom Game
    "level MakeGame\n"
    "wait 30\n"
    "click -0.7 0.2\n"  // the game-name box
    "wait 5\n"
    "tap M\nwait 3\ntap O\nwait 3\ntap O\nwait 3\ntap N\nwait 5\n"
    "click 0.07 0.328\n"  // the first of the available maps (GrassLevel01)
    "wait 5\n"
    "click 0.345 0.29\n"  // into the game order
    "wait 5\n"
    "click 0.07 0.328\n"  // the first left now (GrassLevel02)
    "wait 5\n"
    "click 0.345 0.29\n"
    "wait 5\n"
    "click 0.65 -0.4\n";  // Start Game

// From the lobby, with the game listed first: its line, then Join Game.
const char* const kJoinFirst =
    "click 0.2 0.025\n"
    "wait 5\n"
    "click 0.6 -0.4\n";

// A few steps to the left and back (away from the way the levels go, so that
// a player running the level is not in the way), so that every machine sees
// this player move.
const char* const kStroll = "press Left\nwait 40\nrelease Left\nwait 10\npress Right\nwait 10\nrelease Right\n";

// From the main menu out through Quit and its confirmation.
const char* const kQuitFromMenu =
    "level MainMenu\n"
    "wait 30\n"
    "click -0.7 -0.39\n"  // Quit
    "level QuitConfirm\n"
    "wait 30\n"
    "click -0.3 -0.15\n";  // Quit

}  // namespace lan::steps
