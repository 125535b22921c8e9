#include "framework/Event.h"

void Event::DefaultFunction(Entity*, Entity*) {}
