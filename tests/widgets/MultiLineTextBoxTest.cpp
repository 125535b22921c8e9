// The multi-line text box: its bars' ranges follow the text, typing scrolls
// the text and its bar, a dragged bar scrolls the text, and a click outside
// takes the caret away.
#include <gtest/gtest.h>

#include <string>

#include "widgets/ScrollBar.h"
#include "widgets/TextBox.h"
#include "widgets/TextBoxWorld.h"

using namespace widgettest;

namespace {

class MultiLineTest : public TextBoxTest {
protected:
    Object* MakeBox() {
        box = Make("TextBox");
        auto& v = *ObjectData::TextBox::Find(box);
        v.position = {0.0f, 0.0f, 0.0f};
        // A text area 0.275 high in lines 0.05 high: 5 lines show.
        v.size = {0.6f, 0.325f};
        TextOf(box).settings.charHeight = 0.05f;
        Frame();
        return box;
    }
    Widgets::ScrollBar::Variables& VBar() { return *Widgets::ScrollBar::Find(ObjectData::TextBox::Find(box)->vScroll); }
    Widgets::ScrollBar::Variables& HBar() { return *Widgets::ScrollBar::Find(ObjectData::TextBox::Find(box)->hScroll); }
    Object* box = nullptr;
};

TEST_F(MultiLineTest, TheVerticalBarHasATickPerLineBeyondThoseShown) {
    MakeBox();
    TextOf(box).text = "1\n2\n3";
    Frame();
    EXPECT_EQ(VBar().ticks, 1);
    EXPECT_FLOAT_EQ(VBar().value, 0.0f);
    TextOf(box).text = "1\n2\n3\n4\n5\n6\n7\n8";
    Frame();
    EXPECT_EQ(VBar().ticks, 4);
    EXPECT_FLOAT_EQ(VBar().max, 3.0f);
    // Drag the thumb to the bottom: the first line shown follows.
    auto& thumb = Variable<D3DXVECTOR3>(VBar().dragButton, enum_position);
    PointAt(thumb.x, thumb.y);
    LeftButton(true);
    Frame();
    PointAt(thumb.x, -0.3f);
    Frame();
    LeftButton(false);
    Frame();
    EXPECT_FLOAT_EQ(VBar().value, 3.0f);
    EXPECT_EQ(TextOf(box).settings.startLine, 3);
}

TEST_F(MultiLineTest, TypingPastTheRightEdgeScrollsAndMovesTheHorizontalBar) {
    MakeBox();
    Click(0.0f, 0.05f);
    ASSERT_TRUE(ObjectData::TextBox::Find(box)->selected);
    for (int i = 0; i < 40; ++i) Tap(SDL_SCANCODE_E);
    const auto& s = TextOf(box).settings;
    EXPECT_EQ(TextOf(box).text, std::string(40, 'e'));
    EXPECT_GT(s.startCharacter, 0) << "the caret went out of view";
    EXPECT_FLOAT_EQ(HBar().value, static_cast<float>(s.startCharacter));
    // Enter types a line break; Up goes back a line.
    Tap(SDL_SCANCODE_RETURN);
    Step("ib", box);
    Tap(SDL_SCANCODE_UP);
    EXPECT_EQ(TextOf(box).text, std::string(40, 'e') + "\nib");
    EXPECT_EQ(s.cursorLoc, 2);
    // A click outside takes the caret away: typing does nothing.
    Click(0.0f, 0.4f);
    EXPECT_EQ(s.cursorLoc, -1);
    Tap(SDL_SCANCODE_Q);
    EXPECT_EQ(TextOf(box).text, std::string(40, 'e') + "\nib");
}

}  // namespace
