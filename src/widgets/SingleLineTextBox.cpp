#include "widgets/SingleLineTextBox.h"

#include "framework/Object.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"
#include "widgets/TextButton.h"
#include "widgets/TextEditing.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::SingleLineTextBox {

namespace {

VariableOffsetTable table;

// The text's place and shape follow the box every frame.
void Layout(Variables& v, Text::Variables& t) {
    TextSettings& s = t.settings;
    s.x = v.position.x;
    s.y = v.position.y;
    s.z = v.position.z + 0.001f;
    s.width = v.size.x;
    s.height = v.size.y;
    s.multiLine = false;
    s.charHeight = v.size.y * 0.9f;
}

void Load(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::AddUnitBox(v.collision);
    v.textObject = Widgets::TextEditing::MakeText(self, v.position, v.size, false);
    Widgets::RaiseOwn(self, "ApplyNewSettings", self);
    Widgets::RaiseOwn(self, "AddTabbing", self);
}

void ApplyNewSettings(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::BuildCharacterTable(v.validCharacters, false, v.validCharacterList);
    if (v.textObject != nullptr) Widgets::RaiseOwn(v.textObject, "CalcText", self);
}

void Unload(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.textObject != nullptr) v.textObject->_Delete();
    v.textObject = nullptr;
    Widgets::RaiseOwn(self, "RemoveTabbing", self);
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Text::Variables* t = Text::Find(v.textObject);
    if (t == nullptr) return;
    TextSettings& s = t->settings;

    Object* cursor = Widgets::FindCursor(self);
    const bool overCursor = cursor != nullptr && collisionEngine.Check(self, cursor);
    if (v.EnableHighlighting) v.colorBG = overCursor ? v.isHighlightColor : v.notHighlightColor;

    TabManager::Variables* m = TabManager::Find(Widgets::FindTabManager(self));
    auto focusedHere = [&] { return m != nullptr && m->Focused() == self; };
    if (focusedHere()) {
        // Reached by Tab (or Enter): the caret goes to the end, nothing
        // selected (everything, in a box that asks for it).
        if (!v.selected) {
            s.cursorLoc = static_cast<int>(t->text.size());
            s.selectedStart = v.selectAllOnFocus ? 0 : s.cursorLoc;
        }
        v.selected = true;
    } else {
        v.selected = false;
    }

    if (!inputHooks.windowActive()) {
        v.selected = false;
    } else {
        if (Mouse.Triggered(0)) {
            v.selected = overCursor;
            if (overCursor) v.snapCursor = false;
        }
        if (m != nullptr) {
            if (focusedHere() && !v.selected) {
                m->objectListIterator = m->objectList.end();
            } else if (!focusedHere() && v.selected) {
                for (auto it = m->objectList.begin(); it != m->objectList.end(); ++it)
                    if (*it == self) m->objectListIterator = it;
            }
        }
    }

    if (Mouse.DeltaX() != 0.0f || Mouse.DeltaY() != 0.0f) v.snapCursor = false;

    if (v.selected && v.snapCursor && cursor != nullptr) {
        if (D3DXVECTOR3* p = FindVariable<D3DXVECTOR3>(cursor, enum_position)) {
            p->x = v.position.x;
            p->y = v.position.y - v.size.y * 0.5f;
        }
    }
    Widgets::TextEditing::MouseCaret(*t, v.cursor);
    // The keys typed before the Enter are this box's; Enter then hands the
    // focus on.
    if (s.cursorLoc != -1 && v.selected) Widgets::TextEditing::Keys(*t, v.validCharacterList, false);
    if (v.selected && Keyboard.EnterTyped()) {
        v.selected = false;
        if (m != nullptr && focusedHere()) ++m->objectListIterator;  // past the last: no focus
        // The press is used up here: no later test this frame sees it as new,
        // and the widget now focused counts select as already held.
        Keyboard.UseUpEnter();
        Keyboard.UseUpTrigger(DIK_RETURN);
        if (m != nullptr) m->selectButtonWasPressed = true;
    }
    if (!v.selected) v.snapCursor = true;
    if (v.isSelectedColor && v.selected) v.colorBG = v.selectionColor;

    Layout(v, *t);
    Widgets::RaiseOwn(v.textObject, "CalcText", self);
    Widgets::TextEditing::PlaceCaret(*t, v.cursor);
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Widgets::TextEditing::Draw(self, v.textObject, v.position, v.size, v.texture, v.colorBG, v.selected, v.cursor);
}

}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "SingleLineTextBox", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("DoNothing", Event());
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("AddTabbing", &TextButton::AddTabbing);
    prototype->_AddEvent("ApplyNewSettings", &ApplyNewSettings);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("RemoveTabbing", &Button::RemoveTabbing);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_colorBG, v.colorBG);
    BindVariable(table, *prototype, enum_EnableHighlighting, v.EnableHighlighting);
    BindVariable(table, *prototype, enum_isHighlightColor, v.isHighlightColor);
    BindVariable(table, *prototype, enum_notHighlightColor, v.notHighlightColor);
    BindVariable(table, *prototype, enum_isSelectedColor, v.isSelectedColor);
    BindVariable(table, *prototype, enum_selectionColor, v.selectionColor);
    BindVariable(table, *prototype, enum_validCharacters, v.validCharacters);
    BindVariable(table, *prototype, enum_validCharacterList, v.validCharacterList);
    BindVariable(table, *prototype, enum_selected, v.selected);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_cursor, v.cursor);
    BindVariable(table, *prototype, enum_isButton, v.isButton);
    BindVariable(table, *prototype, enum_snapCursor, v.snapCursor);
    BindVariable(table, *prototype, enum_textObject, v.textObject);
}

}  // namespace ObjectData::SingleLineTextBox
