#include "screens/ScreenInput.h"

#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"

namespace {
bool AnythingPressed() { return inputEngine.AnythingPressed(); }
bool EscapeTriggered() { return Keyboard.Triggered(DIK_ESCAPE); }
// The remote's word reads 0 while its controls are switched off.
bool RemoteBack() { return (inputHooks.remoteButtons() & 0x0400) != 0; }
constexpr ScreenInput kDefaults{&AnythingPressed, &EscapeTriggered, &RemoteBack};
}  // namespace

ScreenInput screenInput = kDefaults;
void ResetScreenInput() { screenInput = kDefaults; }
