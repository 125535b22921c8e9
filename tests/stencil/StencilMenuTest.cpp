// The stencil editor's main screen: its four lists over fixture names and
// the real registries, choosing a row with the pointer, F6 opening the
// properties windows, and the two stencil buttons.
#include <gtest/gtest.h>

#include "framework/Level.h"
#include "platform/input/KeyCodes.h"
#include "stencil/StencilButton.h"
#include "stencil/StencilEditor.h"
#include "stencil/StencilWorld.h"
#include "widgets/Button.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/Text.h"

using namespace stenciltest;

namespace {

std::vector<std::string> Names(int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back("Type" + std::to_string(100 + i));
    return names;
}

// Scrolls a list's bar to its k-th step, as dragging its thumb there would.
void ScrollTo(Object* slider, int k) {
    Widgets::ScrollBar::Variables& bar = *Widgets::ScrollBar::Find(slider);
    bar.value = bar.ticks > 1 ? bar.max * static_cast<float>(k) / static_cast<float>(bar.ticks - 1) : 0.0f;
    Widgets::RaiseOwn(slider, "UpdatePosition", slider);
}

class StencilMenuTest : public StencilWorld {
protected:
    // A list of the given names in the test's own screen.
    ObjectData::StencilMenu::Variables& MakeList(const std::vector<std::string>& names, const char* name = "List") {
        Object* menu = Make("StencilMenu", name);
        auto& v = *ObjectData::StencilMenu::Find(menu);
        v.position.x = -0.5f;
        menu->SetSize(170, 504);
        v.name = "Objects";
        v.type = "OBJECT";
        v.stencilNames = names;
        Widgets::RaiseOwn(menu, "Init", state->GetLevel());
        Frame();
        return v;
    }

    // The stencil editor with names in its object list; its first frame run.
    State* OpenEditor(const std::vector<std::string>& objectNames) {
        State* editor = NewState("StencilEditor");
        Entity* menu = editor->GetLevel()->GetMyObject("ObjectMenu");
        Menu(editor, "ObjectMenu").stencilNames = objectNames;
        Widgets::RaiseOwn(menu, "Init", editor->GetLevel());
        AllFrame();
        return editor;
    }
    static float RowY(int row) { return 0.4f - 0.025f * static_cast<float>(row); }
};

TEST_F(StencilMenuTest, TheBarsRangeTheRowsAndTheirColoursFollowTheNumberOfNames) {
    struct Case {
        int names;
        float max;
        int ticks;
    };
    for (const Case c : {Case{20, 0.0f, 1}, Case{33, 0.9999f, 1}, Case{40, 7.9999f, 8}}) {
        SCOPED_TRACE(c.names);
        auto& v = MakeList(Names(c.names), ("List" + std::to_string(c.names)).c_str());
        EXPECT_FLOAT_EQ(Bar(v.stencilSlider).max, c.max);
        EXPECT_EQ(Bar(v.stencilSlider).ticks, c.ticks);
        ASSERT_EQ(v.myStencilList.size(), 33u);
        for (int r = 0; r < 33; ++r) {
            const bool named = r < c.names;
            EXPECT_EQ(StencilRows::Text(v.myStencilList[r]), named ? Names(c.names)[r] : "") << r;
            EXPECT_EQ(Colour(v.myStencilList[r]), named ? v.BLUE : v.RED) << r;
            EXPECT_NEAR(Position(v.myStencilList[r]).y, RowY(r), 1e-5f) << r;
        }
        EXPECT_EQ(ObjectData::Text::Find(v.stencilName)->text, "#0xC4BDAD#Objects");
    }
}

TEST_F(StencilMenuTest, ScrolledToItsEndAListOfFortyShowsEntriesSevenToThirtyNine) {
    auto& v = MakeList(Names(40));
    ScrollTo(v.stencilSlider, 7);
    Frame();
    EXPECT_EQ(ObjectData::StencilMenu::FirstShown(v), 7);
    for (int r = 0; r < 33; ++r) EXPECT_EQ(StencilRows::Text(v.myStencilList[r]), Names(40)[7 + r]) << r;
    ScrollTo(v.stencilSlider, 0);
    Frame();
    EXPECT_EQ(StencilRows::Text(v.myStencilList[0]), Names(40)[0]);
}

TEST_F(StencilMenuTest, AClickOnAScrolledRowAndF6OpenTheEntryItShowsUnderTheListsKind) {
    State* editor = OpenEditor(Names(40));
    ScrollTo(Menu(editor, "ObjectMenu").stencilSlider, 5);
    AllFrame();
    AllClick(-0.5f, RowY(3));
    EXPECT_EQ(Menu(editor, "ObjectMenu").selectedStencil, 8);
    AllTap(SDL_SCANCODE_F6);
    const std::vector<State*> opened = Showing("StencilObjPropLevel");
    ASSERT_EQ(opened.size(), 1u);
    auto* properties = LevelData::StencilObjPropLevel::Find(opened[0]->GetLevel());
    EXPECT_EQ(properties->objName, Names(40)[8]);
    EXPECT_EQ(properties->objType, "OBJECT");
    EXPECT_EQ(ObjectData::Text::Find(properties->titleText)->text, "#0xC4BDAD#" + Names(40)[8]);
}

// The rows are labels: typing, erasing and Tab change nothing, the chosen
// row stays chosen, and F6 opens the name it shows.
TEST_F(StencilMenuTest, TheRowsTakeNoKeysAndF6OpensTheChosenName) {
    State* editor = OpenEditor(Names(10));
    AllClick(-0.5f, RowY(2));
    for (SDL_Scancode key :
         {SDL_SCANCODE_Z, SDL_SCANCODE_Q, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_DELETE, SDL_SCANCODE_TAB})
        AllTap(key);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(StencilRows::Text(Menu(editor, "ObjectMenu").myStencilList[r]), Names(10)[r]);
    EXPECT_EQ(Menu(editor, "ObjectMenu").selectedStencil, 2);
    AllTap(SDL_SCANCODE_F6);
    const std::vector<State*> opened = Showing("StencilObjPropLevel");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(LevelData::StencilObjPropLevel::Find(opened[0]->GetLevel())->objName, Names(10)[2]);
}

// A name longer than its row is shown whole, in smaller letters; the screen
// says which keys it answers.
TEST_F(StencilMenuTest, LongNamesFitTheirRowsAndTheScreenShowsItsKeys) {
    const std::vector<std::string> names{"CustomLevelSelector", "LevelEditorCreateConfirmSaveAs", "Spring"};
    State* editor = OpenEditor(names);
    for (std::size_t r = 0; r < names.size(); ++r) {
        auto* box = ObjectData::SingleLineTextBox::Find(Menu(editor, "ObjectMenu").myStencilList[r]);
        const ObjectData::Text::Variables& t = *ObjectData::Text::Find(box->textObject);
        ASSERT_EQ(t.text, names[r]);
        EXPECT_TRUE(ShowsWhole(t)) << names[r];
        EXPECT_LE(t.settings.width, box->size.x) << names[r];
    }
    bool keysShown = false;
    for (Object* o : editor->Objects())
        if (const auto* t = ObjectData::Text::Find(o))
            keysShown = keysShown || t->text.find("F6: properties") != std::string::npos;
    EXPECT_TRUE(keysShown) << "the screen says what F6 does";
}

TEST_F(StencilMenuTest, F6OpensOneWindowPerListWithAChosenRowInTheListsOrderAndNoneWithoutOne) {
    State* editor = OpenEditor(Names(40));
    AllTap(SDL_SCANCODE_F6);
    EXPECT_TRUE(Showing("StencilObjPropLevel").empty()) << "no row chosen";
    ScrollTo(Menu(editor, "ObjectMenu").stencilSlider, 7);
    AllFrame();
    AllTap(SDL_SCANCODE_F6);
    EXPECT_TRUE(Showing("StencilObjPropLevel").empty()) << "scrolled, still no row chosen";

    // Rows chosen in the engine and object lists.
    for (const char* list : {"EngineMenu", "ObjectMenu"}) {
        auto& menu = Menu(editor, list);
        menu.chosenRow = 1;
        Widgets::RaiseOwn(editor->GetLevel()->GetMyObject(list), "Behavior", editor->GetLevel());
    }
    Key(SDL_SCANCODE_F6, true);
    AllFrame();
    Key(SDL_SCANCODE_F6, false);
    const std::vector<State*> opened = Showing("StencilObjPropLevel");
    ASSERT_EQ(opened.size(), 2u);
    const auto& first = *LevelData::StencilObjPropLevel::Find(opened[0]->GetLevel());
    const auto& second = *LevelData::StencilObjPropLevel::Find(opened[1]->GetLevel());
    EXPECT_EQ(first.objType, "OBJECT");
    EXPECT_EQ(first.objName, Names(40)[8]);
    EXPECT_EQ(second.objType, "ENGINE");
    EXPECT_EQ(second.objName, Menu(editor, "EngineMenu").stencilNames[1]);
}

TEST_F(StencilMenuTest, TheListsHoldTheRegisteredNamesSortedWithTheirCaptions) {
    State* editor = NewState("StencilEditor");
    AllFrame();
    for (const auto& place : LevelData::StencilEditor::kMenus) {
        SCOPED_TRACE(place.object);
        const auto& menu = Menu(editor, place.object);
        EXPECT_EQ(menu.type, place.kind);
        EXPECT_EQ(menu.name, place.caption);
        EXPECT_EQ(menu.stencilNames, LevelData::StencilEditor::RegisteredNames(place.kind));
        EXPECT_FALSE(menu.stencilNames.empty());
        EXPECT_TRUE(std::is_sorted(menu.stencilNames.begin(), menu.stencilNames.end()));
    }
    const auto& objects = Menu(editor, "ObjectMenu").stencilNames;
    EXPECT_NE(std::find(objects.begin(), objects.end(), "Player"), objects.end());
    const auto& levels = Menu(editor, "LevelMenu").stencilNames;
    EXPECT_NE(std::find(levels.begin(), levels.end(), "StencilEditor"), levels.end());
}

int hovers = 0;
void CountHover(Entity*, Entity*) { ++hovers; }

TEST_F(StencilMenuTest, AnAddStencilButtonRaisesHoverWhileHoveredAndClosesItsWindowOnAClick) {
    Make("MMCursor", "Cursor");
    Object* button = Make("AddStencilButton");
    button->SetEvent("Hover", &CountHover);
    hovers = 0;
    const D3DXVECTOR3 at = Position(button);
    PointAt(at.x, at.y);
    Frame();
    Frame();
    Frame();
    EXPECT_EQ(hovers, 3);
    EXPECT_EQ(state->GetNextLevelName(), state->GetLevelName());
    // The press frame, without the end-of-frame removals that free the state.
    LeftButton(true);
    inputtest::PollAndFrame();
    state->Update();
    EXPECT_TRUE(state->Deleted() || state->GetNextLevelName() == "Quit");
}

TEST_F(StencilMenuTest, AStencilButtonWritesItsLabelIntoItsMasterInAnotherStateToo) {
    State* other = NewState("Menu");
    inputHooks.windowActive = [] { return true; };
    Object* panel = Object::MakeCopy(other, "StencilObjProp", "Panel");
    Make("MMCursor", "Cursor");
    Object* button = Make("StencilButton");
    auto& b = VariablesOf<ObjectData::Button::Variables>(button);
    EXPECT_STREQ(b.texture, "hostGameButton");
    b.texture = "Apply changes";
    b.master = panel;
    PointAt(b.position.x, b.position.y);
    Frame();
    Click(b.position.x, b.position.y);
    EXPECT_EQ(ObjectData::StencilObjProp::Find(panel)->clickedStencil, "Apply changes");
}

}  // namespace
