// The whole editor screen drawn at the window's size through the real
// renderer with the baked sheets, read back as pixels: what a level maker
// reads on it at a glance.
#include <gtest/gtest.h>

#include "editor/LevelEditor.h"
#include "support/ScreenPixelWorld.h"

namespace {

class EditorScreenPixelTest : public editortest::ScreenPixelWorld {
protected:
    EditorScreenPixelTest() : ScreenPixelWorld("screen") {}
    void SetUp() override {
        ScreenPixelWorld::SetUp();
        savedName = EditorLevelName;
        EditorLevelName.clear();
    }
    void TearDown() override {
        ScreenPixelWorld::TearDown();
        EditorLevelName = savedName;
    }

    TempUserFolder folder;
    std::string savedName;
};

// The message line over the grid reads at a glance: plain letters of the
// size of the screen's other words, dark on the light backdrop.
TEST_F(EditorScreenPixelTest, TheMessageLineReadsAtAGlance) {
    Open("LevelEditor", 1280, 720);
    Draw("blank", 40);
    LevelData::LevelEditor::ShowMessage(screen->GetLevel(), "Play needs a level goal: place one from the Objects tab.");
    Draw("message", 1);
    // The line stands over the grid, between its top and the window's.
    const float left = -0.35f, top = 0.5f, right = 0.75f, bottom = 0.452f;
    EXPECT_GT(Frame().Contrast(left, top, right, bottom), 7.0) << "dark letters on the light backdrop";
    EXPECT_GE(Frame().RowsDarkerThan(left, top, right, bottom, 0.1), 12) << "letters at least 12 pixels tall";
    EXPECT_LE(Frame().RowsDarkerThan(left, top, right, bottom, 0.1), 30) << "one line";
}

}  // namespace
