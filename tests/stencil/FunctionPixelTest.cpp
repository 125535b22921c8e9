// The functions panel, the code block in both its states and the text-box
// screen drawn through the real renderer with the baked sheets at their
// windows' sizes, read back as pixels.
#include <gtest/gtest.h>

#include "stencil/FunctionWorld.h"
#include "support/ScreenPixelWorld.h"

using namespace editortest;

namespace {

class FunctionPixelTest : public ScreenPixelWorld {
protected:
    FunctionPixelTest() : ScreenPixelWorld("function") {}
    void SetUp() override {
        ScreenPixelWorld::SetUp();
        functest::InstallStencilLevels();
    }
    // Runs the window's level for a frame (its engines, so its widgets take
    // their look), without drawing.
    void Run() {
        screen->Update();
        State::EndOfFrame();
    }
    static bool Near(const Rgb& c, int r, int g, int b) {
        return std::abs(c.r - r) < 18 && std::abs(c.g - g) < 18 && std::abs(c.b - b) < 18;
    }
    static bool Black(const Rgb& c) { return c.r + c.g + c.b < 120; }
    static bool Olive(const Rgb& c) { return Near(c, 0x70, 0x6D, 0x55); }
    static bool Parchment(const Rgb& c) { return Near(c, 196, 189, 173); }
};

TEST_F(FunctionPixelTest, TheFunctionsPanelShowsItsRowsInThreeColumns) {
    // A properties window whose functions panel holds three functions when
    // the window starts it.
    Open("StencilObjPropLevel", 700, 600);
    Level* level = screen->GetLevel();
    *FindVariable<std::string>(level, enum_objName) = "Player";
    Object* panel = static_cast<Object*>(level->GetMyObject("FunctionTable"));
    ASSERT_NE(ObjectData::StencilFuncProp::Find(panel), nullptr);
    ObjectData::StencilFuncProp::Find(panel)->ObjData = functest::Functions(3);
    State* remembered = State::_currentState;
    State::_currentState = screen;
    level->DoEvent("Init");
    State::_currentState = remembered;
    Run();
    Draw();
    EXPECT_TRUE(Olive(At(-0.55f, -0.4f))) << "the backdrop";
    auto& v = *ObjectData::StencilFuncProp::Find(panel);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        for (Object* row : {v.myFuncTypeList[i], v.myReturnList[i], v.myFuncNameList[i]}) {
            const D3DXVECTOR3 p = *FindVariable<D3DXVECTOR3>(row, enum_position);
            const float w = FindVariable<D3DXVECTOR2>(row, enum_size)->x;
            // The row's plate toward its right end, its name's letters at its left.
            EXPECT_TRUE(Near(At(p.x + w * 0.4f, p.y), 220, 150, 150)) << p.x;
            EXPECT_TRUE(Has(p.x - w * 0.4f, p.y, w * 0.15f, 0.02f, &Black)) << p.x;
        }
    }
    EXPECT_TRUE(Olive(At(-0.05f, 0.3875f - 0.025f * 4))) << "no row below the last function";
    for (float x : {0.3f, 0.4f, 0.5f}) EXPECT_FALSE(Olive(At(x, 0.45f))) << "a button at " << x;
}

TEST_F(FunctionPixelTest, TheCodeBlockShowsTitleBodyAndConfirmWhenTheFunctionIsFound) {
    Open("StencilFuncPropLevel", 700, 600);
    Object* panel = Object::MakeCopy(screen, "StencilFuncProp", "FunctionTable");
    ObjectData::StencilFuncProp::Find(panel)->ObjData = functest::Functions(3);
    State* host = screen;
    Open("StencilCodeBlock", 700, 600);
    auto* d = LevelData::StencilCodeBlock::Find(screen->GetLevel());
    d->objName = "Player";
    d->functionIndex = 1;
    d->desiredStencilName = "f1";
    State* remembered = State::_currentState;
    State::_currentState = screen;
    Entity::_DoEvent("Init", panel, screen->GetLevel());
    State::_currentState = remembered;
    ASSERT_FALSE(d->fail);
    Run();
    Draw();
    EXPECT_TRUE(Olive(At(-0.56f, 0.0f))) << "the backdrop beside the box";
    EXPECT_TRUE(Parchment(At(0.3f, -0.3f))) << "the text box";
    EXPECT_TRUE(Has(-0.4f, 0.38f, 0.15f, 0.03f, &Black)) << "the body's first line";
    EXPECT_TRUE(Has(-0.05f, 0.45f, 0.8f, 0.06f, [](const Rgb& c) { return Near(c, 0xC4, 0xBD, 0xAD); }))
        << "the title in its colour";
    EXPECT_FALSE(Olive(At(0.5f, 0.45f))) << "the confirm button";
    (void)host;
}

TEST_F(FunctionPixelTest, TheFailedCodeBlockShowsOnlyItsMessage) {
    Open("StencilCodeBlock", 700, 600);
    State* remembered = State::_currentState;
    State::_currentState = screen;
    screen->GetLevel()->DoEvent("Init");
    State::_currentState = remembered;
    ASSERT_TRUE(LevelData::StencilCodeBlock::Find(screen->GetLevel())->fail);
    Draw();
    EXPECT_TRUE(Has(0.0f, 0.0f, 0.6f, 0.04f, &Black)) << "FAILED TO COMMIT THIS FUNCTION!";
    EXPECT_TRUE(Olive(At(0.3f, -0.3f))) << "no text box";
    EXPECT_TRUE(Olive(At(0.5f, 0.45f))) << "no button";
}

TEST_F(FunctionPixelTest, TheTextScreenShowsWhatWasTypedOnItsBackdrop) {
    Open("TextEditor", 800, 600);
    auto* t = ObjectData::Text::Find(screen->GetLevel()->GetMyObject("Test"));
    ASSERT_NE(t, nullptr);
    t->text = "typed words";
    Widgets::RaiseOwn(screen->GetLevel()->GetMyObject("Test"), "CalcText", screen->GetLevel());
    Draw();
    // The backdrop is pale night-blue paper; the text dark over it, from
    // the label's left edge; the close box in the top-right corner.
    EXPECT_TRUE(Has(-0.6f, -0.3f, 0.05f, 0.05f, [](const Rgb& c) { return c.b > 170 && c.b >= c.r && c.r > 150; }));
    EXPECT_TRUE(Has(-0.42f, 0.47f, 0.12f, 0.05f, &Black)) << "the typed text";
    EXPECT_FALSE(Has(0.3f, 0.47f, 0.12f, 0.05f, &Black)) << "nothing past it";
    EXPECT_TRUE(Has(380.0f / 600.0f, 280.0f / 600.0f, 0.04f, 0.04f, [](const Rgb& c) {
        return c.r > 100 && c.g < 80 && c.b < 90;
    })) << "the close box's cross";
}

}  // namespace
