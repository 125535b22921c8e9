#pragma once
#include <atomic>

class Object;

// The program-wide quit flag: every thread's loop ends once it is true.
extern std::atomic<bool> Quitting;
// Sets Quitting; the argument is ignored (it has the shape of an object handler).
void SetQuitting(Object* ignored);
// What level scripts call to leave the program; start-up stores SetQuitting here.
extern void (*GameQuit)(Object*);
