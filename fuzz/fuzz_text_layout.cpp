// Text layout of arbitrary strings (a player's name from the network, what
// is typed into a text box) in every alignment, with scrolling, carets and
// colour marks, on the game's own fonts. The leading bytes set the box.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Frame.h"
#include "platform/graphics/SheetData.h"
#include "platform/graphics/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ThrowingFatal fatal;
    static std::vector<std::string> fonts = [] {
        LoadSheetData(SheetUploader());  // the embedded sheet data, without textures
        std::vector<std::string> names;
        for (const auto& [name, font] : FontMap) names.push_back(name);
        names.push_back("no such font");
        return names;
    }();

    FuzzedDataProvider in(data, size);
    TextSettings s;
    s.hAlign = in.ConsumeIntegralInRange<std::int32_t>(0, 3);
    s.vAlign = in.ConsumeIntegralInRange<std::int32_t>(0, 3);
    s.multiLine = in.ConsumeBool();
    s.fixedWidth = in.ConsumeBool();
    s.colorize = in.ConsumeBool();
    s.x = in.ConsumeFloatingPoint<float>();
    s.y = in.ConsumeFloatingPoint<float>();
    s.width = in.ConsumeFloatingPoint<float>();
    s.height = in.ConsumeFloatingPoint<float>();
    s.charHeight = in.ConsumeFloatingPoint<float>();
    // Scroll and caret positions are the widget's own, kept within the text
    // and what it can scroll to.
    s.startLine = in.ConsumeIntegralInRange<std::int32_t>(-2, 100000);
    s.startCharacter = in.ConsumeIntegralInRange<std::int32_t>(-2, 100000);
    s.cursorLoc = in.ConsumeIntegralInRange<std::int32_t>(-1, 100000);
    s.selectedStart = in.ConsumeIntegralInRange<std::int32_t>(-1, 100000);
    s.font = fonts[in.ConsumeIntegralInRange<std::size_t>(0, fonts.size() - 1)];
    const bool cached = in.ConsumeBool();
    const float px = in.ConsumeFloatingPoint<float>();
    const float py = in.ConsumeFloatingPoint<float>();
    const int index = in.ConsumeIntegralInRange<int>(-100000, 100000);
    const std::string text = in.ConsumeRemainingBytesAsString();

    TextData layout;
    CalcText(text, s, layout);
    if (layout.letterPlaces.size() != text.size() + 1) std::abort();
    if (cached) s.information = &layout;
    DrawTextQuads(text, s, [](float, float, float, float, float, const Frame&, std::uint32_t) {});
    D3DXVECTOR3 letter;
    LocateLetter(text, index, s, letter);
    D3DXVECTOR2 caret;
    (void)PinpointCursorLetter(text, px, py, s, caret);
    (void)PinpointLetter(text, s.x, s.y, s);
    (void)LocateLine(text, index, s);
    (void)TextGetLine(index, &layout);
    TextReadjustVertical(s);
    TextReadjustHorizontal(s);
    TextUpLine(s);
    TextDownLine(s);
    (void)TextGetVertScroll(s);
    (void)TextGetHorizScroll(s);
    return 0;
}
