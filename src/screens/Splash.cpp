#include "screens/Splash.h"

#include "screens/MenuScreen.h"
#include "screens/ScreenInput.h"

namespace Splash {

namespace {

VariableOffsetTable table;

void Spawn() {
    LevelTemplate::Spawn("MenuStars");
    LevelTemplate::Spawn("Transition");
}

}  // namespace

Variables& Vars(Entity* level) { return VariablesOf<Variables>(level); }

void Copy(Entity* copy, const Entity* source) { MenuScreen::Copy<Variables, &Spawn>(copy, source); }

void Arm(Entity* level) { Vars(level).pressedBefore = screenInput.anythingPressed(); }

bool NewPress(Variables& v) {
    const bool now = screenInput.anythingPressed();
    const bool press = now && !v.pressedBefore;
    v.pressedBefore = now;
    return press;
}

void Count(Entity* level) {
    Variables& v = Vars(level);
    MenuScreen::QuitOnEscape(level);
    ++v.counter;
    if (NewPress(v) && v.counter < 300) v.counter = 300;
    if (v.counter >= 300) level->DoEvent("Logic");
}

_DATA* Register(const char* name, void (*copy)(Entity*, const Entity*), Event load, Event update, Event logic) {
    _DATA* prototype = MenuScreen::Register<Variables>(name, table, copy, Event(), load, update);
    prototype->_AddEvent("Logic", logic);
    BindVariable(table, *prototype, enum_counter, prototype->vars.counter);
    BindVariable(table, *prototype, enum_background2, prototype->vars.background2);
    return prototype;
}

}  // namespace Splash
