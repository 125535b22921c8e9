#pragma once
// Test helper: text boxes in a widget world, with a small language of keys
// and clicks per frame ("tab", "enter", "left", "shift-left", "ctrl-x",
// "click-out", "drag-all", or letters and digits to type).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/SheetData.h"
#include "support/SheetDataBuilder.h"
#include "support/WidgetWorld.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/TabManager.h"
#include "widgets/Text.h"

namespace widgettest {

class TextBoxTest : public WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        // The boxes' face, with every printable letter one unit wide.
        std::vector<float> widths(128, 0.0f);
        for (int c = 32; c < 127; ++c) widths[static_cast<std::size_t>(c)] = 1.0f;
        SheetDataBuilder b;
        b.Header(256, 256, 1, 1).TextureRecord("white", 0, 2, 2, 4, 4).Int(1).Set("white", 1, 1, 1, 0);
        b.Int(0).Int(0).Int(512).Int(512).Int(1).FontWithWidths("default", 0, widths);
        LoadSheetData(b.bytes.data(), b.bytes.size(), nullptr);
        cursor = Make("Cursor", "Cursor");
    }
    void TearDown() override {
        FreeSheetData();
        WidgetWorld::TearDown();
    }
    Object* Box(float y) {
        Object* b = Make("SingleLineTextBox");
        auto& v = *ObjectData::SingleLineTextBox::Find(b);
        v.position = {0.0f, y, 0.0f};
        v.size = {0.6f, 0.08f};
        boxes.push_back(b);
        return b;
    }
    // The Text of either kind of box.
    static ObjectData::Text::Variables& TextOf(Object* box) {
        return *ObjectData::Text::Find(Variable<Object*>(box, enum_textObject));
    }
    ObjectData::TabManager::Variables& Manager() {
        return *ObjectData::TabManager::Find(state->level->GetMyObject("TabManager"));
    }
    int Focused() {
        Entity* f = Manager().Focused();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i] == f) return static_cast<int>(i);
        return f == nullptr ? -1 : 99;
    }
    void Tap(SDL_Scancode key) {
        Key(key, true);
        Frame();
        Key(key, false);
        Frame();
    }
    void WithHeld(SDL_Scancode held, SDL_Scancode key) {
        Key(held, true);
        Tap(key);
        Key(held, false);
        Frame();
    }
    // One step of the table's language.
    void Step(const std::string& step, Object* box) {
        if (step == "tab") return Tap(SDL_SCANCODE_TAB);
        if (step == "enter") return Tap(SDL_SCANCODE_RETURN);
        if (step == "left") return Tap(SDL_SCANCODE_LEFT);
        if (step == "right") return Tap(SDL_SCANCODE_RIGHT);
        if (step == "delete") return Tap(SDL_SCANCODE_DELETE);
        if (step == "back") return Tap(SDL_SCANCODE_BACKSPACE);
        if (step == "shift-left") return WithHeld(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LEFT);
        if (step == "ctrl-x") return WithHeld(SDL_SCANCODE_LCTRL, SDL_SCANCODE_X);
        if (step == "click-out") return Click(0.0f, -0.4f);
        if (step == "click-start") return Click(-0.29f, 0.0f);
        if (step == "anchor-none") {
            TextOf(box).settings.selectedStart = -1;
            return;
        }
        if (step == "drag-all") {
            PointAt(-0.29f, 0.0f);
            LeftButton(true);
            Frame();
            PointAt(0.29f, 0.0f);
            Frame();
            LeftButton(false);
            Frame();
            return;
        }
        // Anything else types its characters, one key each.
        for (char c : step) {
            SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
            if (c >= 'a' && c <= 'z') key = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a'));
            if (c >= '1' && c <= '9') key = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1'));
            if (c == '0') key = SDL_SCANCODE_0;
            if (c == '\t') key = SDL_SCANCODE_TAB;
            ASSERT_NE(key, SDL_SCANCODE_UNKNOWN) << c;
            Tap(key);
        }
    }

    Object* cursor = nullptr;
    std::vector<Object*> boxes;
};

}  // namespace widgettest
