#pragma once

// What a sprite sheet is once it lives on the graphics device: the name of
// its GL texture, 0 for none. The sheet tables keep it without touching GL.
using TextureHandle = unsigned int;
