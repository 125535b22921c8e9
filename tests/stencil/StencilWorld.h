#pragma once
// Test helper: the stencil editor's screens built from the registered types
// in a clean entity world, each in a state of its own, run frame by frame as
// the game thread runs every state, and driven by real key and mouse events
// through the input layer. The newest window has the input focus.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/ExObject.h"
#include "framework/Level.h"
#include "stencil/StencilMenu.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "stencil/StencilStore.h"
#include "support/TempUserFolder.h"
#include "support/WidgetWorld.h"
#include "widgets/ScrollBar.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"

namespace stenciltest {

// Whether a one-line text shows every letter within its box (a letter that
// overflows the box is laid out hidden, at the edge).
inline bool ShowsWhole(const ObjectData::Text::Variables& t) {
    const TextData* d = t.settings.information;
    if (d == nullptr || t.settings.charHeight <= 0.0f || d->letterPlaces.size() < t.text.size()) return false;
    const float half = t.settings.width / t.settings.charHeight / 2.0f + 1e-3f;
    for (std::size_t i = 0; i < t.text.size(); ++i)
        if (d->letterPlaces[i].x + d->letterWidths[i] / 2.0f > half || d->letterPlaces[i].x < -half) return false;
    return true;
}

class StencilWorld : public widgettest::WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        // Committed stencils are saved in a data folder of the test's own.
        user.emplace();
        StencilStore::Reload();
        Level::_FirstInit();
        // Sizes given in pixels are taken against the test window's 720 rows.
        State::hooks.renderHeight = [](const State*) { return 720; };
        GiveTheNewestStateTheFocus();
    }

    void TearDown() override {
        WidgetWorld::TearDown();
        StencilStore::Reload();
        user.reset();
    }

    void AllFrames(int n) {
        for (int i = 0; i < n; ++i) AllFrame();
    }
    void AllClick(float x, float y) {
        PointAt(x, y);
        AllFrame();
        LeftButton(true);
        AllFrame();
        LeftButton(false);
        AllFrame();
    }
    void AllTap(SDL_Scancode key) {
        Key(key, true);
        AllFrame();
        Key(key, false);
        AllFrame();
    }

    // The running states that show level, oldest first.
    static std::vector<State*> Showing(const std::string& level) {
        std::vector<State*> found;
        for (State* s : State::_list)
            if (s->GetLevelName() == level && !s->Deleted()) found.push_back(s);
        return found;
    }

    static ObjectData::StencilMenu::Variables& Menu(State* s, const char* name) {
        return *ObjectData::StencilMenu::Find(s->GetLevel()->GetMyObject(name));
    }
    static Widgets::ScrollBar::Variables& Bar(Object* slider) { return *Widgets::ScrollBar::Find(slider); }
    static const D3DXVECTOR3& Colour(Object* row) { return ObjectData::SingleLineTextBox::Find(row)->colorBG; }
    static const D3DXVECTOR3& Position(Object* o) { return *FindVariable<D3DXVECTOR3>(o, enum_position); }

    // A properties window for name of kind, as F6 opens it.
    State* OpenProperties(const std::string& name, const std::string& kind) {
        State* s = NewState("StencilObjPropLevel");
        auto* v = LevelData::StencilObjPropLevel::Find(s->GetLevel());
        v->objName = name;
        v->objType = kind;
        s->GetLevel()->DoEvent("Init");
        return s;
    }
    static ObjectData::StencilObjProp::Variables& Panel(State* s, const char* name = "VariableTable") {
        return *ObjectData::StencilObjProp::Find(s->GetLevel()->GetMyObject(name));
    }
    static std::vector<std::string> Texts(const std::vector<Object*>& rows) {
        std::vector<std::string> texts;
        for (Object* row : rows) texts.push_back(StencilRows::Text(row));
        return texts;
    }
    // What the report line of a properties window says.
    static std::string Report(State* s) {
        return StencilRows::LabelText(LevelData::StencilObjPropLevel::Find(s->GetLevel())->report);
    }

    std::optional<TempUserFolder> user;
};

}  // namespace stenciltest
