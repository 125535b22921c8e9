#pragma once
// Test helper: the level editor screen built from the registered types in a
// clean entity world, driven by real key and mouse events through the input
// layer, with the user's level folder in a temporary folder. Types that
// other work registers later are stood in for while they are missing: the
// menu pointer (a plain pointer) and the grid's scroll bars (a record of
// value, max and ticks that counts its "UpdatePosition").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/Grid.h"
#include "editor/LevelEditor.h"
#include "editor/LevelEditorObjectList.h"
#include "framework/ExObject.h"
#include "framework/GameVariables.h"
#include "framework/Level.h"
#include "support/TempUserFolder.h"
#include "support/WidgetWorld.h"
#include "widgets/Text.h"

namespace editortest {

struct BarVariables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    float min = 0.0f;
    float max = 100.0f;
    std::int32_t ticks = 11;
    float value = 0.0f;
    int placed = 0;
};

struct Bar : Object {
    Bar() : Object(sizeof(Bar)) {}
    BarVariables vars;
};

inline VariableOffsetTable& BarTable() {
    static VariableOffsetTable table;
    return table;
}

inline void CopyBar(Entity* copy, const Entity* source) { ConstructVariables<BarVariables>(copy, source); }
inline void PlaceBar(Entity* self, Entity*) { ++VariablesOf<BarVariables>(self).placed; }

inline void RegisterStandInBar(const char* name) {
    auto* prototype = new Bar();
    prototype->_SetName(name);
    prototype->_type = name;
    prototype->_copy = &CopyBar;
    prototype->_free = &Entity::_CallUnload;
    prototype->_map = BarTable();
    prototype->_AddEvent("UpdatePosition", &PlaceBar);
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    ClearVariableTable(BarTable());
    BindVariable(BarTable(), *prototype, enum_position, prototype->vars.position);
    BindVariable(BarTable(), *prototype, enum_size, prototype->vars.size);
    BindVariable(BarTable(), *prototype, enum_min, prototype->vars.min);
    BindVariable(BarTable(), *prototype, enum_max, prototype->vars.max);
    BindVariable(BarTable(), *prototype, enum_ticks, prototype->vars.ticks);
    BindVariable(BarTable(), *prototype, enum_value, prototype->vars.value);
    Object::_IncludeObject(name, prototype);
}

// The editor's levels, and stand-ins for the types still missing.
inline void InstallEditorTypes() {
    Level::_FirstInit();
    if (!LevelTemplate::IsRegisteredType("MMCursor"))
        Object::_IncludeExObject("MMCursor", new ExObject("MMCursor", "Cursor", nullptr));
    if (!LevelTemplate::IsRegisteredType("gridSliderH")) {
        RegisterStandInBar("StandInBar");
        Object::_IncludeExObject("gridSliderH", new ExObject("gridSliderH", "StandInBar", nullptr));
        Object::_IncludeExObject("gridSliderV", new ExObject("gridSliderV", "StandInBar", nullptr));
    }
}

// The test-play screen as these tests see it: an empty level the editor
// switches to and back from. The screen itself plays the grid with the whole
// play world around it; the program's own scripted run plays it to its goal.
inline void StandInTestPlay() {
    if (auto found = Level::_levels.find("Sandbox"); found != Level::_levels.end()) {
        Entity::_Destroy(found->second);
        Level::_levels.erase(found);
    }
    world::RegisterLevel("Sandbox");
}

// Writes a level file of the given size (cells 0 but the start at (1, 1)).
inline void WriteLevel(const std::string& name, int width, int height, bool valid = false) {
    LevelCollision grid(width, height);
    grid.SetCell(1.0f, 1.0f, 101);
    grid.SetValidFlag(valid);
    ASSERT_TRUE(grid.Save(name + ".lvl"));
}

class EditorWorld : public widgettest::WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        savedName = EditorLevelName;
        EditorLevelName.clear();
        InstallEditorTypes();
    }
    void TearDown() override {
        WidgetWorld::TearDown();
        EditorLevelName = savedName;
    }

    // Opens the editor in a state of its own and runs its first frame.
    void OpenEditor() {
        editor = NewState("LevelEditor");
        EditorFrame();
    }
    void EditorFrame() {
        inputtest::PollAndFrame();
        editor->Update();
        State::EndOfFrame();
    }
    void EditorFrames(int n) {
        for (int i = 0; i < n; ++i) EditorFrame();
    }
    // Runs frames (at most limit) until the editor's state shows level `name`.
    bool EditorFramesUntil(const std::string& name, int limit) {
        for (int i = 0; i < limit && editor->GetLevelName() != name; ++i) {
            clock.Advance(16);
            EditorFrame();
        }
        return editor->GetLevelName() == name;
    }
    // A left click at game point (x, y): down in one frame, up in the next.
    void Click(float x, float y) {
        PointAt(x, y);
        EditorFrame();
        LeftButton(true);
        EditorFrame();
        LeftButton(false);
        EditorFrame();
    }

    Level* L() const { return editor->GetLevel(); }
    LevelData::LevelEditor::Variables& Vars() const { return *LevelData::LevelEditor::Find(L()); }
    Entity* Named(const char* name) const { return L()->GetMyObject(name); }
    ObjectData::Grid::Variables& Grid() const { return *ObjectData::Grid::Find(Named("EGrid")); }
    ObjectData::LevelEditorObjectList::Variables& Palette() const {
        return *ObjectData::LevelEditorObjectList::Find(Named("EObjList"));
    }
    std::string Label(const char* name) const { return ObjectData::Text::Find(Named(name))->text; }
    float BarValue(const char* bar, int number) const { return *FindVariable<float>(Named(bar), number); }
    int BarTicks(const char* bar) const { return *FindVariable<std::int32_t>(Named(bar), enum_ticks); }

    TempUserFolder folder;
    State* editor = nullptr;
    std::string savedName;
};

}  // namespace editortest
