#include "widgets/TextMsg.h"

#include "framework/State.h"
#include "objects/GameplayHooks.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::TextMsg {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.textObj = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* t = Text::Find(v.textObj)) {
        t->text.clear();
        TextSettings& s = t->settings;
        s.x = v.place.x;
        s.y = v.place.y;
        s.hAlign = 1;
        s.vAlign = 1;
        s.multiLine = false;
        s.fixedWidth = false;
        s.width = 2.0f;
        s.height = kCharHeight * 2.0f;
        s.charHeight = kCharHeight;
        s.colorize = true;
        s.primaryColor = kTextColour;
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.life < 1) {
        if (Text::Variables* t = Text::Find(v.textObj)) t->text.clear();
    } else {
        --v.life;
    }
}

// Before the drawing: the text at its place on the view as the camera now
// stands (the camera of a play level moves and zooms; a menu's stands
// still), laid out again, and a dark panel behind it while it shows.
void GraphicsUpdate(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Text::Variables* t = Text::Find(v.textObj);
    if (t == nullptr || t->text.empty()) return;
    // r is the camera's scale: one unit of the view is 1 / r units of the level.
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    gameplayHooks.camera(cx, cy, r);
    const float unit = r > 0.0f ? 1.0f / r : 1.0f;
    TextSettings& s = t->settings;
    s.x = cx + v.place.x * unit;
    s.y = cy + v.place.y * unit;
    s.charHeight = kCharHeight * unit;
    s.width = 2.0f * unit;
    s.height = kCharHeight * 2.0f * unit;
    s.primaryColor = kTextColour;
    s.colorize = true;
    Text::CalcText(v.textObj, v.textObj);
    const float width = s.information != nullptr ? s.information->totalWidth * s.charHeight : 0.5f * unit;
    Widgets::DrawPicture(s.x, s.y, s.z - 0.01f, width + kCharHeight * unit, kCharHeight * 1.6f * unit, "white",
                         kPanelColour);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TextMsg", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", &GraphicsUpdate);
    prototype->_AddEvent("Load", &Load);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_life, v.life);
    BindVariable(table, *prototype, enum_textObj, v.textObj);
    Text::BindTextVariables(table, *prototype, v.text);
}

}  // namespace ObjectData::TextMsg
