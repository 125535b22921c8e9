#include "platform/graphics/CameraGlobals.h"

float CameraGlobals::x = 0.0f;
float CameraGlobals::y = 0.0f;
float CameraGlobals::r = 1.0f;
