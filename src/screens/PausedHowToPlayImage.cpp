#include "screens/PausedHowToPlayImage.h"

#include "objects/GameplayHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"

namespace ObjectData::PausedHowToPlayImage {

namespace {

VariableOffsetTable table;

bool AnyTriggered() { return Mouse.AnyTriggered() || Keyboard.AnyTriggered(); }

constexpr const char* kButtons[] = {"ResButton", "MainMButton", "HTOPButton"};

// The buttons keep their behaviour aside and ignore the pointer and keys.
void Silence(Entity* self, Entity*) {
    for (const char* name : kButtons) {
        Entity* button = self->GetMyObject(name);
        if (button == nullptr) continue;
        button->SetEvent("Old.Behavior", button->GetEvent("Behavior"));
        button->SetEvent("Behavior", Event());
    }
}

void RealBehavior(Entity* self, Entity*) {
    if (!anyTriggered()) return;
    self->_Delete();
    for (const char* name : kButtons)
        if (Entity* button = self->GetMyObject(name)) button->SetEvent("Behavior", button->GetEvent("Old.Behavior"));
}

// The click that opened the page must not close it: the first frame only
// swaps in the real behaviour.
void FirstTick(Entity* self, Entity*) { self->SetEvent("Behavior", &RealBehavior); }

// The page fills the window whatever the zoom.
void Draw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    gameplayHooks.camera(cx, cy, s);
    gameplayHooks.addFrame(cx, cy, 5000.0f, gameplayHooks.aspect() / s, 1.0f / s, 0.0f, v.texture, 0xFFFFFFFFu);
}

}  // namespace

bool (*anyTriggered)() = &AnyTriggered;
void ResetInput() { anyTriggered = &AnyTriggered; }

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "PausedHowToPlayImage", table);
    prototype->_TempAddEngine("Behavior", &FirstTick);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    prototype->_AddEvent("Load", &Silence);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("RealBehavior", &RealBehavior);
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, enum_texture, prototype->vars.texture);
}

}  // namespace ObjectData::PausedHowToPlayImage
