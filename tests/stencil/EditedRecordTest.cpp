// A registered type's record edited through its properties window by clicks
// and typed keys only: a variable added, a default changed, a variable
// removed, a handler made a helper with another name and return type and
// its body typed into the code block, each committed. What the panels hold
// then, written as a script, converted and reverted, must be the record with
// exactly those edits.
#include <gtest/gtest.h>

#include <algorithm>

#include "converter/RegisteredRecords.h"
#include "converter/ThereAndBack.h"
#include "framework/Globals.h"
#include "stencil/FunctionWorld.h"
#include "support/TempFolder.h"

using namespace functest;

namespace {

constexpr float kButtonsY = 0.45f;
constexpr float kApplyX = 0.5f, kAddX = 0.3f, kDeleteX = 0.4f;
constexpr float kVariablesTabX = -0.5f, kFunctionsTabX = -0.3f;

class EditedRecordTest : public FunctionWorld {
protected:
    void SetUp() override {
        FunctionWorld::SetUp();
        savedDirectory = Globals.workingDirectory;
        ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder.Path()));
    }
    void TearDown() override {
        CopyPath(Globals.workingDirectory, savedDirectory);
        FunctionWorld::TearDown();
    }

    static CppData RegisteredRecord(const std::string& typeName) {
        for (const registered::Record& made : registered::EveryRegisteredType())
            if (made.record.kind == "Object" && made.record.typeName == typeName) return made.record;
        ADD_FAILURE() << typeName << " is not a registered object type";
        return {};
    }

    // The properties window of record's type, both panels holding record,
    // as F6 on the stencil list opens it.
    void OpenProperties(const CppData& record) {
        window = NewState("StencilObjPropLevel");
        Level* level = window->GetLevel();
        *FindVariable<std::string>(level, enum_objName) = record.typeName;
        *FindVariable<std::string>(level, enum_objType) = "OBJECT";
        Variables().ObjData = record;
        Functions().ObjData = record;
        State::_currentState = window;
        level->DoEvent("Init");
        State::_currentState = nullptr;
        AllFrame();
        panel = static_cast<Object*>(level->GetMyObject("FunctionTable"));
    }
    ObjectData::StencilObjProp::Variables& Variables() const {
        return *ObjectData::StencilObjProp::Find(window->GetLevel()->GetMyObject("VariableTable"));
    }
    ObjectData::StencilFuncProp::Variables& Functions() const {
        return *ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"));
    }

    void TapTimes(SDL_Scancode key, std::size_t times) {
        for (std::size_t i = 0; i < times; ++i) Tap(key);
    }
    // A click at the left end of a row, the old text erased, text typed.
    void Retype(Object* row, const std::string& text) {
        const D3DXVECTOR3 p = Place(row);
        const D3DXVECTOR2 size = *FindVariable<D3DXVECTOR2>(row, enum_size);
        AllClick(p.x - size.x * 0.5f + 0.01f, p.y);
        const std::size_t old = RowText(row).size() + 2;
        TapTimes(SDL_SCANCODE_DELETE, old);
        TapTimes(SDL_SCANCODE_BACKSPACE, old);
        ASSERT_EQ(RowText(row), "");
        Type(text);
        ASSERT_EQ(RowText(row), text);
    }
    void Choose(Object* row) {
        const D3DXVECTOR3 p = Place(row);
        AllClick(p.x, p.y);
    }

    TempFolder folder;
    std::string savedDirectory;
    State* window = nullptr;
};

struct Case {
    const char* typeName;
    bool moreThanTheRows;  // more variables than the panel makes rows for
};

TEST_F(EditedRecordTest, EveryEditMadeInThePanelsAndTheCodeBlockComesBackAndNothingElse) {
    for (const Case& c : {Case{"Camera", false}, Case{"Player", true}}) {
        SCOPED_TRACE(c.typeName);
        const CppData original = RegisteredRecord(c.typeName);
        ASSERT_EQ(original.varNames.size() > static_cast<std::size_t>(ObjectData::StencilObjProp::kRowsFromRecord),
                  c.moreThanTheRows)
            << original.varNames.size() << " variables";
        ASSERT_FALSE(original.functions.empty());
        OpenProperties(original);
        CppData expected = original;
        expected.kind = "OBJECT";

        // The variables: as many rows as the panel makes, not the record's size.
        AllClick(kVariablesTabX, kButtonsY);
        const std::size_t rows =
            std::min(original.varNames.size(), static_cast<std::size_t>(ObjectData::StencilObjProp::kRowsFromRecord));
        ASSERT_EQ(Variables().myObjValueList.size(), rows);
        // A new default for the last number that has a row...
        std::size_t changed = rows;
        for (std::size_t i = rows; i-- > 0;)
            if (original.varTypes[i] == "int" || original.varTypes[i] == "float") {
                changed = i;
                break;
            }
        ASSERT_LT(changed, rows) << "no number among the rows";
        Retype(Variables().myObjValueList[changed], "7");
        expected.varValues[changed] = "7";
        // ...the first other variable removed...
        const std::size_t removed = changed == 0 ? 1 : 0;
        Choose(Variables().myVariableList[removed]);
        ASSERT_EQ(Variables().lastSelectedVariable, static_cast<std::int32_t>(removed));
        AllClick(kDeleteX, kButtonsY);
        for (auto* list : {&expected.varNames, &expected.varTypes, &expected.varValues})
            list->erase(list->begin() + static_cast<std::ptrdiff_t>(removed));
        // ...and one added: it stands after the rows, before any variable
        // that has none.
        AllClick(kAddX, kButtonsY);
        ASSERT_EQ(Variables().myVariableList.size(), rows);
        Retype(Variables().myVariableList.back(), "pokes");
        Retype(Variables().myObjValueList.back(), "3");
        const auto at = static_cast<std::ptrdiff_t>(rows - 1);
        expected.varTypes.insert(expected.varTypes.begin() + at, "int");
        expected.varNames.insert(expected.varNames.begin() + at, "pokes");
        expected.varValues.insert(expected.varValues.begin() + at, "3");
        AllClick(kApplyX, kButtonsY);

        // A handler made a helper of another name and return type in its
        // rows and committed, then its body typed into its code block and
        // committed there.
        AllClick(kFunctionsTabX, kButtonsY);
        ASSERT_EQ(Functions().myFuncNameList.size(), original.functions.size());
        const std::size_t edited = original.functions.size() / 2;
        Retype(Functions().myFuncTypeList[edited], "HELPER");
        Retype(Functions().myReturnList[edited], "int");
        Retype(Functions().myFuncNameList[edited], "OnPoke");
        AllClick(kApplyX, kButtonsY);
        ASSERT_EQ(Functions().ObjData.functions[edited].name, "OnPoke");
        Choose(Functions().myFuncNameList[edited]);
        Tap(SDL_SCANCODE_F6);
        State* block = ShowingOne("StencilCodeBlock");
        ASSERT_NE(block, nullptr);
        auto& d = *LevelData::StencilCodeBlock::Find(block->GetLevel());
        ASSERT_FALSE(d.fail);
        AllClick(0.0f, 0.0f);  // into the text box
        auto& body = *ObjectData::Text::Find(ObjectData::TextBox::Find(d.codeBlock)->textObject);
        const std::size_t old = body.text.size() + 2;
        TapTimes(SDL_SCANCODE_DELETE, old);
        TapTimes(SDL_SCANCODE_BACKSPACE, old);
        ASSERT_EQ(body.text, "");
        Type("self->pokes = self->pokes - 1; return self->pokes;");
        AllClick(kApplyX, kButtonsY);
        expected.functions[edited].functionType = "HELPER";
        expected.functions[edited].returnType = "int";
        expected.functions[edited].name = "OnPoke";
        expected.functions[edited].code = "self->pokes = self->pokes - 1; return self->pokes;";
        EXPECT_EQ(d.ObjData.functions[edited].code, expected.functions[edited].code);

        // What the two panels committed, as one record: exactly the edits.
        CppData committed = Variables().ObjData;
        committed.functions = Functions().ObjData.functions;
        EXPECT_EQ(CppConvert::ScriptText(committed), CppConvert::ScriptText(expected))
            << thereandback::Difference(CppConvert::ScriptText(expected), CppConvert::ScriptText(committed));
        // And the converter gives it back as it was written.
        thereandback::Check(folder.Path(), committed);

        State::SetLevel(block, "Quit");
        State::SetLevel(window, "Quit");
        AllFrame();
        AllFrame();
    }
}

}  // namespace
