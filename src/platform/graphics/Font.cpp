#include "platform/graphics/Font.h"

#include <cmath>
#include <string>

#include "framework/Fatal.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Texture.h"

std::unordered_map<std::string, FontInfo> FontMap;

void LoadFontData(const unsigned char*& cursor, const unsigned char* end) {
    SheetReader in(cursor, end);
    const std::int32_t sheetWidth = in.Int();
    const std::int32_t sheetHeight = in.Int();
    const std::int32_t count = in.Int();
    if (sheetWidth <= 0 || sheetHeight <= 0 || count < 0) SheetDataInvalid();
    const float texelU = 1.0f / static_cast<float>(sheetWidth);
    const float texelV = 1.0f / static_cast<float>(sheetHeight);

    for (std::int32_t n = 0; n < count; ++n) {
        const std::string name = in.Name(79);
        if (AnimationSetMap.count(name)) {
            const std::string text = "There is a font with the same name as a texture!\nName:  " + name;
            FatalError(text.c_str(), "Font load error");
        }
        FontInfo font;
        font.sheet = in.Int();
        for (float& u : font.u) u = in.Float();
        for (float& v : font.v) v = in.Float();
        for (float& w : font.width) w = in.Float();
        const float height = in.Float();
        if (font.sheet < 0 || font.sheet >= Texture::sheetCount || !(height > 0.0f) || !std::isfinite(height)) {
            SheetDataInvalid();
        }
        for (int c = 0; c < FontInfo::CHAR_COUNT; ++c) {
            if (!std::isfinite(font.u[c]) || !std::isfinite(font.v[c]) || !std::isfinite(font.width[c]) ||
                font.width[c] < 0.0f) {
                SheetDataInvalid();
            }
        }

        AnimationSet set;
        set.name = name;
        set.loopLength = 1;
        set.framesPerAnimation = 1;
        set.animations.assign(FontInfo::CHAR_COUNT, Animation(1));
        for (int c = 0; c < FontInfo::CHAR_COUNT; ++c) {
            Texture t;
            t.sheet = font.sheet;
            t.u = font.u[c];
            t.v = font.v[c];
            t.du = font.width[c];
            t.dv = height;
            t.texelU = texelU;
            t.texelV = texelV;
            AppendTexture(t);
            set.animations[static_cast<size_t>(c)][0].texture = static_cast<int>(TextureList.size() - 1);
        }
        EnterAnimationSet(std::move(set));

        font.maxWidth = 0.0f;
        for (int c = 0; c < FontInfo::CHAR_COUNT; ++c) {
            font.width[c] /= height;
            if (font.width[c] > font.maxWidth) font.maxWidth = font.width[c];
        }
        for (float& w : font.fixedWidth) w = font.maxWidth;
        font.width[10] = 0.0f;
        FontMap[name] = font;
    }
}
