// The game entity's and the states' input calls, filled into their hooks
// before main, so that the framework reaches the input layer only through them.
#include "framework/Game.h"
#include "framework/State.h"
#include "platform/input/Input.h"
#include "platform/input/Keyboard.h"
#include "platform/input/XBox.h"

namespace {

[[maybe_unused]] const bool inputWired = [] {
    GameHooks game;
    game.takeInput = [] { inputEngine.GameUpdate(); };
    game.keyTriggered = [](int scanCode) { return Keyboard.Triggered(static_cast<unsigned char>(scanCode)); };
    game.rumble = [](int milliseconds) { XBox.Vibrate(static_cast<unsigned>(milliseconds)); };
    Game::SetDefaultHooks(game);
    State::SetDefaultInputReset([] { inputEngine.Reset(); });
    return true;
}();

}  // namespace
