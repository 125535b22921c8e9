// Text drawn by the renderer from the baked fonts, read back as pixels.
#include <cstdio>
#include <string>
#include <vector>

#include "GLFixture.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Text.h"

namespace {

class TextPixelTest : public GLTest {
protected:
    void SetUp() override {
        // A wide game area: 512 by 64 pixels, 8 units by 1.
        target.width = 512;
        target.height = 64;
        target.Refresh();
        aspect = 8.0f;
        position = TripleBuffer::Add(&target, &aspect);
        engine->LoadTextures();
        ASSERT_EQ(FontMap.size(), 2u);
    }
    void TearDown() override {
        graphicsEngine.SetCurrentBuffer(nullptr);
        engine->FreeTextures();
        FreeSheetData();
        GLTest::TearDown();
    }

    // Draws one line of white text 48 pixels high across the area.
    void DrawLine(const std::string& text, const std::string& font) {
        Buffer& buffer = Begin();
        graphicsEngine.SetCurrentBuffer(&buffer);
        settings.font = font;
        settings.width = 8.0f;
        settings.height = 1.0f;
        settings.charHeight = 0.75f;
        settings.vAlign = 1;
        settings.colorize = true;
        settings.primaryColor = 0xFFFFFFFF;
        DrawTextA(text, settings);
        graphicsEngine.SetCurrentBuffer(nullptr);
        Finish(buffer);
        Draw();
    }

    // Ink (red channel) in the pixel columns of letter i, and the rows it spans.
    struct Ink {
        int pixels = 0, top = 1000, bottom = -1;
    };
    Ink LetterInk(const std::string& text, int i) {
        D3DXVECTOR3 where;
        LocateLetter(text, i, settings, where);
        const int left = static_cast<int>((where.x - where.z / 2 + 4.0f) * 64.0f) + 1;
        const int right = static_cast<int>((where.x + where.z / 2 + 4.0f) * 64.0f) - 1;
        Ink ink;
        for (int y = 0; y < target.height; ++y) {
            for (int x = std::max(left, 0); x <= std::min(right, target.width - 1); ++x) {
                if (At(x, y).r > 128) {
                    ++ink.pixels;
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                }
            }
        }
        return ink;
    }

    void Save(const std::string& name) {
        const std::string path = std::string(GF_BINARY_DIR) + "/" + name + ".pgm";
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fprintf(f, "P5\n%d %d\n255\n", target.width, target.height);
            for (int y = 0; y < target.height; ++y) {
                for (int x = 0; x < target.width; ++x) std::fputc(At(x, y).r, f);
            }
            std::fclose(f);
        }
    }

    TextSettings settings;
};

TEST_F(TextPixelTest, BothFontsDrawReadableLetters) {
    const std::string text = "Hello, lamp!";
    for (const char* font : {"default", "ashleyscriptmtstd"}) {
        SCOPED_TRACE(font);
        DrawLine(text, font);
        Save(std::string("text_drawn_") + font);
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            const Ink ink = LetterInk(text, i);
            if (text[static_cast<size_t>(i)] == ' ') {
                EXPECT_LT(ink.pixels, 4) << i;  // a blank, give or take a neighbour's stroke
            } else {
                EXPECT_GT(ink.pixels, 3) << text[static_cast<size_t>(i)];
            }
        }
        // Rows are counted from the top: 'l' rises above 'a', 'p' hangs below it.
        const Ink l = LetterInk(text, 7), a = LetterInk(text, 8), p = LetterInk(text, 10);
        EXPECT_LT(l.top, a.top - 4);
        EXPECT_GT(p.bottom, a.bottom + 4);
        EXPECT_NEAR(l.bottom, a.bottom, 3);
    }
}

TEST_F(TextPixelTest, ColourMarksTintTheLetters) {
    DrawLine("#0xFF0000#W#0x00FF00#W", "default");
    const Ink first = LetterInk("#0xFF0000#W#0x00FF00#W", 10);
    EXPECT_GT(first.pixels, 8);  // red ink under the first W
    int green = 0;
    D3DXVECTOR3 where;
    LocateLetter("#0xFF0000#W#0x00FF00#W", 21, settings, where);
    const int cx = static_cast<int>((where.x + 4.0f) * 64.0f);
    for (int y = 0; y < target.height; ++y) {
        for (int x = cx - 8; x <= cx + 8; ++x) {
            const Pixel px = At(x, y);
            if (px.g > 128) {
                ++green;
                EXPECT_LT(px.r, 64);
            }
        }
    }
    EXPECT_GT(green, 8);
}

}  // namespace
