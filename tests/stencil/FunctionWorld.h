#pragma once
// Test helper: the functions panel and the code-block and text-box windows
// built from the registered types in a clean entity world, every state run
// frame by frame as the game thread runs them, driven by real key and mouse
// events through the input layer. The newest window has the input focus.
// The panel stands in a plain host state with a pointer, placed and started
// the way its properties window does it. Built on the stencil screens' world.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "converter/CppData.h"
#include "framework/Level.h"
#include "platform/window/StateWindows.h"
#include "stencil/StencilCodeBlock.h"
#include "stencil/StencilFuncProp.h"
#include "stencil/StencilWorld.h"
#include "stencil/TextEditor.h"
#include "support/WidgetWorld.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"
#include "widgets/TextBox.h"

namespace functest {

// The stencil editor's level types, when the world has none yet.
inline void InstallStencilLevels() {
    if (!Level::_IsRegistered("StencilCodeBlock")) Level::_FirstInit();
}

// A record of n functions "f0".."f<n-1>", each with a body of its own.
inline CppData Functions(int n) {
    CppData record;
    for (int i = 0; i < n; ++i) {
        CppFunctions f;
        f.functionType = i % 2 == 0 ? "EVENT" : "HELPER";
        f.returnType = i % 2 == 0 ? "void" : "int";
        f.name = "f" + std::to_string(i);
        f.code = "self->counter = " + std::to_string(i) + ";\n";
        record.functions.push_back(f);
    }
    return record;
}

class FunctionWorld : public stenciltest::StencilWorld {
protected:
    void SetUp() override {
        StencilWorld::SetUp();
        Make("Cursor", "Cursor");
    }

    // The functions panel "FunctionTable" of the host state on record, its
    // kind and name set, started by "Init" from the host's level.
    ObjectData::StencilFuncProp::Variables& OpenPanel(const CppData& record = {}) {
        panel = Make("StencilFuncProp", "FunctionTable");
        ObjectData::StencilFuncProp::Variables* v = ObjectData::StencilFuncProp::Find(panel);
        EXPECT_NE(v, nullptr);
        v->ObjData = record;
        v->objName = "Player";
        v->objType = "OBJECT";
        v->hideOffset = 10.0f;
        // Raised in the host's frame, as its properties window raises it.
        State::_currentState = state;
        Entity::_DoEvent("Init", state->GetLevel(), panel);
        State::_currentState = nullptr;
        AllFrame();
        return *v;
    }
    ObjectData::StencilFuncProp::Variables& Panel() const { return *ObjectData::StencilFuncProp::Find(panel); }

    // A key pressed in one frame and let go in the next.
    void Tap(SDL_Scancode key, Uint16 mod = KMOD_NONE) {
        inputtest::Key(key, true, mod);
        AllFrame();
        inputtest::Key(key, false, mod);
        AllFrame();
    }
    void Type(const std::string& letters) {
        for (char c : letters) {
            const bool upper = c >= 'A' && c <= 'Z';
            const char lower = upper ? static_cast<char>(c - 'A' + 'a') : c;
            const SDL_Scancode key = lower == ' '   ? SDL_SCANCODE_SPACE
                                     : lower == ';' ? SDL_SCANCODE_SEMICOLON
                                     : lower == '=' ? SDL_SCANCODE_EQUALS
                                     : lower == '>' ? SDL_SCANCODE_PERIOD
                                     : lower == '-' ? SDL_SCANCODE_MINUS
                                     : lower >= '1' && lower <= '9'
                                         ? static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (lower - '1'))
                                     : lower == '0' ? SDL_SCANCODE_0
                                                    : static_cast<SDL_Scancode>(SDL_SCANCODE_A + (lower - 'a'));
            if (upper || c == '>') inputtest::Key(SDL_SCANCODE_LSHIFT, true);
            Tap(key);
            if (upper || c == '>') inputtest::Key(SDL_SCANCODE_LSHIFT, false);
        }
    }

    // The first running state that shows level, or null.
    static State* ShowingOne(const std::string& level) {
        const std::vector<State*> found = Showing(level);
        return found.empty() ? nullptr : found.front();
    }

    // The text a row or text box shows.
    static std::string RowText(Entity* row) {
        auto* box = ObjectData::SingleLineTextBox::Find(row);
        return box != nullptr ? ObjectData::Text::Find(box->textObject)->text : std::string();
    }
    static void SetRowText(Entity* row, const std::string& text) {
        ObjectData::Text::Find(ObjectData::SingleLineTextBox::Find(row)->textObject)->text = text;
    }
    static D3DXVECTOR3 Place(Entity* e) { return *FindVariable<D3DXVECTOR3>(e, enum_position); }
    static std::string Label(Entity* e) {
        const char** label = FindVariable<const char*>(e, enum_texture);
        return label != nullptr && *label != nullptr ? *label : "";
    }

    // The panel's buttons by label.
    void PressPanelButton(Object* button) {
        const D3DXVECTOR3 p = Place(button);
        AllClick(p.x, p.y);
    }
    // Chooses row index of the panel's name column with a click.
    void ChooseName(std::size_t index) {
        const D3DXVECTOR3 p = Place(Panel().myFuncNameList.at(index));
        AllClick(p.x + 0.15f, p.y);
    }

    Object* panel = nullptr;
};

}  // namespace functest
