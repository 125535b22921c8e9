#include "widgets/TextEditing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "framework/Object.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace Widgets::TextEditing {

namespace {

bool Repeats(unsigned char key) { return Keyboard.Held(key, Keyboard_::DELAY, Keyboard_::RATE); }

int ClampIndex(int index, int length) { return std::clamp(index, 0, length); }

}  // namespace

Object* MakeText(Entity* box, const D3DXVECTOR3& position, const D3DXVECTOR2& size, bool multiLine) {
    Object* made = Object::MakeCopy(box->_state, "Text", "");
    ObjectData::Text::Variables* t = ObjectData::Text::Find(made);
    if (t == nullptr) return nullptr;
    TextSettings& s = t->settings;
    s.fixedWidth = multiLine;
    s.hAlign = 3;
    s.vAlign = 3;
    t->text.clear();
    delete s.information;
    s.information = new TextData();
    s.x = position.x;
    s.y = position.y;
    s.z = position.z + 0.001f;
    s.width = size.x;
    s.height = size.y;
    s.multiLine = multiLine;
    if (!multiLine) s.charHeight = size.y * 0.9f;
    made->RemoveFromEngine("GraphicsDraw");
    return made;
}

void MouseCaret(ObjectData::Text::Variables& text, D3DXVECTOR2& caretPlace) {
    TextSettings& s = text.settings;
    float x = 0.0f, y = 0.0f;
    if (Mouse.Triggered(0)) {
        graphicsEngine.ScreenToGame(Mouse.GetScreenX(), Mouse.GetScreenY(), x, y);
        s.selectedStart = PinpointCursorLetter(text.text, x, y, s, caretPlace);
    }
    if (s.selectedStart != -1 && Mouse.Pressed(0)) {
        graphicsEngine.ScreenToGame(Mouse.GetScreenX(), Mouse.GetScreenY(), x, y);
        D3DXVECTOR2 place = caretPlace;
        const int hit = PinpointCursorLetter(text.text, x, y, s, place);
        if (hit != -1) {
            s.cursorLoc = hit;
            caretPlace = place;
        }
    }
}

void Keys(ObjectData::Text::Variables& text, const bool (&allowed)[128], bool lines) {
    TextSettings& s = text.settings;
    std::string& str = text.text;
    const int length = static_cast<int>(str.size());
    s.cursorLoc = ClampIndex(s.cursorLoc, length);
    // No edit ever reaches outside the text: an anchor off it is no anchor.
    if (s.selectedStart < 0 || s.selectedStart > length) s.selectedStart = s.cursorLoc;

    const bool shift = Keyboard.Pressed(DIK_LSHIFT) || Keyboard.Pressed(DIK_RSHIFT);
    // Each key typed since the last frame, in order; a chord with Ctrl types
    // nothing (the keyboard leaves those out).
    bool filter[256] = {};
    std::copy(std::begin(allowed), std::end(allowed), filter);
    const std::string typed = Keyboard.GetFramesKeys(filter);
    Keyboard.UseUpFramesKeys();
    const bool erase = Repeats(DIK_DELETE);
    const bool back = Repeats(DIK_BACK);
    const int typedLength = static_cast<int>(typed.size());

    if (s.selectedStart != s.cursorLoc) {
        if (!typed.empty() || erase || back) {
            const int from = std::min(s.selectedStart, s.cursorLoc);
            str.erase(static_cast<std::size_t>(from),
                      static_cast<std::size_t>(std::abs(s.selectedStart - s.cursorLoc)));
            s.selectedStart = s.cursorLoc = from;
        }
        str.insert(static_cast<std::size_t>(s.cursorLoc), typed);
        s.cursorLoc += typedLength;
        s.selectedStart += typedLength;
    } else {
        str.insert(static_cast<std::size_t>(s.cursorLoc), typed);
        s.cursorLoc += typedLength;
        if (erase && s.cursorLoc < static_cast<int>(str.size())) str.erase(static_cast<std::size_t>(s.cursorLoc), 1);
        if (back && s.cursorLoc > 0) {
            --s.cursorLoc;
            str.erase(static_cast<std::size_t>(s.cursorLoc), 1);
        }
        s.selectedStart = s.cursorLoc;
    }

    const int now = static_cast<int>(str.size());
    auto moved = [&] {
        if (!shift) s.selectedStart = s.cursorLoc;
    };
    if (Repeats(DIK_LEFT)) {
        if (s.cursorLoc > 0) --s.cursorLoc;
        moved();
    }
    if (Repeats(DIK_RIGHT)) {
        if (s.cursorLoc < now) ++s.cursorLoc;
        moved();
    }
    if (!lines) return;
    if (Repeats(DIK_UP)) {
        // The line moves work on the layout of the text as it now stands.
        if (s.information != nullptr) CalcText(str, s, *s.information);
        TextUpLine(s);
        moved();
    }
    if (Repeats(DIK_DOWN)) {
        if (s.information != nullptr) CalcText(str, s, *s.information);
        TextDownLine(s);
        moved();
    }
}

void PlaceCaret(ObjectData::Text::Variables& text, D3DXVECTOR2& caretPlace) {
    D3DXVECTOR3 letter;
    LocateLetter(text.text, text.settings.cursorLoc, text.settings, letter);
    caretPlace = {letter.x - letter.z * 0.5f, letter.y};
}

void Draw(Entity* box, Entity* textObject, const D3DXVECTOR3& position, const D3DXVECTOR2& size, const char* texture,
          const D3DXVECTOR3& colour, bool selected, const D3DXVECTOR2& caretPlace) {
    // Truncated and masked to 8 bits; a component no int holds reads as 0.
    auto channel = [](float c) {
        return std::fabs(c) < 2.0e9f ? static_cast<std::uint32_t>(static_cast<int>(c)) & 0xFFu : 0u;
    };
    const std::uint32_t background = 0xFF000000u | channel(colour.x) << 16 | channel(colour.y) << 8 | channel(colour.z);
    DrawPicture(position.x, position.y, position.z, size.x, size.y, texture, background);
    ObjectData::Text::Variables* text = ObjectData::Text::Find(textObject);
    if (text == nullptr) return;
    if (selected)
        DrawPicture(caretPlace.x, caretPlace.y, position.z + 0.02f, 3.0f / WindowHeight(), text->settings.charHeight,
                    "black", 0xFF000000u);
    RaiseOwn(textObject, "GraphicsDraw", box);
}

}  // namespace Widgets::TextEditing
