#include "widgets/TextBox.h"

#include <algorithm>

#include "framework/Object.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Mouse.h"
#include "widgets/ScrollBar.h"
#include "widgets/Text.h"
#include "widgets/TextEditing.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::TextBox {

namespace {

VariableOffsetTable table;

constexpr float kBar = 0.05f;  // the bars' thickness

void ApplyNewSettings(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::BuildCharacterTable(v.validCharacters, true, v.validCharacterList);
    if (v.textObject != nullptr) Widgets::RaiseOwn(v.textObject, "CalcText", self);
}

void Layout(const Variables& v, TextSettings& s) {
    s.x = v.position.x - kBar * 0.5f;
    s.y = v.position.y + kBar * 0.5f;
    s.z = v.position.z + 0.001f;
    s.width = v.size.x - kBar;
    s.height = v.size.y - kBar;
    s.multiLine = true;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.textObject = Widgets::TextEditing::MakeText(self, v.position, v.size, true);
    Widgets::RaiseOwn(self, "ApplyNewSettings", self);
    v.hScroll = Object::MakeCopy(self->_state, "HSlider", "");
    v.vScroll = Object::MakeCopy(self->_state, "VSlider", "");
    UpdatePosition(self, self);
    // The box runs and draws its text and bars itself.
    for (Object* bar : {v.hScroll, v.vScroll}) {
        if (bar == nullptr) continue;
        bar->RemoveFromEngine("Behavior");
        bar->RemoveFromEngine("GraphicsDraw");
    }
}

void Unload(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.textObject != nullptr) v.textObject->_Delete();
    v.textObject = nullptr;
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.collision.Clear();
    v.collision.AddRectangle(-0.5f, 0.5f - kBar / v.size.x, 0.5f, -0.5f + kBar / v.size.y);
    for (Object* bar : {v.hScroll, v.vScroll})
        if (bar != nullptr) Widgets::RaiseOwn(bar, "Behavior", self);

    Text::Variables* t = Text::Find(v.textObject);
    if (t == nullptr) return;
    TextSettings& s = t->settings;
    Object* cursor = Widgets::FindCursor(self);
    if (!inputHooks.windowActive()) {
        v.selected = false;
    } else if (Mouse.Triggered(0)) {
        if (cursor != nullptr && collisionEngine.Check(self, cursor)) {
            v.selected = true;
        } else {
            v.selected = false;
            s.cursorLoc = -1;
        }
    }
    Widgets::TextEditing::MouseCaret(*t, v.cursor);
    if (s.cursorLoc != -1 && v.selected) Widgets::TextEditing::Keys(*t, v.validCharacterList, true);

    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.vScroll))
        s.startLine = static_cast<int>(bar->value);
    if (Widgets::ScrollBar::Variables* bar = Widgets::ScrollBar::Find(v.hScroll))
        s.startCharacter = static_cast<int>(bar->value);
    Layout(v, s);
    Widgets::RaiseOwn(v.textObject, "CalcText", self);
    UpdatePosition(self, self);
    Widgets::TextEditing::PlaceCaret(*t, v.cursor);
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::TextEditing::Draw(self, v.textObject, v.position, v.size, v.texture, v.colorBG, v.selected, v.cursor);
    for (Object* bar : {v.hScroll, v.vScroll})
        if (bar != nullptr) Widgets::RaiseOwn(bar, "GraphicsDraw", self);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void UpdatePosition(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::ScrollBar::Variables* h = Widgets::ScrollBar::Find(v.hScroll);
    Widgets::ScrollBar::Variables* vert = Widgets::ScrollBar::Find(v.vScroll);
    Text::Variables* t = Text::Find(v.textObject);
    if (h == nullptr || vert == nullptr || t == nullptr) return;
    TextSettings& s = t->settings;

    h->size = {v.size.x - kBar, kBar};
    h->position = {v.position.x - kBar * 0.5f, v.position.y - (v.size.y - kBar) * 0.5f, v.position.z + 0.01f};
    vert->size = {kBar, v.size.y - kBar};
    vert->position = {v.position.x + (v.size.x - kBar) * 0.5f, v.position.y + kBar * 0.5f, v.position.z + 0.01f};

    h->ticks = TextGetHorizScroll(s);
    const int lines = s.information != nullptr ? s.information->lineCount : 0;
    const int visible = s.charHeight > 0.0f ? static_cast<int>(s.height / s.charHeight) : 0;
    vert->ticks = std::max(1, lines - visible + 1);
    h->max = static_cast<float>(h->ticks - 1);
    vert->max = static_cast<float>(vert->ticks - 1);

    const int lineBefore = s.startLine, characterBefore = s.startCharacter;
    TextReadjustHorizontal(s);
    TextReadjustVertical(s);
    h->value = static_cast<float>(s.startCharacter);
    vert->value = static_cast<float>(s.startLine);
    if (h->max < h->value) {
        h->value = h->max;
        s.startCharacter = static_cast<int>(h->max);
    }
    if (vert->max < vert->value) {
        vert->value = vert->max;
        s.startLine = static_cast<int>(vert->max);
    }
    if (s.startLine != lineBefore || s.startCharacter != characterBefore)
        Widgets::RaiseOwn(v.textObject, "CalcText", self);

    Widgets::RaiseOwn(v.hScroll, "UpdatePosition", self);
    Widgets::RaiseOwn(v.vScroll, "UpdatePosition", self);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TextBox", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("ApplyNewSettings", &ApplyNewSettings);
    prototype->_AddEvent("Unload", &Unload);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_colorBG, v.colorBG);
    BindVariable(table, *prototype, enum_validCharacters, v.validCharacters);
    BindVariable(table, *prototype, enum_validCharacterList, v.validCharacterList);
    BindVariable(table, *prototype, enum_selected, v.selected);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_cursor, v.cursor);
    BindVariable(table, *prototype, enum_textObject, v.textObject);
    BindVariable(table, *prototype, enum_hScroll, v.hScroll);
    BindVariable(table, *prototype, enum_vScroll, v.vScroll);
}

}  // namespace ObjectData::TextBox
