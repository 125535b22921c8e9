#include "platform/input/InputHooks.h"

namespace {
bool Yes() { return true; }
bool No() { return false; }
bool RemoteInitNone() { return true; }
void Nothing() {}
std::uint16_t NoButtons() { return 0; }
void SameCoordinates(int x, int y, float* gx, float* gy) {
    if (gx) *gx = static_cast<float>(x);
    if (gy) *gy = static_cast<float>(y);
}
std::uint32_t DefaultDoubleClickTime() { return 500; }

InputHooks Defaults() {
    return InputHooks{
        Yes, Yes, Yes, Yes, No, RemoteInitNone, Nothing, Nothing, NoButtons, SameCoordinates, DefaultDoubleClickTime};
}
}  // namespace

InputHooks inputHooks = Defaults();

void ResetInputHooks() { inputHooks = Defaults(); }

bool PadRumbleAllowed() { return inputHooks.rumbleOn() && inputHooks.xbox360Controls() && !inputHooks.soundPaused(); }
