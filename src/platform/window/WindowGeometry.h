#pragma once
// Where a window's picture is drawn, and so where the pointer finds it: one
// rule for the drawing and for every conversion between screen pixels and
// the picture's coordinates (the pointer's place, clicks, drags), in every
// window mode and for every window.
#include "platform/graphics/GraphicsEngine.h"

namespace GUI {

// One consistent reading of what decides the picture's place: everything in
// whole pixels, read together so that no half-made change shows.
struct WindowGeometry {
    int x = 0, y = 0;                   // the window's top-left corner on the screen, as the system has it
    int width = 0, height = 0;          // the window's size
    int areaX = 10, areaY = 30;         // the game area's offset inside a framed window
    int areaWidth = 0, areaHeight = 0;  // the render target's size (the game area of a framed window)
    int renderHeight = 0;      // the height game units are counted in (the windowed one while full screen is wanted)
    float resolution = -1.0f;  // the picture's width over its height; below 0 while unset
    bool fullScreen = false;   // drawn full screen
};

// A rectangle in the window's own pixels, rows from the top.
struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The picture fitted to its shape: over the whole window in full screen,
// centred both ways with black bars beside it where the shapes differ; in a
// framed window over the game area, centred across the window and from the
// game area's top row. While the shape is unset, the whole box.
PictureRect PlacePicture(const WindowGeometry& geometry);

// The same place on the screen, as the conversions read it.
GameArea PictureArea(const WindowGeometry& geometry);

}  // namespace GUI
