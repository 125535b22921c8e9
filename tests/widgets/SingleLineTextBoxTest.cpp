// The one-line text box driven through the real input layer: one table of
// keys and clicks per frame for its editing and focus, its table of allowed
// characters, Enter handing the focus on, and the parked pointer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "widgets/TextBoxWorld.h"
#include "widgets/TextButton.h"

using namespace widgettest;

namespace {

TEST_F(TextBoxTest, EditingTable) {
    struct Case {
        const char* name;
        const char* start;
        const char* valid;  // validCharacters, "" for all
        const char* steps;  // space separated
        const char* text;
        int caret, anchor, focus;
    };
    const Case cases[] = {
        {"tab puts the caret at the end", "abc", "", "tab d", "abcd", 4, 4, 0},
        {"shift and left twice select", "abcd", "", "tab shift-left shift-left x", "abx", 3, 3, 0},
        {"shift-left then left collapses", "abcd", "", "tab shift-left left", "abcd", 2, 2, 0},
        {"delete at the end does nothing", "abc", "", "tab delete", "abc", 3, 3, 0},
        {"backspace erases before the caret", "abc", "", "tab left back", "ac", 1, 1, 0},
        {"backspace at the start does nothing", "abc", "", "tab left left left back", "abc", 0, 0, 0},
        {"delete erases at the caret", "abc", "", "tab left left delete", "ac", 1, 1, 0},
        {"ctrl drops typing", "abc", "", "tab ctrl-x", "abc", 3, 3, 0},
        {"digits only refuse letters", "", "0123456789", "tab a7b0", "70", 2, 2, 0},
        {"tab stays refused even when listed", "1", "1\t", "tab 1 tab", "11", 2, 2, 0},
        {"a click outside gives the focus up", "abc", "", "tab click-out", "abc", 3, -1, -1},
        {"an anchor off the text is no selection", "abc", "", "tab left anchor-none x", "abxc", 3, 3, 0},
        {"an anchor off the text and backspace", "abc", "", "tab anchor-none back back back back", "", 0, 0, 0},
        {"a click at the start puts the caret there", "abc", "", "click-start z", "zabc", 1, 1, 0},
        {"a drag selects, typing replaces", "abc", "", "drag-all q", "q", 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Object* box = Box(0.0f);
        auto& v = *ObjectData::SingleLineTextBox::Find(box);
        v.validCharacters = c.valid;
        box->DoEvent("ApplyNewSettings");
        TextOf(box).text = c.start;
        Frame();
        std::istringstream steps(c.steps);
        for (std::string step; steps >> step;) Step(step, box);
        const auto& s = TextOf(box).settings;
        EXPECT_EQ(TextOf(box).text, c.text);
        EXPECT_EQ(s.cursorLoc, c.caret);
        EXPECT_EQ(s.selectedStart, c.anchor);
        EXPECT_EQ(Focused(), c.focus);
        EXPECT_EQ(v.selected, c.focus == 0);
        box->_Delete();
        boxes.clear();
        Frame();
    }
}

TEST_F(TextBoxTest, TheTableKeepsToItsHundredAndTwentyEightEntries) {
    Object* box = Box(0.0f);
    auto& v = *ObjectData::SingleLineTextBox::Find(box);
    // Codes past the table, a control code and DEL are never entered.
    v.validCharacters = std::string("a\x01\x7f") + "\xc3\xa9\xff";
    box->DoEvent("ApplyNewSettings");
    int allowed = 0;
    for (bool entry : v.validCharacterList) allowed += entry ? 1 : 0;
    EXPECT_EQ(allowed, 1);
    EXPECT_TRUE(v.validCharacterList['a']);
    v.validCharacters.clear();
    box->DoEvent("ApplyNewSettings");
    allowed = 0;
    for (bool entry : v.validCharacterList) allowed += entry ? 1 : 0;
    EXPECT_EQ(allowed, 127 - 32) << "all printable codes, no control codes";
    EXPECT_FALSE(v.validCharacterList['\t']);
    EXPECT_FALSE(v.validCharacterList['\n']);
}

TEST_F(TextBoxTest, EnterHandsTheFocusOnOnceAndNothingElseActsOnThatPress) {
    Box(0.1f);
    Box(-0.1f);
    Frame();
    Tap(SDL_SCANCODE_TAB);
    ASSERT_EQ(Focused(), 0);
    Key(SDL_SCANCODE_RETURN, true);
    Frame();
    EXPECT_EQ(Focused(), 1) << "the same Enter went on past the next box";
    EXPECT_TRUE(ObjectData::SingleLineTextBox::Find(boxes[1])->selected);
    for (int i = 0; i < 40; ++i) Frame();
    EXPECT_EQ(Focused(), 1) << "a held Enter acts again";
    Key(SDL_SCANCODE_RETURN, false);
    Frame();
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Focused(), -1) << "Enter in the last box leaves no focus";
    EXPECT_FALSE(ObjectData::SingleLineTextBox::Find(boxes[1])->selected);
}

TEST_F(TextBoxTest, EnterFromABoxDoesNotPressTheButtonThatReceivesTheFocus) {
    Box(0.1f);
    Object* button = Make("TextButton");
    auto& b = VariablesOf<ObjectData::TextButton::Variables>(button);
    b.position = {0.0f, -0.2f, 0.0f};
    b.size = {0.3f, 0.1f};
    static int logics = 0;
    logics = 0;
    button->SetEvent(
        "Logic", +[](Entity*, Entity*) { ++logics; });
    Frame();
    Tap(SDL_SCANCODE_TAB);
    ASSERT_EQ(Focused(), 0);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Manager().Focused(), button);
    EXPECT_EQ(logics, 0) << "the Enter that left the box pressed the button";
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(logics, 1);
}

TEST_F(TextBoxTest, TheFocusedBoxParksThePointerUnderItUntilTheMouseMoves) {
    Object* box = Box(0.1f);
    auto& v = *ObjectData::SingleLineTextBox::Find(box);
    Frame();
    Tap(SDL_SCANCODE_TAB);
    auto& pointer = Variable<D3DXVECTOR3>(cursor, enum_position);
    Frame();
    EXPECT_NEAR(pointer.y, 0.1f - 0.04f, 1e-5f);
    EXPECT_TRUE(v.snapCursor);
    PointAt(0.3f, 0.3f);
    Frame();
    EXPECT_FALSE(v.snapCursor);
    EXPECT_NEAR(pointer.y, 0.3f, 0.003f);
    // Highlighting and the focus colour.
    v.EnableHighlighting = true;
    v.isSelectedColor = true;
    Frame();
    EXPECT_EQ(v.colorBG, v.selectionColor);
    Click(0.0f, 0.1f);
    v.isSelectedColor = false;
    Frame();
    EXPECT_EQ(v.colorBG, v.isHighlightColor);
    PointAt(0.0f, -0.3f);
    Frame();
    EXPECT_EQ(v.colorBG, v.notHighlightColor);
}

}  // namespace
