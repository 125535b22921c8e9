#pragma once
#include <string>

class State;

// Opens a further state, with its own window, running the named level; null
// (and nothing opened) when no level of that name is registered.
State* CreateStateByName(const std::string& name);

// The same, its window made width by height pixels with the picture's shape
// before its level loads: a screen with a size of its own sets that as it
// loads, and one without (the level editor runs in the window of the state
// that switches to it) keeps this one and draws in it.
State* CreateStateByName(const std::string& name, int width, int height, float resolution);

// The window of `front` (a dialog) stands in front of the window of
// `behind` while it is open: keys and clicks reach front only, a click on
// behind's window brings front back over it, and when front closes behind's
// window is the active one again. Nothing happens for a state without a window.
void BlockBehind(State* front, State* behind);

// The close button of a state's window: a level that binds "WindowClose"
// answers it itself (the level editor asks before unsaved work is lost), the
// licence window opens the quit dialog, every other window asks its state to
// quit.
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
