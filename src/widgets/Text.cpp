#include "widgets/Text.h"

#include "framework/engines/BuiltInEngines.h"
#include "framework/engines/ProfilerView.h"
#include "widgets/TextObject.h"

namespace ObjectData::Text {

namespace {

VariableOffsetTable table;

// One line of the profiler viewer, drawn with its text object on behalf of
// the "ProfilerDraw" engine: the line and its box written in, laid out,
// drawn, and the text emptied again.
void DrawProfilerLine(Entity* textObject, Entity* engine, const ProfilerTextLine& line) {
    auto* object = dynamic_cast<Object*>(textObject);
    std::string* text = FindVariable<std::string>(textObject, enum_text);
    TextSettings* s = object != nullptr ? GetTextSettings(object) : nullptr;
    if (text == nullptr || s == nullptr) return;
    *text = line.text;
    s->hAlign = 0;
    s->x = line.x;
    s->y = line.y;
    if (line.hasZ) s->z = line.z;
    s->width = line.width;
    s->height = line.height;
    s->charHeight = line.charHeight;
    if (s->information != nullptr) ::CalcText(*text, *s, *s->information);
    Entity::_DoEvent("GraphicsDraw", engine, textObject);
    if (std::string* after = FindVariable<std::string>(textObject, enum_text)) after->clear();
}

}  // namespace

TextSettings Variables::Defaults() {
    TextSettings s;
    s.hAlign = 0;
    s.vAlign = 0;
    s.multiLine = false;
    s.fixedWidth = true;
    s.x = s.y = 0.0f;
    s.width = s.height = 1.0f;
    s.z = 100.0f;
    s.charHeight = 0.05f;
    s.startLine = s.startCharacter = 0;
    s.cursorLoc = s.selectedStart = -1;
    s.font = "default";
    s.colorize = false;
    s.primaryColor = 0xFF000000u;
    s.secondaryColor = 0xFFFFFFFFu;
    s.primaryColorBack = 0xFFFFFFFFu;
    s.secondaryColorBack = 0xFF0000C0u;
    s.information = nullptr;
    return s;
}

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void CalcText(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    if (v.settings.information == nullptr) v.settings.information = new TextData();
    ::CalcText(v.text, v.settings, *v.settings.information);
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    DrawTextA(v.text, v.settings);
}

void BindTextVariables(VariableOffsetTable& t, const Entity& p, const Variables& v) {
    const TextSettings& s = v.settings;
    BindVariable(t, p, enum_hAlign, s.hAlign);
    BindVariable(t, p, enum_vAlign, s.vAlign);
    BindVariable(t, p, enum_multiLine, s.multiLine);
    BindVariable(t, p, enum_fixedWidth, s.fixedWidth);
    BindVariable(t, p, enum_x, s.x);
    BindVariable(t, p, enum_y, s.y);
    // The height has no program-wide number; it is reached through the record.
    BindVariable(t, p, enum_width, s.width);
    BindVariable(t, p, enum_z, s.z);
    BindVariable(t, p, enum_charHeight, s.charHeight);
    BindVariable(t, p, enum_startLine, s.startLine);
    BindVariable(t, p, enum_startCharacter, s.startCharacter);
    BindVariable(t, p, enum_cursorLoc, s.cursorLoc);
    BindVariable(t, p, enum_selectedStart, s.selectedStart);
    BindVariable(t, p, enum_font, s.font);
    BindVariable(t, p, enum_colorize, s.colorize);
    BindVariable(t, p, enum_primaryColor, s.primaryColor);
    BindVariable(t, p, enum_secondaryColor, s.secondaryColor);
    BindVariable(t, p, enum_primaryColorBack, s.primaryColorBack);
    BindVariable(t, p, enum_secondaryColorBack, s.secondaryColorBack);
    BindVariable(t, p, enum_information, s.information);
    BindVariable(t, p, enum_text, v.text);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Text", table);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Update", Event());
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("CalcText", &CalcText);
    ObjectTemplate::StartVariables(prototype, table);
    BindTextVariables(table, *prototype, prototype->vars);
    // The profiler viewer's text lines are drawn by this type.
    engineHooks.drawTextLine = &DrawProfilerLine;
}

}  // namespace ObjectData::Text
