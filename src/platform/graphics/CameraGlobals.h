#pragma once

// The view of the frame being built: camera position and r, the reciprocal
// of the camera's scale. The level's camera writes them each frame; all
// camera-relative drawing reads them. Game thread only; each draw buffer
// keeps its own copy for the render thread.
struct CameraGlobals {
    static float x;
    static float y;
    static float r;
};
