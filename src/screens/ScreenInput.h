#pragma once
// The input the start-up screens and the title prompt read, through small
// replaceable functions: tests drive the screens frame by frame with them.
struct ScreenInput {
    bool (*anythingPressed)();    // any key, mouse button, pad or remote button
    bool (*escapeTriggered)();    // Escape went down this frame
    bool (*remoteBackPressed)();  // the Wii remote's B button (only with its controls on)
};

extern ScreenInput screenInput;
void ResetScreenInput();
