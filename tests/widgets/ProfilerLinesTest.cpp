// The profiler viewer's text lines: the "ProfilerDraw" engine hands each line
// to the text hook, which the text type fills in: the line is written into
// the viewer's text object, laid out in its box, drawn, and emptied again.
#include <gtest/gtest.h>

#include <vector>

#include "framework/engines/BuiltInEngines.h"
#include "framework/engines/ProfilerView.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/SheetData.h"
#include "support/SheetDataBuilder.h"
#include "support/WidgetWorld.h"
#include "widgets/Text.h"

using namespace widgettest;

namespace {

class ProfilerLinesTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        std::vector<float> widths(128, 0.0f);
        for (int c = 32; c < 127; ++c) widths[static_cast<std::size_t>(c)] = 1.0f;
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(1).Set("white", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).FontWithWidths("default", 0, widths);
        LoadSheetData(b.bytes.data(), b.bytes.size(), nullptr);
        dummy = Make("Text", "TextDummy");
        T().settings.multiLine = true;
        T().text = "Namen";
        T().settings.information = new TextData();
        T().settings.z = 7.0f;
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        FreeSheetData();
        WidgetWorld::TearDown();
    }
    ObjectData::Text::Variables& T() { return *ObjectData::Text::Find(dummy); }

    Object* dummy = nullptr;
};

TEST_F(ProfilerLinesTest, EachLineIsLaidOutInItsBoxDrawnAndEmptied) {
    ASSERT_NE(engineHooks.drawTextLine, nullptr) << "no text type brought the viewer's text drawing";
    Buffer buffer;
    graphicsEngine.SetCurrentBuffer(&buffer);

    ProfilerTextLine headline;
    headline.text = "Frame (12):  16.667 ms";
    headline.x = 0.0f;
    headline.y = 0.42f;
    headline.width = 0.7f;
    headline.height = 0.1f;
    headline.charHeight = 0.04f;
    engineHooks.drawTextLine(dummy, state->level, headline);
    // One quad per visible letter (the blanks draw nothing), at the line's
    // place and letter height; the headline keeps the object's own depth.
    ASSERT_EQ(buffer.frames.size(), 18u);
    EXPECT_FLOAT_EQ(buffer.frames.front().depth, 7.0f);
    EXPECT_TRUE(T().text.empty()) << "the line stayed in the text object";
    EXPECT_EQ(T().settings.hAlign, 0);
    EXPECT_FLOAT_EQ(T().settings.charHeight, 0.04f);
    EXPECT_GE(T().settings.information->lineCount, 1);

    ProfilerTextLine label;
    label.text = "Update:  1.250 ms";
    label.x = -0.1f;
    label.y = 0.37f;
    label.hasZ = true;
    label.z = 5.0f;
    label.width = 0.6f;
    label.height = 0.04f;
    label.charHeight = 0.02f;
    engineHooks.drawTextLine(dummy, state->level, label);
    ASSERT_EQ(buffer.frames.size(), 18u + 14u);
    EXPECT_FLOAT_EQ(buffer.frames.back().depth, 5.0f);
    EXPECT_FLOAT_EQ(T().settings.y, 0.37f);
    EXPECT_TRUE(T().text.empty());
}

}  // namespace
