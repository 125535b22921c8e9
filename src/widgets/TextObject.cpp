#include "widgets/TextObject.h"

#include "framework/Object.h"
#include "framework/Variables.h"

TextSettings* GetTextSettings(Object* o) { return FindVariable<TextSettings>(o, enum_hAlign); }

void CalcText(Object* o) {
    std::string* text = FindVariable<std::string>(o, enum_text);
    TextSettings* settings = GetTextSettings(o);
    if (!text || !settings || !HasVariable(o, enum_information) || !settings->information) return;
    CalcText(*text, *settings, *settings->information);
}
