// The stencil editor's screens and the instance editor drawn through the real
// renderer with the baked sheets, each at its window's size, read back as
// pixels: the four lists with a chosen row, the properties window on each
// tab, and the instance editor inspecting a player.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "editor/EditorWorld.h"
#include "editor/InstanceEditor.h"
#include "objects/SheetRenderWorld.h"
#include "stencil/StencilMenu.h"
#include "stencil/StencilObjProp.h"
#include "stencil/StencilObjPropLevel.h"
#include "stencil/StencilRows.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/WidgetSupport.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

using namespace objtest;

namespace {

struct Rgb {
    int r, g, b;
};

class StencilPixelTest : public SheetRenderWorld {
protected:
    void SetUp() override {
        SheetRenderWorld::SetUp();
        camera = Make("Camera", "Camera");
        auto& view = VariablesOf<ObjectData::Camera::Variables>(camera);
        view.position = {0.0f, 0.0f, 0.0f};
        view.scale = 1.0f;
        editortest::InstallEditorTypes();
        savedArea = GraphicsEngine::currentGameArea;
    }
    void TearDown() override {
        GraphicsEngine::currentGameArea = savedArea;
        SheetRenderWorld::TearDown();
    }
    static GameArea ScreenArea() {
        return GameArea{0, 0, areaWidth, areaHeight, static_cast<float>(areaWidth) / static_cast<float>(areaHeight),
                        areaHeight};
    }

    // Opens the screen level in a state of its own, drawn into frames of
    // width by height pixels.
    void Open(const char* level, int width, int height) {
        name = level;
        areaWidth = width;
        areaHeight = height;
        GraphicsEngine::currentGameArea = &ScreenArea;
        State::hooks.renderHeight = [](const State*) { return areaHeight; };
        screen = NewState(level);
        ASSERT_NE(screen, nullptr);
        target.Release();
        target.width = w = width;
        target.height = h = height;
        target.Refresh();
        aspect = static_cast<float>(width) / static_cast<float>(height);
    }
    // Runs the screen's frames, then draws everything it holds into one
    // frame and reads it back.
    void Draw(const std::string& shot, int frames = 3) {
        for (int i = 0; i < frames; ++i) screen->Update();
        Buffer* buffer = BeginFrame(camera);
        ASSERT_NE(buffer, nullptr);
        State* remembered = State::_currentState;
        State::_currentState = screen;
        for (Object* object : screen->Objects())
            if (!object->_Deleted()) object->DoEvent("GraphicsDraw");
        State::_currentState = remembered;
        buffer->cameraX = CameraGlobals::x;
        buffer->cameraY = CameraGlobals::y;
        buffer->cameraScale = CameraGlobals::r;
        graphicsEngine.SetCurrentBuffer(nullptr);
        buffer->Ready();
        engine->DrawAll();
        pixels.assign(static_cast<std::size_t>(w * h * 4), 0);
        ASSERT_TRUE(GraphicsEngine::ReadPixels(target, pixels.data()));
        if (std::getenv("GF_EDITOR_PICTURES") != nullptr) {
            const std::string path = "/tmp/stencil_" + shot + ".png";
            stbi_write_png(path.c_str(), w, h, 4, pixels.data(), w * 4);
        }
    }
    // Raises an event on one of the screen's entities as its state would.
    void Raise(Entity* entity, const char* event) {
        State* remembered = State::_currentState;
        State::_currentState = screen;
        Widgets::RaiseOwn(entity, event, screen->GetLevel());
        State::_currentState = remembered;
    }

    Rgb At(float x, float y) const {
        const int px = std::clamp(static_cast<int>((x / aspect + 0.5f) * static_cast<float>(w - 1)), 0, w - 1);
        const int py = std::clamp(static_cast<int>((0.5f - y) * static_cast<float>(h - 1)), 0, h - 1);
        const std::size_t i = static_cast<std::size_t>((py * w + px) * 4);
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    bool Has(float x, float y, float bw, float bh, const std::function<bool(const Rgb&)>& test) const {
        int n = 0;
        for (float yy = y - bh / 2; yy <= y + bh / 2; yy += 1.0f / static_cast<float>(h))
            for (float xx = x - bw / 2; xx <= x + bw / 2; xx += 1.0f / static_cast<float>(h)) n += test(At(xx, yy)) ? 1 : 0;
        return n > 3;
    }
    static std::function<bool(const Rgb&)> Near(int r, int g, int b) {
        return [=](const Rgb& c) { return std::abs(c.r - r) < 16 && std::abs(c.g - g) < 16 && std::abs(c.b - b) < 16; };
    }
    static bool Ink(const Rgb& c) { return c.r + c.g + c.b < 300; }
    // The script face's thin strokes on a light plate.
    static bool Lettering(const Rgb& c) { return c.r + c.g + c.b < 450; }
    static bool Caption(const Rgb& c) { return Near(0xC4, 0xBD, 0xAD)(c); }
    static bool Light(const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; }
    static bool Backdrop(const Rgb& c) { return Near(0x70, 0x6D, 0x55)(c); }

    static inline int areaWidth = 0, areaHeight = 0;
    GameArea (*savedArea)() = nullptr;
    Object* camera = nullptr;
    State* screen = nullptr;
    std::string name;
    int w = kWidth, h = kHeight;
};

TEST_F(StencilPixelTest, TheMainScreenShowsFourListsAndTheChosenRow) {
    Open("StencilEditor", 800, 600);
    auto* objects = ObjectData::StencilMenu::Find(screen->GetLevel()->GetMyObject("ObjectMenu"));
    ASSERT_NE(objects, nullptr);
    for (int i = 0; i < 3; ++i) screen->Update();
    // The third row chosen: its box has the keyboard.
    auto* chosen = ObjectData::SingleLineTextBox::Find(objects->myStencilList[2]);
    chosen->selected = true;
    chosen->colorBG = chosen->selectionColor;
    Draw("main", 0);
    EXPECT_TRUE(Backdrop(At(0.0f, -0.46f))) << "the backdrop below the lists";
    const float x = objects->position.x + 0.08f;  // right of the short names, on the plain row
    EXPECT_TRUE(Near(120, 210, 240)(At(x, 0.4f))) << "a name row";
    EXPECT_TRUE(Light(At(x, 0.35f))) << "the chosen row";
    EXPECT_TRUE(Has(objects->position.x, 0.4f, 0.18f, 0.02f, &Ink)) << "the first name";
    auto* engines = ObjectData::StencilMenu::Find(screen->GetLevel()->GetMyObject("EngineMenu"));
    ASSERT_LT(engines->stencilNames.size(), 33u);
    EXPECT_TRUE(Near(196, 189, 173)(At(0.5f, -0.4f))) << "an empty row of the engines' list";
    for (float menuX : {-0.5f, -0.17f, 0.17f, 0.5f}) EXPECT_TRUE(Has(menuX, 0.44f, 0.2f, 0.04f, &Caption)) << "caption " << menuX;
}

TEST_F(StencilPixelTest, ThePropertiesWindowShowsTheVariablesOnItsTabAndHidesThemOnTheOther) {
    Open("StencilObjPropLevel", 700, 600);
    Level* level = screen->GetLevel();
    auto* props = LevelData::StencilObjPropLevel::Find(level);
    props->objName = "Player";
    props->objType = "OBJECT";
    Raise(level, "Init");
    Entity* table = level->GetMyObject("VariableTable");
    auto* panel = ObjectData::StencilObjProp::Find(table);
    panel->hide = false;
    panel->clickedStencil = "Add Stencil";
    Raise(table, "Behavior");
    ASSERT_EQ(panel->myTypeList.size(), 1u);
    Draw("variables");
    EXPECT_TRUE(Has(0.0f, 0.45f, 0.3f, 0.05f, &Caption)) << "the title";
    EXPECT_TRUE(Has(-0.5f, 0.45f, 0.14f, 0.045f, &Lettering)) << "the VARIABLES tab's word";
    EXPECT_TRUE(Has(-0.3f, 0.45f, 0.14f, 0.045f, &Lettering)) << "the functions tab's word";
    EXPECT_TRUE(Near(220, 150, 150)(At(-0.32f, 0.3875f))) << "the type row";
    EXPECT_TRUE(Near(150, 150, 150)(At(0.45f, 0.3875f))) << "the value row";
    EXPECT_TRUE(Has(-0.4f, 0.3875f, 0.18f, 0.02f, &Ink)) << "\"int\"";
    for (float x : {0.3f, 0.4f, 0.5f}) EXPECT_FALSE(Backdrop(At(x, 0.45f))) << "button " << x;

    panel->hide = true;
    Raise(table, "Behavior");
    Draw("functions");
    EXPECT_TRUE(Backdrop(At(-0.32f, 0.3875f))) << "the rows moved away";
    // The buttons moved away too; the functions panel's own stand where they were.
    EXPECT_NEAR(FindVariable<D3DXVECTOR3>(panel->addButton, enum_position)->x, 10.3f, 1e-4f) << "and the buttons";
}

TEST_F(StencilPixelTest, TheInstanceEditorShowsAPlayersVariables) {
    MakePlayer("Player_0", 3.0f, 2.0f);
    Open("InstanceEditor", 600, 600);
    Level* level = screen->GetLevel();
    auto* v = LevelData::InstanceEditor::Find(level);
    StencilRows::SetText(v->StateNameTextBox, "Play");
    StencilRows::SetText(v->InstanceNameTextBox, "Player_0");
    v->clickedStencil = "confirm";
    Raise(level, "Update");
    Raise(level, "Update");
    ASSERT_NE(v->theAlmightlyInstance, nullptr);
    Draw("instance");
    EXPECT_TRUE(Backdrop(At(-0.45f, -0.45f)));
    EXPECT_TRUE(Has(-0.3f, 0.35f, 0.2f, 0.02f, &Ink)) << "the first row's type";
    EXPECT_TRUE(Has(-0.05f, 0.35f, 0.2f, 0.02f, &Ink)) << "the first row's name";
    EXPECT_TRUE(Light(At(0.12f, 0.35f))) << "the first value's box";
    int filled = 0;
    for (Object* cell : v->ValueList) filled += StencilRows::Text(cell).empty() ? 0 : 1;
    EXPECT_GT(filled, 10) << "values read from the player";
    EXPECT_TRUE(Has(0.25f, 0.325f, 0.28f, 0.02f, &Ink)) << "the second value";
    EXPECT_FALSE(Backdrop(At(v->InstanceNamePos.x + 0.32f + 0.25f, 0.4f))) << "the confirm button";
}

}  // namespace
