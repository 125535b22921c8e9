#pragma once
// The window layer's link to the X display beneath SDL, where the program
// runs on one. SDL leaves two things of the display to the program: a
// request the display refuses (a window destroyed from outside) ends a
// program by default, and so does a lost connection (the display closed, or
// the program's connection killed as xkill does). Here the first is reported
// and the program goes on, and the second ends the program the way the
// program chooses. Off X (a test's offscreen video) everything here does
// nothing and every window counts as there.
union SDL_Event;
struct SDL_Window;

namespace DisplayLink {

// Main thread, once the video has started. onLost runs on whichever thread
// noticed the lost connection and must end the process: nothing may use the
// display afterwards, and the other threads' calls into it never return.
void Watch(void (*onLost)());

// Window thread: the X window beneath an SDL window (0 when not on X).
unsigned long NativeWindow(SDL_Window* window);

// Window thread: the X window an event reports destroyed (0 for any other
// event).
unsigned long DestroyedWindow(const SDL_Event& event);

// Main thread: waits for the display's answers to every request made so far,
// so that its refusals come to the program's own handling.
void Settle();

// Any thread: whether the X window still exists on the display (a round
// trip). True when not on X or for window 0.
bool StillThere(unsigned long window);

}  // namespace DisplayLink
