#pragma once

struct SDL_Window;

// Reports a failed device call with the unit and line it came from and the
// call's text; drawing goes on.
void DXTrace(const char* unit, int line, const char* call);

// The context every drawn window shares: OpenGL 3.3 core, RGBA8, with depth
// and stencil. Must be set before the first window meant for drawing is made.
void SetGLWindowAttributes();
