// Glimmerfall: entry point.
#include "framework/Startup.h"

int main() { return ProgramMain(); }
