// The text label and the timed message: defaults, the selection whichever
// end the caret is, the cached layout, and a message that blanks itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/SheetData.h"
#include "support/SheetDataBuilder.h"
#include "support/WidgetWorld.h"
#include "widgets/Text.h"
#include "widgets/TextMsg.h"

using namespace widgettest;

namespace {

using TextVars = ObjectData::Text::Variables;

class TextTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        // A font whose printable letters are all one unit wide.
        std::vector<float> widths(128, 0.0f);
        for (int c = 32; c < 127; ++c) widths[static_cast<std::size_t>(c)] = 1.0f;
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(1).Set("white", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).FontWithWidths("unit", 0, widths);
        LoadSheetData(b.bytes.data(), b.bytes.size(), nullptr);
    }
    void TearDown() override {
        FreeSheetData();
        WidgetWorld::TearDown();
    }
    static TextVars& T(Entity* e) { return *ObjectData::Text::Find(e); }

    // The colour of every letter drawn, in order (text-box mode draws a
    // background quad before each letter; only the letters are kept).
    static std::vector<std::uint32_t> LetterColours(TextVars& t) {
        std::vector<std::uint32_t> colours;
        int n = 0;
        DrawTextQuads(t.text, t.settings, [&](float, float, float, float, float, const ::Frame&, std::uint32_t c) {
            if (n++ % 2 == 1) colours.push_back(c);
        });
        return colours;
    }
};

TEST_F(TextTest, ANewTextHasTheDefaultLayoutNoCaretAndNoSelection) {
    Object* text = Make("Text");
    const TextSettings& s = T(text).settings;
    EXPECT_EQ(s.hAlign, 0);
    EXPECT_EQ(s.vAlign, 0);
    EXPECT_FALSE(s.multiLine);
    EXPECT_TRUE(s.fixedWidth);
    EXPECT_FLOAT_EQ(s.width, 1.0f);
    EXPECT_FLOAT_EQ(s.height, 1.0f);
    EXPECT_FLOAT_EQ(s.z, 100.0f);
    EXPECT_FLOAT_EQ(s.charHeight, 0.05f);
    EXPECT_EQ(s.cursorLoc, -1);
    EXPECT_EQ(s.selectedStart, -1);
    EXPECT_EQ(s.font, "default");
    EXPECT_EQ(s.primaryColor, 0xFF000000u);
    EXPECT_EQ(s.secondaryColor, 0xFFFFFFFFu);
    EXPECT_EQ(s.primaryColorBack, 0xFFFFFFFFu);
    EXPECT_EQ(s.secondaryColorBack, 0xFF0000C0u);
    EXPECT_EQ(s.information, nullptr);
    EXPECT_TRUE(T(text).text.empty());
    // The variables are the record: the number of hAlign reaches its start.
    EXPECT_EQ(FindVariable<TextSettings>(text, enum_hAlign), &T(text).settings);
    EXPECT_EQ(FindVariable<std::string>(text, enum_text), &T(text).text);
}

TEST_F(TextTest, EitherOrderOfCaretAndAnchorSelectsTheSameLetters) {
    const std::uint32_t out = 0xFF000000u, in = 0xFFFFFFFFu;
    const std::vector<std::uint32_t> expected{out, out, in, in, in, out, out};
    for (auto [caret, anchor] : {std::pair{2, 5}, std::pair{5, 2}}) {
        SCOPED_TRACE(caret);
        Object* text = Make("Text");
        TextVars& t = T(text);
        t.text = "abcdefg";
        t.settings.font = "unit";
        t.settings.hAlign = 3;
        t.settings.width = 20.0f;
        t.settings.charHeight = 1.0f;
        t.settings.cursorLoc = caret;
        t.settings.selectedStart = anchor;
        text->DoEvent("CalcText");
        EXPECT_EQ(LetterColours(t), expected);
    }
}

TEST_F(TextTest, CalcTextMakesTheLayoutOnceAndACopyLaysItselfOutAfresh) {
    Object* text = Make("Text");
    T(text).settings.font = "unit";
    T(text).text = "one two";
    text->DoEvent("CalcText");
    TextData* layout = T(text).settings.information;
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->lineCount, 1);
    T(text).text = "three";
    text->DoEvent("CalcText");
    EXPECT_EQ(T(text).settings.information, layout) << "a second layout replaced the cached one";

    Object* copy = Object::_MakeCopy(state, text, "");
    EXPECT_EQ(T(copy).text, "three");
    EXPECT_EQ(T(copy).settings.information, nullptr) << "the copy shares its source's layout";
}

TEST_F(TextTest, AMessageWithLife120IsBlankedOnFrame121AndStays) {
    Object* message = Make("TextMsg", "NetError");
    auto& m = VariablesOf<ObjectData::TextMsg::Variables>(message);
    ASSERT_NE(ObjectData::Text::Find(m.textObj), nullptr);
    EXPECT_TRUE(T(m.textObj).text.empty());
    EXPECT_FLOAT_EQ(T(m.textObj).settings.x, 0.0f);

    T(m.textObj).text = "Connection lost";
    m.life = 120;
    for (int frame = 1; frame <= 120; ++frame) Frame();
    EXPECT_EQ(T(m.textObj).text, "Connection lost") << "gone before its 120 frames";
    EXPECT_EQ(m.life, 0);
    Frame();
    EXPECT_TRUE(T(m.textObj).text.empty());
    EXPECT_EQ(state->level->GetMyObject("NetError"), message) << "the message itself was removed";

    // A new message and a new life start it again; life 1 keeps it one more frame.
    T(m.textObj).text = "Server full";
    m.life = 1;
    Frame();
    EXPECT_EQ(T(m.textObj).text, "Server full");
    Frame();
    EXPECT_TRUE(T(m.textObj).text.empty());
}

}  // namespace
