// The one place of a window's picture, from which both the drawing and the
// pointer work: desktops of several sizes and shapes, full screen and framed
// at any place, points at the picture's corners, its centre and in the bars
// beside it, each mapped to game units and back.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/graphics/DirectX.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/WindowGeometry.h"

using GUI::PictureRect;
using GUI::WindowGeometry;

namespace {

constexpr float kShape = 1.7770833f;  // an 853 by 480 picture

struct Case {
    std::string name;
    WindowGeometry geometry;
    PictureRect expected;  // on the screen
};

// Full screen on a desktop of that size, the render target 853 by 480.
WindowGeometry FullScreen(int width, int height) {
    WindowGeometry g;
    g.width = width;
    g.height = height;
    g.areaX = (width - 853) / 2;  // the unscaled centring the render thread keeps
    g.areaY = (height - 480) / 2;
    g.areaWidth = 853;
    g.areaHeight = 480;
    g.renderHeight = 480;
    g.resolution = kShape;
    g.fullScreen = true;
    return g;
}

// Framed, with its top-left corner at (x, y): 873 by 520, the game area at (10, 30).
WindowGeometry Framed(int x, int y) {
    WindowGeometry g;
    g.x = x;
    g.y = y;
    g.width = 873;
    g.height = 520;
    g.areaWidth = 853;
    g.areaHeight = 480;
    g.renderHeight = 480;
    g.resolution = kShape;
    return g;
}

std::vector<Case> Cases() {
    std::vector<Case> cases = {
        // The shape of the desktop decides where the bars go.
        {"1280x720 full screen", FullScreen(1280, 720), {0, 0, 1279, 720}},
        {"1920x1080 full screen", FullScreen(1920, 1080), {0, 0, 1919, 1080}},
        {"1280x800 full screen, letterboxed", FullScreen(1280, 800), {0, 40, 1280, 720}},
        {"1024x768 full screen, letterboxed", FullScreen(1024, 768), {0, 96, 1024, 576}},
        {"2560x1080 full screen, pillarboxed", FullScreen(2560, 1080), {320, 0, 1919, 1080}},
        {"800x1280 full screen, on its side", FullScreen(800, 1280), {0, 415, 800, 450}},
        // Framed, where it starts and after moves.
        {"framed at the origin", Framed(0, 0), {10, 30, 853, 480}},
        {"framed, moved by the window manager", Framed(503, 300), {513, 330, 853, 480}},
        {"framed, partly off the screen", Framed(-200, -20), {-190, 10, 853, 480}},
    };
    // A framed picture of another shape than its game area is centred across
    // the window and starts at the game area's top.
    WindowGeometry narrow = Framed(100, 50);
    narrow.resolution = 1.0f;
    cases.push_back({"framed, a square picture in a wide area", narrow, {100 + 196, 80, 480, 480}});
    // A full-screen window on a second screen to the right.
    WindowGeometry second = FullScreen(1280, 1024);
    second.x = 1920;
    cases.push_back({"full screen on a second desktop", second, {1920, 152, 1280, 720}});
    return cases;
}

struct Point {
    int x, y;
};

}  // namespace

TEST(WindowGeometry, EveryPointMapsToThePictureAndBack) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        const GameArea area = GUI::PictureArea(c.geometry);
        ASSERT_EQ(area.left, c.expected.x);
        ASSERT_EQ(area.top, c.expected.y);
        ASSERT_EQ(area.width, c.expected.width);
        ASSERT_EQ(area.height, c.expected.height);
        // The drawing's viewport is the same place in the window's pixels.
        const PictureRect drawn = GUI::PlacePicture(c.geometry);
        EXPECT_EQ(drawn.x + c.geometry.x, c.expected.x);
        EXPECT_EQ(drawn.y + c.geometry.y, c.expected.y);

        const PictureRect& r = c.expected;
        const float halfWidth = kShape / 2.0f * (c.geometry.resolution / kShape);
        const float unit = 1.0f / static_cast<float>(r.height);  // one pixel in game units
        struct Expect {
            Point p;
            float gx, gy;  // where it lies in game units
        };
        const Expect points[] = {
            {{r.x, r.y}, -halfWidth, 0.5f},                               // top-left corner
            {{r.x + r.width - 1, r.y}, halfWidth, 0.5f},                  // top-right
            {{r.x, r.y + r.height - 1}, -halfWidth, -0.5f},               // bottom-left
            {{r.x + r.width - 1, r.y + r.height - 1}, halfWidth, -0.5f},  // bottom-right
            {{r.x + r.width / 2, r.y + r.height / 2}, 0.0f, 0.0f},        // centre
            {{r.x + r.width / 4, r.y + r.height * 3 / 4}, -halfWidth / 2, -0.25f},
        };
        for (const Expect& e : points) {
            float gx = 0.0f, gy = 0.0f;
            GraphicsEngine::ScreenToGame(area, e.p.x, e.p.y, gx, gy);
            EXPECT_NEAR(gx, e.gx, 2.0f * unit) << e.p.x << "," << e.p.y;
            EXPECT_NEAR(gy, e.gy, 2.0f * unit) << e.p.x << "," << e.p.y;
            int bx = 0, by = 0;
            GraphicsEngine::GameToScreen(area, gx, gy, bx, by);
            EXPECT_NEAR(bx, e.p.x, 1) << "back from " << gx << "," << gy;
            EXPECT_NEAR(by, e.p.y, 1) << "back from " << gx << "," << gy;
        }
        // A point in a bar beside the picture lies outside it, and comes back
        // to where it was.
        std::vector<Point> bars;
        if (r.y > c.geometry.y) bars.push_back({r.x + r.width / 2, c.geometry.y + (r.y - c.geometry.y) / 2});
        if (r.x > c.geometry.x) bars.push_back({c.geometry.x + (r.x - c.geometry.x) / 2, r.y + r.height / 2});
        for (const Point& p : bars) {
            float gx = 0.0f, gy = 0.0f;
            GraphicsEngine::ScreenToGame(area, p.x, p.y, gx, gy);
            EXPECT_TRUE(std::fabs(gx) > halfWidth || std::fabs(gy) > 0.5f) << p.x << "," << p.y;
            int bx = 0, by = 0;
            GraphicsEngine::GameToScreen(area, gx, gy, bx, by);
            EXPECT_NEAR(bx, p.x, 1);
            EXPECT_NEAR(by, p.y, 1);
        }
    }
}

// The framed game area of an unset shape is the whole area, so sizes in
// pixels still divide by a height.
TEST(WindowGeometry, AnUnsetShapeTakesTheWholeGameArea) {
    WindowGeometry g = Framed(40, 60);
    g.resolution = -1.0f;
    const GameArea area = GUI::PictureArea(g);
    EXPECT_EQ(area.left, 50);
    EXPECT_EQ(area.top, 90);
    EXPECT_EQ(area.width, 853);
    EXPECT_EQ(area.height, 480);
}

namespace {

class FullScreenDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        // Keeps the GL driver loaded between windows (see SanitizerSuppressions.cpp).
        SDL_GL_LoadLibrary(nullptr);
        WindowClass::SetWindowThread();
        // Made at the screen's size: full screen keeps the window's drawable.
        SDL_Rect screen{0, 0, 1024, 768};
        SDL_GetDisplayUsableBounds(0, &screen);
        window = new GUI::GuiWindow(visible);
        window->SetupGuiWindow(screen.w, screen.h, screen.x, screen.y, false, false, "Full screen");
        window->SetRenderTargetSize(200, 100);
    }
    void TearDown() override { delete window; }

    std::atomic<bool> visible{true};
    GUI::GuiWindow* window = nullptr;
};

}  // namespace

// Drawn full screen, the picture lies exactly where the pointer's conversion
// finds it, and what it leaves of the screen is opaque black whatever the
// frame's colour.
TEST_F(FullScreenDrawing, ThePictureIsDrawnWhereThePointerFindsItBetweenBlackBars) {
    window->SetResolution(3.0f);  // wider than any screen: bars above and below
    window->ToggleFullScreen();
    window->HandleFullscreen();
    ASSERT_TRUE(window->IsFullScreen());
    const int W = window->GetWindow()->GetWidth(), H = window->GetWindow()->GetHeight();
    SetGLWindowAttributes();
    graphicsEngine.SetDeviceWindow(window->GetHwnd());
    ASSERT_TRUE(graphicsEngine.InitDX(W, H));
    window->GetRenderTarget()->Refresh();
    ASSERT_TRUE(graphicsEngine.SetRenderTarget(window->GetRenderTarget()));
    graphicsEngine.Clear(0xFFFF0000u, true);  // the picture is red
    window->SetBorderColor(0xFF424233u);
    window->Activate();
    window->UpdateWith(GUI::WindowInput{W / 2, H / 2, false, false, false});

    window->RenderHelper(true, false);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(W) * H * 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    auto at = [&](int x, int y) {  // y from the top
        const std::size_t i = (static_cast<std::size_t>(H - 1 - y) * W + x) * 4;
        return std::array<int, 4>{image[i], image[i + 1], image[i + 2], image[i + 3]};
    };
    const GameArea area = window->GetPictureArea();
    const int left = area.left - window->GetWindow()->GetXpos(), top = area.top - window->GetWindow()->GetYpos();
    ASSERT_GT(top, 0) << "a picture of that shape leaves bars above and below";
    const std::array<int, 4> red{255, 0, 0, 255}, black{0, 0, 0, 255};
    EXPECT_EQ(at(left, top), red);
    EXPECT_EQ(at(left + area.width - 1, top + area.height - 1), red);
    EXPECT_EQ(at(left + area.width / 2, top - 1), black);
    EXPECT_EQ(at(left + area.width / 2, top + area.height), black);
    EXPECT_EQ(at(0, 0), black);
    EXPECT_EQ(at(W - 1, H - 1), black);
    // The pointer on the picture's top-left pixel is at its top-left corner.
    float gx = 0.0f, gy = 0.0f;
    GraphicsEngine::ScreenToGame(area, area.left, area.top, gx, gy);
    EXPECT_NEAR(gx, -1.5f, 2.0f / area.height);
    EXPECT_NEAR(gy, 0.5f, 2.0f / area.height);
    window->GetRenderTarget()->Release();
    graphicsEngine.ReleaseDevice();
}
