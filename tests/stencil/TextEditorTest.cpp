// The text-box test screen with keys injected through the input layer: its
// objects, typing through the input layer's translation, Backspace and Tab.
#include <gtest/gtest.h>

#include "stencil/FunctionWorld.h"

using namespace functest;

namespace {

class TextEditorTest : public FunctionWorld {
protected:
    void SetUp() override {
        FunctionWorld::SetUp();
        screen = NewState("TextEditor");
        AllFrame();
    }
    std::string Shown() const { return ObjectData::Text::Find(screen->GetLevel()->GetMyObject("Test"))->text; }
    LevelData::TextEditor::Variables& V() const { return *LevelData::TextEditor::Find(screen->GetLevel()); }
    // Keys pressed together in one frame, then let go.
    void Chord(std::initializer_list<SDL_Scancode> keys, Uint16 mod = KMOD_NONE) {
        for (SDL_Scancode k : keys) inputtest::Key(k, true, mod);
        AllFrame();
        for (SDL_Scancode k : keys) inputtest::Key(k, false, mod);
        AllFrame();
    }

    State* screen = nullptr;
};

TEST_F(TextEditorTest, BuildsTheBackdropCloseBoxAndTheSampleText) {
    ASSERT_NE(screen->GetLevel(), nullptr);
    EXPECT_EQ(std::string(LevelData::TextEditor::kSample).size(), 63u);
    EXPECT_EQ(Shown(), LevelData::TextEditor::kSample);
    auto& t = *ObjectData::Text::Find(screen->GetLevel()->GetMyObject("Test"));
    EXPECT_TRUE(t.settings.multiLine);
    EXPECT_FALSE(t.settings.fixedWidth);
    EXPECT_EQ(t.settings.hAlign, 0);
    ASSERT_NE(t.settings.information, nullptr);
    EXPECT_GT(t.settings.information->lineCount, 0) << "laid out";
    Entity* close = screen->GetLevel()->GetMyObject("Quit");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(Label(close), "Close X");
    EXPECT_NEAR(Place(close).x, 380.0f / 720.0f, 1e-6f);
    EXPECT_NEAR(Place(close).y, 280.0f / 720.0f, 1e-6f);
    EXPECT_NEAR(FindVariable<D3DXVECTOR2>(close, enum_size)->x, 30.0f / 720.0f, 1e-6f);
    EXPECT_NE(screen->GetLevel()->GetMyObject("Cursor"), nullptr);
    bool backdrop = false;
    for (Object* o : screen->Objects())
        if (o->GetType() == "Background") backdrop = Label(o) == "BACK StencilEditor";
    EXPECT_TRUE(backdrop);
    EXPECT_TRUE(V().prevText.empty());
    EXPECT_EQ(V().position1, 0);
}

TEST_F(TextEditorTest, TypingAppendsAndBackspaceErasesDownToEmpty) {
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(Shown(), LevelData::TextEditor::kSample) << "nothing typed yet";
    Tap(SDL_SCANCODE_A);
    EXPECT_EQ(Shown(), "a") << "the first key replaces the sample";
    Tap(SDL_SCANCODE_B);
    Tap(SDL_SCANCODE_C);
    EXPECT_EQ(Shown(), "abc");
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(Shown(), "ab");
    Tap(SDL_SCANCODE_BACKSPACE);
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(Shown(), "");
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(V().prevText, "");
}

TEST_F(TextEditorTest, ShiftAndCapsLockFollowTheInputLayersTranslation) {
    Chord({SDL_SCANCODE_LSHIFT, SDL_SCANCODE_Q});
    Chord({SDL_SCANCODE_RSHIFT, SDL_SCANCODE_1});
    Chord({SDL_SCANCODE_Q}, KMOD_CAPS);
    Chord({SDL_SCANCODE_LSHIFT, SDL_SCANCODE_Q}, KMOD_CAPS);
    Chord({SDL_SCANCODE_SPACE});
    Chord({SDL_SCANCODE_SLASH});
    EXPECT_EQ(Shown(), "Q!Qq /");
}

TEST_F(TextEditorTest, TwoKeysInOneFrameAddOnlyTheLowerCode) {
    // S (0x1F) and A (0x1E), pressed together; then 1 (0x02) with L (0x26).
    Chord({SDL_SCANCODE_S, SDL_SCANCODE_A});
    Chord({SDL_SCANCODE_L, SDL_SCANCODE_1});
    EXPECT_EQ(Shown(), "a1");
}

TEST_F(TextEditorTest, KeysThatTypeNothingPrintableAddNothing) {
    for (SDL_Scancode key : {SDL_SCANCODE_UP, SDL_SCANCODE_LEFT, SDL_SCANCODE_F1, SDL_SCANCODE_F6, SDL_SCANCODE_RETURN,
                             SDL_SCANCODE_ESCAPE, SDL_SCANCODE_LSHIFT}) {
        Tap(key);
        EXPECT_EQ(Shown(), LevelData::TextEditor::kSample) << SDL_GetScancodeName(key);
    }
    Tap(SDL_SCANCODE_Z);
    Tap(SDL_SCANCODE_RETURN);
    EXPECT_EQ(Shown(), "z");
}

TEST_F(TextEditorTest, TabAddsFourBlanks) {
    Tap(SDL_SCANCODE_X);
    Tap(SDL_SCANCODE_TAB);
    EXPECT_EQ(Shown(), "x    ");
    Tap(SDL_SCANCODE_TAB);
    Tap(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(Shown(), "x       ");
}

}  // namespace
