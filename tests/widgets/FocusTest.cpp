// The focus manager and the button step, frame by frame through the real
// input layer: Tab, the direction and select repeat filters, the hand-over
// between pointer and focus, and a focused widget that goes away.
#include <gtest/gtest.h>

#include <vector>

#include "support/WidgetWorld.h"
#include "widgets/TabManager.h"
#include "widgets/TextButton.h"

using namespace widgettest;

namespace {

int& Logics() {
    static int n = 0;
    return n;
}
void CountLogic(Entity*, Entity*) { ++Logics(); }

class FocusTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        Logics() = 0;
        cursor = Make("Cursor", "Cursor");
        // Three buttons in a column, top to bottom.
        for (int i = 0; i < 3; ++i) {
            Object* b = Make("TextButton");
            B(b).position = {0.0f, 0.2f - 0.2f * static_cast<float>(i), 0.0f};
            B(b).size = {0.4f, 0.15f};
            b->SetEvent("Logic", &CountLogic);
            buttons.push_back(b);
        }
    }
    static ObjectData::TextButton::Variables& B(Entity* b) { return VariablesOf<ObjectData::TextButton::Variables>(b); }
    ObjectData::TabManager::Variables& M() {
        return *ObjectData::TabManager::Find(state->level->GetMyObject("TabManager"));
    }
    // The index of the focused button, -1 for none.
    int Focused() {
        Entity* f = M().Focused();
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i] == f) return static_cast<int>(i);
        return -1;
    }
    void Tab() {
        Key(SDL_SCANCODE_TAB, true);
        Frame();
        Key(SDL_SCANCODE_TAB, false);
        Frame();
    }

    Object* cursor = nullptr;
    std::vector<Object*> buttons;
};

TEST_F(FocusTest, EveryFocusableButtonEnrolsInTheOneManagerInOrder) {
    ASSERT_NE(state->level->GetMyObject("TabManager"), nullptr);
    std::vector<Entity*> listed(M().objectList.begin(), M().objectList.end());
    EXPECT_EQ(listed, std::vector<Entity*>(buttons.begin(), buttons.end()));
    EXPECT_EQ(Focused(), -1);
}

TEST_F(FocusTest, TabWalksTheButtonsInEnrolmentOrderAndWraps) {
    Frame();
    for (int expected : {0, 1, 2, 0}) {
        Tab();
        EXPECT_EQ(Focused(), expected);
    }
    // The focused button shows as hovered and draws the pointer onto itself.
    EXPECT_TRUE(B(buttons[0]).hover);
    EXPECT_FALSE(B(buttons[1]).hover);
    EXPECT_FLOAT_EQ(Variable<D3DXVECTOR3>(cursor, enum_position).y, 0.2f);
    EXPECT_EQ(Logics(), 0);
}

TEST_F(FocusTest, InputHeldFromThePreviousScreenDoesNothingOnTheFirstFrame) {
    // A fresh screen: nothing of the previous one's input acts until let go.
    Key(SDL_SCANCODE_DOWN, true);
    Key(SDL_SCANCODE_RETURN, true);
    Frame();
    EXPECT_EQ(Focused(), 0) << "a direction brings the focus to the first button";
    Frame();
    EXPECT_EQ(Focused(), 0) << "the held direction moved the focus";
    EXPECT_EQ(Logics(), 0) << "the held select pressed the button";
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(FocusTest, AHeldDirectionMovesOnItsFirstFrameThenOn31AndEveryThirdFrame) {
    Tab();
    ASSERT_EQ(Focused(), 0);
    Key(SDL_SCANCODE_DOWN, true);
    std::vector<int> moves;
    int before = Focused();
    for (int frame = 1; frame <= 40; ++frame) {
        Frame();
        if (Focused() != before) moves.push_back(frame);
        before = Focused();
    }
    EXPECT_EQ(moves, (std::vector<int>{1, 31, 34, 37, 40}));
    // Down from the bottom button wraps to the top one.
    EXPECT_EQ(Focused(), 2);  // 0 -> 1 -> 2 -> 0 -> 1 -> 2
}

TEST_F(FocusTest, AHeldSelectFiresOnItsFirstFrameThenEveryFrameFrom21) {
    Tab();
    std::vector<int> fired;
    Key(SDL_SCANCODE_RETURN, true);
    for (int frame = 1; frame <= 24; ++frame) {
        const int before = Logics();
        Frame();
        if (Logics() != before) {
            fired.push_back(frame);
            EXPECT_TRUE(B(buttons[0]).triggered);
        }
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 21, 22, 23, 24}));
    EXPECT_EQ(Clicks(), 5);
}

TEST_F(FocusTest, OneDirectionMovesTheFocusOnceThoughTwoButtonsSeeIt) {
    Tab();
    Key(SDL_SCANCODE_DOWN, true);
    Frame();
    // The first button hands the focus on and the second shows it at once;
    // the second's own pass sees the move already made.
    EXPECT_EQ(Focused(), 1);
    EXPECT_FALSE(B(buttons[0]).hover);
    // From the next frame, with the held direction filtered, it shows the focus.
    Frame();
    EXPECT_EQ(Focused(), 1);
    EXPECT_TRUE(B(buttons[1]).hover);
}

TEST_F(FocusTest, MovingThePointerOverAFocusedButtonReleasesTheFocusAndSkipsThatFramesMouseTest) {
    Tab();
    ASSERT_EQ(Focused(), 0);
    PointAt(0.05f, 0.21f);  // over the focused button
    Frame();
    EXPECT_EQ(Focused(), -1);
    EXPECT_FALSE(B(buttons[0]).hover) << "the mouse test ran in the frame the focus was released";
    Frame();  // the pointer still: now the pointer works the button
    EXPECT_TRUE(B(buttons[0]).hover);
}

TEST_F(FocusTest, WithAWidgetFocusedThePointerDoesNotHoverAnother) {
    Tab();
    Tab();
    Tab();
    ASSERT_EQ(Focused(), 2);
    // The top button's pass runs while the bottom one still holds the focus.
    PointAt(0.0f, 0.2f);
    Frame();
    EXPECT_FALSE(B(buttons[0]).hover);
    EXPECT_EQ(Focused(), -1) << "the moved pointer took control back";
}

TEST_F(FocusTest, UnloadingTheFocusedButtonLeavesNoFocus) {
    Tab();
    Tab();
    ASSERT_EQ(Focused(), 1);
    buttons[1]->_Delete();
    Frame();
    EXPECT_EQ(M().objectList.size(), 2u);
    EXPECT_FALSE(M().HasFocus());
    // An unfocused button that is not the first leaves the list too.
    buttons[2]->_Delete();
    Frame();
    ASSERT_EQ(M().objectList.size(), 1u);
    EXPECT_EQ(M().objectList.front(), buttons[0]);
}

}  // namespace
