// Render-thread time per frame at 1280x720 on this machine's GL for N
// textured quads spread over the four layer lists and the general list, and
// the draw calls each frame takes. The second table adds what showing every
// layer whole costs: each layer's target drawn over the window as one more
// quad, four full-window blends.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "HeadlessGL.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/TripleBuffer.h"

int main() {
    GraphicsEngine engine;
    HeadlessGL gl;
    if (!gl.Open(engine, 1280, 720, false)) return 1;

    // Four 64 by 64 sheets with soft, partly transparent pictures.
    std::vector<GLTexture*> sheets;
    for (int s = 0; s < 4; ++s) {
        std::vector<std::uint32_t> pixels(64 * 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const int dx = x - 32, dy = y - 32;
                const std::uint32_t a = static_cast<std::uint32_t>(std::max(0, 255 - (dx * dx + dy * dy) / 4));
                pixels[static_cast<std::size_t>(y * 64 + x)] = (a << 24) | (0x40u * static_cast<std::uint32_t>(s)) |
                                                               0x00FF8000u;
            }
        sheets.push_back(GraphicsEngine::CreateTexture(64, 64, pixels.data(), true));
    }

    RenderTarget target;
    target.width = 1280;
    target.height = 720;
    target.Refresh();
    float aspect = 1280.0f / 720.0f;
    auto position = TripleBuffer::Add(&target, &aspect);

    for (const bool compose : {false, true}) {
        std::printf(compose ? "\nwith the four layers composed over the window\n" : "quads over the layers and the general list\n");
        std::printf("quads  ms/frame  draws/frame  bound(ceil(N/60)+changes)\n");
        for (int n : {0, 1000, 2000, 5000}) {
            // In each layer list the quads of one sheet come together, as
            // drawing objects queue them, in two runs; the general list,
            // sorted by depth, draws from one sheet.
            auto fill = [&](Buffer& b) {
                b.Clear();
                for (int i = 0; i < n; ++i) {
                    const float x = -0.85f + 1.7f * static_cast<float>((i * 37) % 101) / 100.0f;
                    const float y = -0.45f + 0.9f * static_cast<float>((i * 53) % 97) / 96.0f;
                    const int list = i % 5;
                    GLTexture* sheet = sheets[static_cast<std::size_t>((list + (i * 2 / n)) % 4)];
                    if (list < 4)
                        b.AddFrameToLayer(static_cast<unsigned>(list), x, y, 0, 0.06f, 0.06f, 0.3f, sheet, 0, 0, 1, 1,
                                          -1);
                    else
                        b.AddFrame(x, y, static_cast<float>(i % 7), 0.06f, 0.06f, 0, sheets[0], 0, 0, 1, 1, -1);
                }
                if (compose)
                    for (unsigned j = 0; j < 4; ++j) b.AddFrame(0, 0, 100.0f + static_cast<float>(j), aspect, 1, 0, j, -1);
            };
            const int frames = 60;
            double total = 0.0;
            std::uint64_t draws = 0;
            for (int f = 0; f < frames + 5; ++f) {
                Buffer* b = position->GetOldestBuffer();
                fill(*b);
                b->Ready();
                engine.drawCalls = 0;
                const auto start = std::chrono::steady_clock::now();
                engine.DrawAll();
                glFinish();
                const auto end = std::chrono::steady_clock::now();
                if (f >= 5) {
                    total += std::chrono::duration<double, std::milli>(end - start).count();
                    draws += engine.drawCalls;
                }
            }
            // Runs of one texture: two in each layer list, one in the sorted
            // general list, and the four layer textures of the composition.
            const int extra = compose ? 4 : 0;
            const int bound = (n + extra + 59) / 60 + 4 * 2 + 1 + extra;
            std::printf("%5d  %8.2f  %11.1f  %d\n", n, total / frames, static_cast<double>(draws) / frames, bound);
        }
    }
    TripleBuffer::Remove(position);
    target.Release();
    for (GLTexture* sheet : sheets) ReleaseGLTexture(sheet);
    gl.Close();
    return 0;
}
