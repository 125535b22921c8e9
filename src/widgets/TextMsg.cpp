#include "widgets/TextMsg.h"

#include "framework/State.h"

namespace ObjectData::TextMsg {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.textObj = Object::MakeCopy(self->_state, "Text", "");
    if (Text::Variables* t = Text::Find(v.textObj)) {
        t->text.clear();
        t->settings.x = t->settings.y = 0.0f;
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

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TextMsg", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_AddEvent("Load", &Load);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_life, v.life);
    BindVariable(table, *prototype, enum_textObj, v.textObj);
    Text::BindTextVariables(table, *prototype, v.text);
}

}  // namespace ObjectData::TextMsg
