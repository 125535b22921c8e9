#pragma once
// The menus' ready-made variants of the buttons, cursors and player figure:
// each a name, the type it is made from and the differences applied to a
// fresh copy of that type (position, size, picture, label, handlers). What
// the variants do when clicked stands beside their rows, one unit for each
// screen they serve (MenuVariantsMainMenu.cpp, ...Options, ...Multiplayer,
// ...PauseMenu, ...QuitConfirm, ...Eula); MenuVariants.cpp holds the ones
// many screens use (the cursors, the dialogs' buttons, the way back to the
// main menu) and the entries below.
#include <cstdint>
#include <span>
#include <string>

#include "framework/TypeRegistry.h"

class Entity;
class Object;

namespace MenuVariants {

// The variants' rows for the screens' registration.
std::span<const ExObjectEntry> Rows();

// What the variants reach outside the game: the web browser, the Wii
// remote's connection (the rumble goes through the gameplay hooks). Tests
// replace them.
struct Hooks {
    void (*openPage)(const char* address);
    bool (*remoteConnected)();
    // The controls that close a menu: pause without Enter, or back.
    bool (*closePressed)();
};
extern Hooks hooks;
void ResetHooks();

// The addresses the two social buttons open.
extern const char* const kFirstPageAddress;
extern const char* const kSecondPageAddress;

// The level a fade-then-go variant leads to; empty for other variants and
// for the one that follows `backToWhere`.
std::string FadeTarget(const std::string& variant);

// Creates a menu variant (or any type) in the current state under name;
// nothing (null) when its type is not registered, or when it fades to a level
// that is not registered (it would fade to a dark screen that never changes).
Object* SpawnButton(const std::string& type, const std::string& name = "");

// Sets the words of a text button's label object.
void SetLabel(Entity* button, const std::string& text);
// The words of a text button's label object ("" when it has none).
std::string Label(Entity* button);

// Every player's score to 0, level 0 current, and the order of the 13
// built-in levels in `LevelOrder` and `LevelOrderNumbers`.
void PrepareBuiltInOrder();

}  // namespace MenuVariants
