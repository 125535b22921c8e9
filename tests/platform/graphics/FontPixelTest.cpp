// The baked fonts, laid out and composed on the CPU exactly as the drawn
// quads place them: every letter's picture must be the letter.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Text.h"
#include "platform/graphics/Texture.h"

namespace {

struct Image {
    int w, h;
    std::vector<float> ink;  // coverage 0..1
};

class FontPixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadSheetData([](int, const SheetImage&, GLTexture&) { return true; });
        // The font sheets' pixels, decoded as the renderer decodes them.
        for (const auto& [name, font] : FontMap) ASSERT_TRUE(DecodeSpriteSheet(font.sheet, sheets[font.sheet])) << name;
    }
    void TearDown() override { FreeSheetData(); }

    // Draws the text into an image `pixelsPerLine` pixels per line, one quad
    // per letter as DrawTextA queues them, sampling the font sheet nearest.
    Image Compose(const std::string& text, const std::string& font, int pixelsPerLine, int widthPixels) {
        TextSettings s;
        s.font = font;
        s.charHeight = 1.0f;
        s.width = static_cast<float>(widthPixels) / static_cast<float>(pixelsPerLine);
        s.height = 1.0f;
        s.vAlign = 1;
        TextData d;
        CalcText(text, s, d);
        Image img{widthPixels, pixelsPerLine,
                  std::vector<float>(static_cast<size_t>(widthPixels * pixelsPerLine), 0.0f)};
        const float k = static_cast<float>(pixelsPerLine);
        for (size_t i = 0; i < text.size(); ++i) {
            const LetterPlace& p = d.letterPlaces[i];
            if (p.width <= 0.0f) continue;
            const Texture* t = FrameTexture(FrameMap(font, text[i] & 0x7F, 0));
            if (!t) continue;
            const SheetImage& sheet = sheets.at(t->sheet);
            const float left = (p.x - p.width / 2) * k + static_cast<float>(widthPixels) / 2;
            const float top = static_cast<float>(pixelsPerLine) / 2 - (p.y + 0.5f) * k;
            const int qw = static_cast<int>(p.width * k + 0.5f);
            for (int y = 0; y < pixelsPerLine; ++y) {
                for (int x = 0; x < qw; ++x) {
                    const int tx = static_cast<int>(left + 0.5f) + x, ty = static_cast<int>(top + 0.5f) + y;
                    if (tx < 0 || ty < 0 || tx >= widthPixels || ty >= pixelsPerLine) continue;
                    const int sx =
                        static_cast<int>((t->u + t->du * (static_cast<float>(x) + 0.5f) / static_cast<float>(qw)) *
                                         static_cast<float>(sheet.width));
                    const int sy = static_cast<int>(
                        (t->v + t->dv * (static_cast<float>(y) + 0.5f) / static_cast<float>(pixelsPerLine)) *
                        static_cast<float>(sheet.height));
                    const float a = sheet.rgba[(static_cast<size_t>(sy) * static_cast<size_t>(sheet.width) +
                                                static_cast<size_t>(sx)) *
                                                   4 +
                                               3] /
                                    255.0f;
                    float& ink = img.ink[static_cast<size_t>(ty * widthPixels + tx)];
                    ink = std::min(1.0f, ink + a);
                }
            }
        }
        return img;
    }

    // Rows (from the top) between which a letter alone leaves ink.
    std::pair<int, int> InkRows(char c, const std::string& font) {
        const Image img = Compose(std::string(1, c), font, 40, 80);
        int first = -1, last = -1;
        for (int y = 0; y < img.h; ++y) {
            for (int x = 0; x < img.w; ++x) {
                if (img.ink[static_cast<size_t>(y * img.w + x)] > 0.5f) {
                    if (first < 0) first = y;
                    last = y;
                }
            }
        }
        return {first, last};
    }

    std::map<int, SheetImage> sheets;
};

TEST_F(FontPixelTest, LettersSitOnOneBaselineInBothFonts) {
    for (const char* font : {"default", "ashleyscriptmtstd"}) {
        SCOPED_TRACE(font);
        const auto x = InkRows('x', font), l = InkRows('l', font), p = InkRows('p', font), dot = InkRows('.', font);
        ASSERT_GE(x.first, 0);
        EXPECT_LT(l.first, x.first - 4);     // an ascender rises above the x-height
        EXPECT_GT(p.second, x.second + 4);   // a descender hangs below the baseline
        EXPECT_NEAR(x.second, l.second, 2);  // both stand on the baseline
        EXPECT_NEAR(dot.second, x.second, 2);
        EXPECT_GT(dot.first, x.first + 4);        // a full stop is low and small
        EXPECT_EQ(InkRows(' ', font).first, -1);  // a blank leaves nothing
    }
}

TEST_F(FontPixelTest, EveryLetterHasItsOwnPicture) {
    for (const char* font : {"default", "ashleyscriptmtstd"}) {
        SCOPED_TRACE(font);
        std::map<std::vector<bool>, char> seen;
        for (char c = '!'; c <= '~'; ++c) {
            const Image img = Compose(std::string(1, c), font, 32, 64);
            std::vector<bool> mask;
            int ink = 0;
            for (float v : img.ink) {
                mask.push_back(v > 0.25f);
                ink += v > 0.25f;
            }
            EXPECT_GT(ink, 0) << c;
            auto [it, fresh] = seen.emplace(mask, c);
            // Only letters that are the same shape may share a picture.
            if (!fresh) {
                EXPECT_TRUE((it->second == 'l' && c == '|') || (it->second == '|' && c == 'l')) << it->second << c;
            }
        }
    }
}

TEST_F(FontPixelTest, SentenceReadsAsWritten) {
    // Written out for a person to look at: <build>/text_<font>.pgm.
    for (const char* font : {"default", "ashleyscriptmtstd"}) {
        const Image img = Compose("Glimmerfall: fireflies, moon & 13 levels!", font, 48, 1100);
        std::vector<unsigned char> gray(img.ink.size());
        int inked = 0;
        for (size_t i = 0; i < gray.size(); ++i) {
            gray[i] = static_cast<unsigned char>(img.ink[i] * 255.0f);
            inked += img.ink[i] > 0.5f;
        }
        EXPECT_GT(inked, 2000) << font;
        const std::string path = std::string(GF_BINARY_DIR) + "/text_" + font + ".pgm";
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fprintf(f, "P5\n%d %d\n255\n", img.w, img.h);
            std::fwrite(gray.data(), 1, gray.size(), f);
            std::fclose(f);
        }
    }
}

}  // namespace
