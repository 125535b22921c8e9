#pragma once
#include <epoxy/gl.h>
#include <atomic>

struct GLTexture;

// An RGBA8 texture with a framebuffer object to draw into it; the image is
// stored top row first, like every other texture. GL objects are made and
// released on the render thread only: other threads ask for a refresh, which
// the render thread carries out before it next draws into the target.
class RenderTarget {
public:
    RenderTarget() = default;
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Render thread: makes the texture and framebuffer when there are none
    // and the size is not empty. A failure is traced and leaves no texture.
    void Create();
    // Any thread: forgets the texture and framebuffer (deleted on the render
    // thread).
    void Release();
    // Release then Create on the render thread; elsewhere marks the target
    // for re-creation.
    void Refresh();
    // Render thread, before drawing: carries out a pending refresh. True when
    // the target can be drawn into.
    bool Prepare();

    GLTexture* GetTexture() const { return texture; }
    // The framebuffer object that stands for the texture's surface (0: none).
    GLuint GetSurface() const { return texture ? framebuffer : 0; }

    GLTexture* texture = nullptr;
    GLuint framebuffer = 0;
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
    bool updated = false;
    std::atomic<bool> recreate{false};
};
