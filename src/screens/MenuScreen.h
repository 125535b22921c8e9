#pragma once
// What the menu screens share: the three engines they take, the copy step
// that makes their standing objects, and the pieces their builders place
// (backdrops, text lines, the fade).
#include <cstdint>
#include <string>

#include "framework/LevelTemplate.h"

class State;
struct TextSettings;

namespace MenuScreen {

// "Behavior" 5.0, "GraphicsUpdate" 1.05 and "GraphicsDraw" 1.0.
void TakeEngines();
// "NetworkingUpdate" 1.075, for the screens that run the network engine.
void TakeNetworkingUpdate();

// The copy step of a menu screen whose variables are Vars: the variables
// from the prototype, "PreLoad", the engines, the standing objects (Spawn),
// then "Load".
template <class Vars, void (*Spawn)()>
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Vars>(copy, source);
    copy->DoEvent("PreLoad");
    TakeEngines();
    Spawn();
    copy->DoEvent("Load");
}

// The free step of every menu screen: its own "Unload" (its variables end
// with the level).
void Free(Entity* self);

// Registers a menu screen: the prototype of Vars under name with the copy
// step and the shared free step; "PreLoad", "Load", "Unload" and "Update" as
// given (null: the empty handler). The caller binds further events and its
// variables, then calls LevelTemplate::StartVariables first.
template <class Vars>
LevelTemplate::Data<Vars>* Register(const char* name, VariableOffsetTable& table, void (*copy)(Entity*, const Entity*),
                                    Event preLoad, Event load, Event update) {
    auto* prototype = LevelTemplate::Begin<Vars>(name, table, copy, &Free);
    prototype->_AddEvent("PreLoad", preLoad);
    prototype->_AddEvent("Load", load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Update", update);
    LevelTemplate::StartVariables(prototype, table);
    return prototype;
}

// The variables of a screen that keeps its night sky in "background2".
struct SkyVariables {
    Object* background2 = nullptr;
};

// Registers such a screen (as Register does) and binds "background2".
LevelTemplate::Data<SkyVariables>* RegisterWithSky(const char* name, VariableOffsetTable& table,
                                                   void (*copy)(Entity*, const Entity*), Event preLoad, Event load,
                                                   Event update);

// A "Background" with a picture, at depth z when setZ; null when the type is
// not registered.
Object* Backdrop(const char* texture, bool setZ = false, float z = 0.0f);

// A "CameraGraphic" (a picture fixed to the view) at (x, y) of size (w, h).
Object* Picture(const char* texture, float x, float y, float w, float h);

// The level's fade opens the screen (raised to every subscriber of its state).
void FadeIn(Entity* level);
// The fade starts and its end switches the level's state to next.
void FadeOutTo(Entity* level, Event goNext);

// Escape went down this frame: the state closes (the program ends when it
// was the last one).
bool QuitOnEscape(Entity* level);

// Shows a network message on the state's "NetError" line for
// kNetMessageFrames frames, four seconds at the game's 60 frames a second:
// long enough to be read (nothing when the state has no such line).
constexpr int kNetMessageFrames = 240;
void ShowNetError(State* state, const std::string& message);

// Writes a "Text" object's string and returns its settings (null when the
// object is no text).
TextSettings* TextOf(Object* text, const std::string& words);

}  // namespace MenuScreen
