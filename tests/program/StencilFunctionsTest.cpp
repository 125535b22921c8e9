// The real program started on the stencil editor, driven only by key and
// mouse events through the input layer: a function added and named in a
// stencil's functions tab, its code block opened with F6 and a body
// committed there.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "program/CommandLine.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilFuncProp.h"
#include "support/ScriptedProgram.h"

namespace {

using scripted::ProgramRun;

std::filesystem::path Source(const std::string& relative) { return std::filesystem::path(GF_SOURCE_DIR) / relative; }

// The taps that type text: letters (capitals with Shift), digits, blanks,
// ";" and <Key> for a key by its name, each let go before the next.
std::string Taps(const std::string& text) {
    std::ostringstream steps;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string key;
        bool shift = false;
        if (c == '<') {
            const std::size_t end = text.find('>', i);
            key = text.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == ' ') {
            key = "Space";
        } else if (c >= 'A' && c <= 'Z') {
            key = std::string(1, c);
            shift = true;
        } else {
            key = std::string(1, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        }
        if (shift) steps << "press Left_Shift\n";
        steps << "tap " << key << "\nwait 4\n";
        if (shift) steps << "release Left_Shift\n";
    }
    return steps.str();
}

// The script with each "type WORDS" line spelt out.
std::string Expand(const std::string& script) {
    std::istringstream lines(script);
    std::string line, out;
    while (std::getline(lines, line)) {
        out += line.rfind("type ", 0) == 0 ? Taps(line.substr(5)) : line + "\n";
    }
    return out;
}

State* Showing(const std::string& level) {
    for (State* state : State::_list)
        if (state->GetLevelName() == level && !state->Deleted()) return state;
    return nullptr;
}

class StencilFunctionsTest : public ProgramRun {
protected:
    void TearDown() override {
        SetStartScreen("");
        ProgramRun::TearDown();
    }
};

TEST_F(StencilFunctionsTest, AFunctionNamedInThePanelGetsItsBodyInTheCodeBlock) {
    SetStartScreen("StencilEditor");
    std::string panelName, dialogName, dialogBody, openedBody = "-", panelBody;
    bool openedFailed = true;
    const int status = Run(
        Expand(scripted::ReadFile(Source("tests/program/scripts/stencil_functions.script"))),
        {{"committedName",
          [&] {
              State* window = Showing("StencilObjPropLevel");
              auto* panel = window != nullptr
                                ? ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"))
                                : nullptr;
              if (panel != nullptr && !panel->ObjData.functions.empty()) panelName = panel->ObjData.functions[0].name;
          }},
         {"opened",
          [&] {
              State* block = Showing("StencilCodeBlock");
              auto* d = block != nullptr ? LevelData::StencilCodeBlock::Find(block->GetLevel()) : nullptr;
              if (d == nullptr) return;
              openedFailed = d->fail;
              openedBody = d->myFunc.code;
          }},
         {"committedBody", [&] {
              State* block = Showing("StencilCodeBlock");
              auto* d = block != nullptr ? LevelData::StencilCodeBlock::Find(block->GetLevel()) : nullptr;
              if (d != nullptr && !d->ObjData.functions.empty()) {
                  dialogName = d->ObjData.functions[0].name;
                  dialogBody = d->ObjData.functions[0].code;
              }
              State* window = Showing("StencilObjPropLevel");
              auto* panel = window != nullptr
                                ? ObjectData::StencilFuncProp::Find(window->GetLevel()->GetMyObject("FunctionTable"))
                                : nullptr;
              if (panel != nullptr && !panel->ObjData.functions.empty()) panelBody = panel->ObjData.functions[0].code;
              SetQuitting(nullptr);
          }}});
    EXPECT_EQ(runner->Failure(), "");
    EXPECT_TRUE(runner->Done()) << "stopped after frame " << runner->Frames();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(panelName, "OnPoke");
    EXPECT_FALSE(openedFailed);
    EXPECT_EQ(openedBody, "") << "a new function's body is empty";
    EXPECT_EQ(dialogName, "OnPoke");
    EXPECT_EQ(dialogBody, "return 1;");
    EXPECT_EQ(panelBody, "return 1;");
}

}  // namespace
