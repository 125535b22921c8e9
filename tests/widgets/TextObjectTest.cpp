// The text functions reach a text widget through its variables.
#include <gtest/gtest.h>

#include <string>

#include "framework/Object.h"
#include "framework/Variables.h"
#include "widgets/TextObject.h"

namespace {

struct TextVariables {
    std::string text = "ab\ncd";
    TextSettings settings;  // hAlign .. information
};

struct TextWidget : Object {
    TextWidget() : Object(sizeof(TextWidget)) {
        _map = table;
        _startVar = reinterpret_cast<char*>(&vars);
        ClearVariableTable(table);
        BindVariable(table, *this, enum_text, vars.text);
        BindVariable(table, *this, enum_hAlign, vars.settings.hAlign);
        BindVariable(table, *this, enum_information, vars.settings.information);
    }
    TextVariables vars;
    VariableOffsetTable table;
};

TEST(TextObjectTest, LaysOutIntoTheWidgetsCachedLayout) {
    TextWidget w;
    TextData layout;
    w.vars.settings.multiLine = true;
    w.vars.settings.width = w.vars.settings.height = w.vars.settings.charHeight = 1.0f;
    EXPECT_EQ(GetTextSettings(&w), &w.vars.settings);
    CalcText(&w);  // no cached layout yet: nothing to do
    w.vars.settings.information = &layout;
    CalcText(&w);
    EXPECT_EQ(layout.lineStarts, (std::vector<int>{0, 3, 6}));
}

TEST(TextObjectTest, ObjectsWithoutTheVariablesAreLeftAlone) {
    TextWidget w;
    ClearVariableTable(w.table);
    EXPECT_EQ(GetTextSettings(&w), nullptr);
    CalcText(&w);
}

}  // namespace
