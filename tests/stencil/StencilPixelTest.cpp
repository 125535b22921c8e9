// The stencil editor's screens and the instance editor drawn through the real
// renderer with the baked sheets, each at its window's size, read back as
// pixels: the four lists with a chosen row, the properties window on each
// tab, and the instance editor inspecting a player.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "stencil/InstanceEditor.h"
#include "stencil/StencilMenu.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "support/ScreenPixelWorld.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/WidgetSupport.h"

using editortest::Rgb;

namespace {

class StencilPixelTest : public editortest::ScreenPixelWorld {
protected:
    StencilPixelTest() : ScreenPixelWorld("stencil") {}

    // Raises an event on one of the screen's entities as its state would.
    void Raise(Entity* entity, const char* event) {
        State* remembered = State::_currentState;
        State::_currentState = screen;
        Widgets::RaiseOwn(entity, event, screen->GetLevel());
        State::_currentState = remembered;
    }

    static std::function<bool(const Rgb&)> Near(int r, int g, int b) {
        return [=](const Rgb& c) { return std::abs(c.r - r) < 16 && std::abs(c.g - g) < 16 && std::abs(c.b - b) < 16; };
    }
    static bool Ink(const Rgb& c) { return c.r + c.g + c.b < 300; }
    // The script face's thin strokes on a light plate.
    static bool Lettering(const Rgb& c) { return c.r + c.g + c.b < 450; }
    static bool Caption(const Rgb& c) { return Near(0xC4, 0xBD, 0xAD)(c); }
    static bool Light(const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; }
    static bool Backdrop(const Rgb& c) { return Near(0x70, 0x6D, 0x55)(c); }
};

TEST_F(StencilPixelTest, TheMainScreenShowsFourListsAndTheChosenRow) {
    Open("StencilEditor", 800, 600);
    auto* objects = ObjectData::StencilMenu::Find(screen->GetLevel()->GetMyObject("ObjectMenu"));
    ASSERT_NE(objects, nullptr);
    for (int i = 0; i < 3; ++i) screen->Update();
    // The third row chosen: its box has the keyboard.
    auto* chosen = ObjectData::SingleLineTextBox::Find(objects->myStencilList[2]);
    chosen->selected = true;
    chosen->colorBG = chosen->selectionColor;
    Draw("main");
    EXPECT_TRUE(Backdrop(At(0.0f, -0.46f))) << "the backdrop below the lists";
    const float x = objects->position.x + 0.08f;  // right of the short names, on the plain row
    EXPECT_TRUE(Near(120, 210, 240)(At(x, 0.4f))) << "a name row";
    EXPECT_TRUE(Light(At(x, 0.35f))) << "the chosen row";
    EXPECT_TRUE(Has(objects->position.x, 0.4f, 0.18f, 0.02f, &Ink)) << "the first name";
    auto* engines = ObjectData::StencilMenu::Find(screen->GetLevel()->GetMyObject("EngineMenu"));
    ASSERT_LT(engines->stencilNames.size(), 33u);
    EXPECT_TRUE(Near(196, 189, 173)(At(0.5f, -0.4f))) << "an empty row of the engines' list";
    for (float menuX : {-0.5f, -0.17f, 0.17f, 0.5f})
        EXPECT_TRUE(Has(menuX, 0.44f, 0.2f, 0.04f, &Caption)) << "caption " << menuX;
}

TEST_F(StencilPixelTest, ThePropertiesWindowShowsTheVariablesOnItsTabAndHidesThemOnTheOther) {
    Open("StencilObjPropLevel", 700, 600);
    Level* level = screen->GetLevel();
    auto* props = LevelData::StencilObjPropLevel::Find(level);
    props->objName = "Player";
    props->objType = "OBJECT";
    Raise(level, "Init");
    Entity* table = level->GetMyObject("VariableTable");
    auto* panel = ObjectData::StencilObjProp::Find(table);
    panel->hide = false;
    panel->clickedStencil = "Add Stencil";
    Raise(table, "Behavior");
    ASSERT_EQ(panel->myTypeList.size(), 1u);
    Draw("variables", 3);
    EXPECT_TRUE(Has(0.0f, 0.45f, 0.3f, 0.05f, &Caption)) << "the title";
    EXPECT_TRUE(Has(-0.5f, 0.45f, 0.14f, 0.045f, &Lettering)) << "the VARIABLES tab's word";
    EXPECT_TRUE(Has(-0.3f, 0.45f, 0.14f, 0.045f, &Lettering)) << "the functions tab's word";
    EXPECT_TRUE(Near(220, 150, 150)(At(-0.32f, 0.3875f))) << "the type row";
    EXPECT_TRUE(Near(150, 150, 150)(At(0.45f, 0.3875f))) << "the value row";
    EXPECT_TRUE(Has(-0.4f, 0.3875f, 0.18f, 0.02f, &Ink)) << "\"int\"";
    for (float x : {0.3f, 0.4f, 0.5f}) EXPECT_FALSE(Backdrop(At(x, 0.45f))) << "button " << x;

    panel->hide = true;
    Raise(table, "Behavior");
    Draw("functions", 3);
    EXPECT_TRUE(Backdrop(At(-0.32f, 0.3875f))) << "the rows moved away";
    // The buttons moved away too; the functions panel's own stand where they were.
    EXPECT_NEAR(FindVariable<D3DXVECTOR3>(panel->addButton, enum_position)->x, 10.3f, 1e-4f) << "and the buttons";
}

TEST_F(StencilPixelTest, TheInstanceEditorShowsAPlayersVariables) {
    MakePlayer("Player_0", 3.0f, 2.0f);
    Open("InstanceEditor", 800, 600);
    Level* level = screen->GetLevel();
    auto* v = LevelData::InstanceEditor::Find(level);
    StencilRows::SetText(v->StateNameTextBox, "Play");
    StencilRows::SetText(v->InstanceNameTextBox, "Player_0");
    v->clickedStencil = "confirm";
    Raise(level, "Update");
    Raise(level, "Update");
    ASSERT_NE(v->theAlmightlyInstance, nullptr);
    Draw("instance", 3);
    EXPECT_TRUE(Backdrop(At(-0.45f, -0.45f)));
    // Types and names left-aligned in their columns, the values wide.
    EXPECT_TRUE(Has(-0.56f, 0.35f, 0.14f, 0.02f, &Ink)) << "the first row's type";
    EXPECT_TRUE(Has(-0.25f, 0.35f, 0.14f, 0.02f, &Ink)) << "the first row's name";
    EXPECT_TRUE(Light(At(0.58f, 0.35f))) << "the first value's box, to its right end";
    int filled = 0;
    for (Object* cell : v->ValueList) filled += StencilRows::Text(cell).empty() ? 0 : 1;
    EXPECT_GT(filled, 10) << "values read from the player";
    EXPECT_TRUE(Has(0.2f, 0.325f, 0.28f, 0.02f, &Ink)) << "the second value";
    EXPECT_FALSE(Backdrop(At(v->InstanceNamePos.x + 0.32f + 0.25f, 0.4f))) << "the confirm button";
}

}  // namespace
