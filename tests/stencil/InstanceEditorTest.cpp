// The instance editor: the rows and the scroll bar over an inspected entity's
// variables, live values, unknown names, and an entity (or its whole state)
// that goes away between two frames.
#include <gtest/gtest.h>

#include <set>

#include "converter/CppConvert.h"
#include "stencil/InstanceEditor.h"
#include "stencil/StencilWorld.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"

using namespace stenciltest;
using LevelData::InstanceEditor::kDashes;
using LevelData::InstanceEditor::kRows;

namespace {

// A fixture object type with n variables: n - 1 whole numbers and a position.
template <int N>
struct Many {
    std::int32_t values[N - 1]{};
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
};

template <int N>
void RegisterMany(const char* name) {
    static VariableOffsetTable table;
    Object* slot = nullptr;
    auto* prototype = ObjectTemplate::Begin<Many<N>>(slot, name, table);
    prototype->_AddEvent("Load", Event());
    ObjectTemplate::StartVariables(prototype, table);
    for (int i = 0; i < N - 1; ++i) {
        prototype->vars.values[i] = i;
        BindVariable(table, *prototype, 300 + i, prototype->vars.values[i]);
    }
    BindVariable(table, *prototype, enum_position, prototype->vars.position);
    Object::_IncludeObject(name, slot);
}

template <int N>
Many<N>& VarsOf(Entity* e) {
    return VariablesOf<Many<N>>(e);
}

// A fixture type with an array, a float and a position, at numbers 350 on.
struct Mixed {
    std::int32_t marks[3]{4, 5, 6};
    float speed = 1.5f;
    D3DXVECTOR3 position{1.0f, 2.0f, 0.0f};
};

void RegisterMixed(const char* name) {
    static VariableOffsetTable table;
    Object* slot = nullptr;
    auto* prototype = ObjectTemplate::Begin<Mixed>(slot, name, table);
    prototype->_AddEvent("Load", Event());
    ObjectTemplate::StartVariables(prototype, table);
    BindVariable(table, *prototype, 350, prototype->vars.marks);
    BindVariable(table, *prototype, 351, prototype->vars.speed);
    BindVariable(table, *prototype, enum_position, prototype->vars.position);
    Object::_IncludeObject(name, slot);
}

class InstanceEditorTest : public StencilWorld {
protected:
    void SetUp() override {
        StencilWorld::SetUp();
        RegisterMany<45>("Wide45");
        RegisterMany<5>("Narrow5");
        editor = NewState("InstanceEditor");
        AllFrame();
    }
    LevelData::InstanceEditor::Variables& V() { return *LevelData::InstanceEditor::Find(editor->GetLevel()); }
    void Inspect(const std::string& stateName, const std::string& entity) {
        StencilRows::SetText(V().StateNameTextBox, stateName);
        StencilRows::SetText(V().InstanceNameTextBox, entity);
        V().clickedStencil = "confirm";
        AllFrame();
    }
    std::vector<std::string> Column(const std::vector<Object*>& cells) {
        std::vector<std::string> texts;
        for (Object* cell : cells) texts.push_back(StencilRows::LabelText(cell));
        return texts;
    }
    static std::vector<std::string> Sorted(const char* type) {
        const std::set<std::string> names = cppConvert.GetVarList(type);
        return {names.begin(), names.end()};
    }
    Widgets::ScrollBar::Variables& Slider() { return Bar(V().slider); }
    void ExpectDashes(int from) {
        for (int r = from; r < kRows; ++r) {
            EXPECT_EQ(StencilRows::LabelText(V().TypeList[r]), kDashes) << r;
            EXPECT_EQ(StencilRows::LabelText(V().NameList[r]), kDashes) << r;
            EXPECT_EQ(StencilRows::Text(V().ValueList[r]), "") << r;
        }
    }
    std::string ValueOf(const std::string& name) {
        for (int r = 0; r < kRows; ++r)
            if (StencilRows::LabelText(V().NameList[r]) == name) return StencilRows::Text(V().ValueList[r]);
        return "(not shown)";
    }

    State* editor = nullptr;
};

TEST_F(InstanceEditorTest, ItStartsOnDashesAndAConfirmClickInspectsTheNamedEntity) {
    EXPECT_EQ(V().TypeList.size(), 30u);
    ExpectDashes(0);
    Object* wide = Make("Wide45", "W");
    StencilRows::SetText(V().StateNameTextBox, "Menu");
    StencilRows::SetText(V().InstanceNameTextBox, "W");
    const D3DXVECTOR3 confirm = Position(V().confirmButton);
    AllClick(confirm.x, confirm.y);
    EXPECT_EQ(V().curState, "Menu");
    EXPECT_EQ(V().curObjName, "W");
    EXPECT_EQ(V().theAlmightlyInstance, wide);
    EXPECT_EQ(Column(V().NameList)[0], Sorted("Wide45")[0]);
}

TEST_F(InstanceEditorTest, FortyFiveVariablesScrollByFifteenThenFiveShowDashesFromRowFive) {
    Make("Wide45", "W");
    Inspect("Menu", "W");
    const std::vector<std::string> names = Sorted("Wide45");
    ASSERT_EQ(names.size(), 45u);
    EXPECT_FLOAT_EQ(Slider().max, 15.0f);
    EXPECT_EQ(Slider().ticks, 16);
    Slider().value = 15.0f;
    Widgets::RaiseOwn(V().slider, "UpdatePosition", V().slider);
    AllFrame();
    for (int r = 0; r < kRows; ++r) {
        EXPECT_EQ(StencilRows::LabelText(V().NameList[r]), names[15 + r]) << r;
        // The type the entity's own type holds the variable as.
        std::string typeText;
        LevelData::InstanceEditor::VariableAddress(V().theAlmightlyInstance, names[15 + r], typeText);
        EXPECT_EQ(StencilRows::LabelText(V().TypeList[r]), typeText) << r;
    }

    Make("Narrow5", "N");
    Inspect("Menu", "N");
    EXPECT_FLOAT_EQ(Slider().max, 0.0f);
    EXPECT_EQ(Slider().ticks, 1);
    EXPECT_EQ(Column(V().NameList)[4], Sorted("Narrow5")[4]);
    ExpectDashes(5);
}

TEST_F(InstanceEditorTest, LiveValuesFollowTheEntityAndAnUnknownStateNameChangesNothing) {
    Object* narrow = Make("Narrow5", "N");
    Inspect("Menu", "N");
    VarsOf<5>(narrow).position = D3DXVECTOR3(1.0f, 2.0f, 0.0f);
    AllFrame();
    EXPECT_EQ(ValueOf("position"), "Vec3(1.000000, 2.000000, 0.000000)");
    VarsOf<5>(narrow).position.x = 4.5f;
    AllFrame();
    EXPECT_EQ(ValueOf("position"), "Vec3(4.500000, 2.000000, 0.000000)");

    const std::vector<std::string> before = Column(V().NameList);
    Inspect("NoSuchState", "N");
    EXPECT_EQ(V().curState, "Menu");
    EXPECT_EQ(Column(V().NameList), before);
    EXPECT_EQ(V().theAlmightlyInstance, narrow);
}

TEST_F(InstanceEditorTest, ANameWithoutANumberOrThatTheTypeLacksIsListedButNotRead) {
    Object* narrow = Make("Narrow5", "N");
    CppData record;
    record.typeName = "Narrow5";
    record.varNames = {"aaNoNumberHere", "counter"};
    record.varTypes = {"int", "int"};
    cppConvert.ScanFileForVariables(record);
    Inspect("Menu", "N");
    ASSERT_EQ(Column(V().NameList)[0], "aaNoNumberHere");
    EXPECT_EQ(ValueOf("aaNoNumberHere"), "");
    EXPECT_EQ(ValueOf("counter"), "") << "the type has no counter";
    EXPECT_EQ(ValueOf("position"), "Vec3(0.000000, 0.000000, 0.000000)");
    EXPECT_NE(narrow, nullptr);
}

// A value typed into its cell and left with Enter is the entity's from then
// on, until the game changes it; an array shows its elements; a vector's
// value shows whole in its cell.
TEST_F(InstanceEditorTest, AnEditedValueStaysUntilTheGameChangesItAndArraysAndVectorsShowWhole) {
    RegisterMixed("Mixed");
    Object* mixed = Make("Mixed", "M");
    Inspect("Menu", "M");
    const std::string marks = VariableName(350), speed = VariableName(351);
    EXPECT_EQ(ValueOf(marks), "4, 5, 6");
    EXPECT_EQ(ValueOf("position"), "Vec3(1.000000, 2.000000, 0.000000)");
    for (int r = 0; r < kRows; ++r) {
        if (StencilRows::LabelText(V().NameList[r]) != "position") continue;
        auto* box = ObjectData::SingleLineTextBox::Find(V().ValueList[r]);
        const ObjectData::Text::Variables& t = *ObjectData::Text::Find(box->textObject);
        EXPECT_TRUE(ShowsWhole(t)) << t.text;
    }

    int row = -1;
    for (int r = 0; r < kRows; ++r)
        if (StencilRows::LabelText(V().NameList[r]) == speed) row = r;
    ASSERT_GE(row, 0);
    Object* cell = V().ValueList[static_cast<std::size_t>(row)];
    const D3DXVECTOR3 at = Position(cell);
    AllClick(at.x + 0.2f, at.y);  // right of the text: the caret at its end
    for (int i = 0; i < 12; ++i) AllTap(SDL_SCANCODE_BACKSPACE);
    for (SDL_Scancode key : {SDL_SCANCODE_2, SDL_SCANCODE_PERIOD, SDL_SCANCODE_2, SDL_SCANCODE_5}) AllTap(key);
    AllFrames(3);
    EXPECT_EQ(StencilRows::Text(cell), "2.25") << "the cell keeps what is typed into it";
    EXPECT_FLOAT_EQ(VariablesOf<Mixed>(mixed).speed, 1.5f) << "nothing is set before the cell is left";
    AllTap(SDL_SCANCODE_RETURN);
    EXPECT_FLOAT_EQ(VariablesOf<Mixed>(mixed).speed, 2.25f);
    AllFrames(3);
    EXPECT_EQ(ValueOf(speed), "2.250000") << "it stays";
    VariablesOf<Mixed>(mixed).speed = 3.0f;
    AllFrame();
    EXPECT_EQ(ValueOf(speed), "3.000000") << "until the game changes it";
}

TEST_F(InstanceEditorTest, AnEntityFreedBetweenFramesAndThenItsWholeStateClosedLeaveDashes) {
    Object* wide = Make("Wide45", "W");
    Inspect("Menu", "W");
    ASSERT_EQ(V().theAlmightlyInstance, wide);
    wide->_Delete();
    State::EndOfFrame();  // freed here, before the editor's next frame
    AllFrame();
    ExpectDashes(0);
    EXPECT_EQ(V().theAlmightlyInstance, nullptr);
    EXPECT_FLOAT_EQ(Slider().max, 0.0f);
    // Another object under the same name is not the one inspected.
    Make("Narrow5", "W");
    AllFrame();
    ExpectDashes(0);

    State* other = NewState("Menu2");
    Object::MakeCopy(other, "Wide45", "Other");
    Inspect("Menu2", "Other");
    EXPECT_EQ(Column(V().NameList)[0], Sorted("Wide45")[0]);
    State::SetLevel(other, "Quit");
    AllFrame();  // the state closes and is freed at the frame's end
    AllFrame();
    ExpectDashes(0);
    EXPECT_EQ(V().theAlmightlyInstance, nullptr);
}

}  // namespace
