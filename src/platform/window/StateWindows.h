#pragma once
#include <string>

class State;

// Opens a further state, with its own window, running the named level; null
// (and nothing opened) when no level of that name is registered.
State* CreateStateByName(const std::string& name);

// The close button of a state's window: the licence window opens the quit
// dialog, every other window asks its state to quit.
void CloseClicked(State* state);

// Wires the states to their windows and draw buffers, and the renderer's
// coordinate conversion and the input layer's window questions to the
// current state's window.
void InstallStateWindowHooks();
