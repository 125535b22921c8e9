#include "widgets/PointSlider.h"

#include <cmath>
#include <cstdio>

#include "framework/Object.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::PointSlider {

namespace {

VariableOffsetTable table;

constexpr std::uint32_t kLetterColour = 0xFFBBBBBBu;

// A Text for one of the picker's words, in the script face.
Text::Variables* MakeWords(Entity* self, Object*& made, float x, float y, float width, float height) {
    made = Object::MakeCopy(self->_state, "Text", "");
    Text::Variables* t = Text::Find(made);
    if (t == nullptr) return nullptr;
    TextSettings& s = t->settings;
    s.multiLine = false;
    s.fixedWidth = false;
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
    s.primaryColor = kLetterColour;
    s.colorize = true;
    s.font = "ashleyscriptmtstd";
    s.vAlign = 1;
    s.charHeight = height;
    return t;
}

// The whole number a float stands for, truncated, within the int range.
std::int32_t Whole(float f) {
    if (!std::isfinite(f)) return 0;
    if (f >= 2147483520.0f) return 2147483520;
    if (f <= -2147483520.0f) return -2147483520;
    return static_cast<std::int32_t>(f);
}

void Init(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const float left = v.position.x - v.size.x * 0.5f;

    Object* caption = nullptr;
    if (Text::Variables* t = MakeWords(self, caption, left - 0.2f - 0.1f, v.position.y, 0.4f, v.size.y)) {
        t->settings.hAlign = 2;
        t->text = v.name;
        delete t->settings.information;
        t->settings.information = new TextData();
        Widgets::RaiseOwn(caption, "CalcText", self);
    }

    v.slider = Object::MakeCopy(self->_state, "HSlider", "");
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.slider)) {
        bar->position.x = v.position.x;
        bar->position.y = v.position.y;
        bar->size = v.size;
        bar->min = v.min;
        bar->max = v.max;
        // One tick a whole number from 0.
        bar->ticks = Whole(v.max) + 1;
        bar->value = v.pValue != nullptr ? static_cast<float>(*v.pValue) : v.min;
        Widgets::RaiseOwn(v.slider, "UpdatePosition", self);
        v.slider->RemoveFromEngine("Behavior");
    }

    if (Text::Variables* t = MakeWords(self, v.textbox, left - 0.05f, v.position.y, 0.1f, v.size.y))
        t->settings.hAlign = 0;
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.slider);
    if (bar == nullptr) return;
    Widgets::RaiseOwn(v.slider, "Behavior", self);
    const std::int32_t n = Whole(bar->value);
    if (v.pValue != nullptr) *v.pValue = n;
    if (Text::Variables* t = Text::Find(v.textbox)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%i", static_cast<int>(n));
        t->text = digits;
    }
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "PointSlider", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_AddEvent("Init", &Init);
    prototype->_AddEvent("GraphicsDraw", Event());
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Logic", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_name, v.name);
    BindVariable(table, *prototype, enum_slider, v.slider);
    BindVariable(table, *prototype, enum_textbox, v.textbox);
    BindVariable(table, *prototype, enum_min, v.min);
    BindVariable(table, *prototype, enum_max, v.max);
    BindVariable(table, *prototype, enum_pValue, v.pValue);
}

}  // namespace ObjectData::PointSlider
