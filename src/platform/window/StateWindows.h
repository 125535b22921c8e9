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

// Test runs of the whole program on software GL: every size a level asks
// for its window is cut down to at most `pixels` high, its width in
// proportion, so that drawing takes little of the machine. 0 (the program's
// setting) leaves the sizes as asked.
void CapWindowHeight(int pixels);
