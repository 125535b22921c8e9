#include "objects/MenuStars.h"

#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"

namespace ObjectData::MenuStars {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) { StarField::Scatter(VariablesOf<Variables>(self)); }
void Behavior(Entity* self, Entity*) { StarField::Twinkle(VariablesOf<Variables>(self)); }

void GraphicsDraw(Entity* self, Entity*) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    StarField::Draw(VariablesOf<Variables>(self), *buffer, cx, cy, r, gameplayHooks.aspect(), -10000.5f);
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "MenuStars", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    StarField::BindVariables(table, *prototype, v);
}

}  // namespace ObjectData::MenuStars
