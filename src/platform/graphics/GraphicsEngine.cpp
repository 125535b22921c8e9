#include "platform/graphics/GraphicsEngine.h"

#include <malloc.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>

#include "framework/Fatal.h"
#include "framework/Framerate.h"
#include "framework/Options.h"
#include "framework/Quit.h"
#include "framework/Resources.h"
#include "framework/StartupTrace.h"
#include "framework/Time.h"
#include "platform/graphics/DirectX.h"
#include "platform/graphics/Frame.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/RenderTarget.h"
#include "platform/graphics/RenderThread.h"
#include "platform/graphics/Texture.h"
// The sheet-data reader joins the build with the asset pipeline.
#if __has_include("platform/graphics/SheetData.h")
#include "platform/graphics/SheetData.h"
#define GF_HAVE_SHEET_DATA 1
#endif
#if __has_include("platform/graphics/Font.h")
#include "platform/graphics/Font.h"
#define GF_HAVE_FONTS 1
#endif
#include "platform/graphics/TripleBuffer.h"
#include "platform/window/GuiManager.h"

GraphicsEngine graphicsEngine;

GameArea (*GraphicsEngine::currentGameArea)() = &GraphicsEngine::NoGameArea;

namespace {

static_assert(sizeof(GraphicsEngine::QuadVertex) == 28);

// The stream buffer starts at what a busy frame streams (about 1.5 MB) and
// grows, up to about a frame of 14,000 quads' corners, as soon as one render
// round streams more than it holds, so it is orphaned about once a round at
// most. Render thread only; one device at a time.
constexpr std::size_t kStreamStartBytes = std::size_t{2} << 20;
constexpr std::size_t kStreamMostBytes = std::size_t{16} << 20;
std::size_t streamBytes = kStreamStartBytes;
std::size_t roundStreamedBytes = 0;  // since the render round began

}  // namespace

GraphicsEngine::~GraphicsEngine() {
    if (renderThread.joinable()) renderThread.detach();
}

bool GraphicsEngine::FirstInit() {
    ready.store(false);
    renderThreadEnded.store(false);
    renderThread = std::thread([this] { Execute(); });
    // The start-up thread waits for the device and the textures; a render
    // thread that ended without them means the device could not be made.
    while (!ready.load()) {
        if (renderThreadEnded.load()) return ready.load();
        SleepMs(10);
    }
    return true;
}

void GraphicsEngine::JoinRenderThread() {
    if (renderThread.joinable()) renderThread.join();
}

void GraphicsEngine::Execute() {
    SDL_Rect screen{0, 0, 1280, 720};
    SDL_GetDisplayBounds(0, &screen);
    if (!InitDX(screen.w, screen.h)) {
        renderThreadEnded.store(true);
        return;
    }
    LoadTextures();
    TraceStartup("render thread: device, effect and sheet data ready");
    ready.store(true);
    // While the game thread registers and builds its first screen, the
    // sheets it has asked for so far go up.
    while (!initialWindowReplaced.load() && !Quitting.load()) {
        LoadWanted();
        SleepMs(10);
    }
    {
        Framerate limiter("Graphics Loop", DrawRate());
        while (!Quitting.load()) {
            limiter.StartFRC();
            DrawAll();
            limiter.EndFRC();
        }
    }
    ReleaseDevice();
    renderThreadEnded.store(true);
}

namespace {
std::atomic<int> drawRate{60};
}  // namespace

void GraphicsEngine::SetDrawRate(int perSecond) { drawRate.store(perSecond > 0 ? perSecond : 60); }
int GraphicsEngine::DrawRate() { return drawRate.load(); }

bool GraphicsEngine::InitDX(int, int) {
    if (!deviceWindow) {
        ShowMessage("Unable to create device!", "Device Creation failed");
        return false;
    }
    context = SDL_GL_CreateContext(deviceWindow);
    if (!context) {
        ShowMessage("Unable to create device!", "Device Creation failed");
        return false;
    }
    SDL_GL_MakeCurrent(deviceWindow, context);
    TraceStartup("render thread: GL context made");
    SetRenderThread();
    if (epoxy_gl_version() < 33) {
        ShowMessage("Unsupported shader!  Version 2.0 or better required!", "Shader incompatible!");
        ReleaseDevice();
        return false;
    }
    // Windows present as soon as they are drawn.
    SDL_GL_SetSwapInterval(0);

    unsigned long size = 0;
    if (!HasInternalResource(2000)) {
        ShowMessage("Unable to load shader!", "Shader Load Error!");
        ReleaseDevice();
        return false;
    }
    const void* bytes = LoadInternalResource(2000, &size);
    std::string source(static_cast<const char*>(bytes), size);
    std::string errors;
    if (!pShader[SHADER_FX].Load(source, errors)) {
        ShowMessage(errors.c_str(), "Shader Compile Error!");
        ReleaseDevice();
        return false;
    }
    TraceStartup("render thread: effect compiled");
    InitTextures();
    const std::uint32_t whitePixel = 0xFFFFFFFFu;
    whiteTexture = CreateGLTexture(1, 1, &whitePixel, false);
    return true;
}

void GraphicsEngine::ReleaseDevice() {
    if (!context) return;
    CollectReleasedObjects();
    for (Effect& effect : pShader) effect.Release();
    FreeTextures();
    ReleaseTextures();
    ReleaseGLTexture(whiteTexture);
    whiteTexture = nullptr;
    if (depthStencil) glDeleteRenderbuffers(1, &depthStencil);
    depthStencil = 0;
    depthWidth = depthHeight = 0;
    // Targets released after this are forgotten, not deleted: the context
    // that owned them is gone.
    ClearRenderThread();
    SDL_GL_MakeCurrent(deviceWindow, nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
}

void GraphicsEngine::InitTextures() {
    ReleaseTextures();
    // The corners of a batch's quads come in fours; one index list for the
    // largest batch serves every batch, placed by its first corner.
    std::vector<GLushort> indices;
    indices.reserve(QUADS_PER_BATCH * 6);
    for (unsigned i = 0; i < QUADS_PER_BATCH; ++i) {
        const GLushort b = static_cast<GLushort>(4 * i);
        for (GLushort k : {b, GLushort(b + 1), GLushort(b + 2), GLushort(b + 2), GLushort(b + 1), GLushort(b + 3)})
            indices.push_back(k);
    }
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertex2DBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertex2DBuffer);
    streamBytes = kStreamStartBytes;
    roundStreamedBytes = 0;
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamBytes), nullptr, GL_STREAM_DRAW);
    streamOffset = 0;
    glGenBuffers(1, &index2DBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index2DBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)), indices.data(),
                 GL_STATIC_DRAW);
    const auto stride = static_cast<GLsizei>(sizeof(QuadVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, cornerU)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, r)));
    batchVertices.reserve(QUADS_PER_BATCH * 4);
}

void GraphicsEngine::ReleaseTextures() {
    if (vertexArray) {
        glBindVertexArray(0);
        glDeleteVertexArrays(1, &vertexArray);
    }
    if (vertex2DBuffer) glDeleteBuffers(1, &vertex2DBuffer);
    if (index2DBuffer) glDeleteBuffers(1, &index2DBuffer);
    vertexArray = vertex2DBuffer = index2DBuffer = 0;
}

void GraphicsEngine::Reset() {
    pShader[SHADER_FX].InvalidateState();
    guiManager.OnLostDevice();
    TripleBuffer::OnLost();
    guiManager.OnReset();
    TripleBuffer::OnReset();
    InitTextures();
}

void GraphicsEngine::LoadTextures() {
#if GF_HAVE_SHEET_DATA
    if (!HasInternalResource(kSheetDataResource)) return;
    // Every sheet becomes a texture with a full mip chain, when it is first
    // wanted.
    LoadSheetData([](int, const SheetImage& image, GLTexture& texture) {
        if (!UploadGLTexture(texture, image.rgba.data(), true)) return false;
        // A tiled picture drawn across the window is drawn only over the rows
        // that can show anything.
        VisibleRows(image.width, image.height, image.rgba.data(), texture.visibleV0, texture.visibleV1);
        // Where its quads hide what lies under them.
        if (image.rgba.size() == static_cast<std::size_t>(image.width) * image.height * 4)
            KnowOpaqueParts(&texture, image.width, image.height, image.rgba.data());
        return true;
    });
    SetWhiteFrame();
#endif
}

void GraphicsEngine::FreeTextures() {
#if GF_HAVE_SHEET_DATA
    ReleaseSheetTextures();
#endif
}

int GraphicsEngine::LoadWanted() {
#if GF_HAVE_SHEET_DATA
    return LoadWantedSheets();
#else
    return 0;
#endif
}

void GraphicsEngine::LoadPending(GLTexture* texture) {
#if GF_HAVE_SHEET_DATA
    LoadSheet(texture->sheet);
#else
    (void)texture;
#endif
}

void GraphicsEngine::KnowOpaqueParts(GLTexture* texture, int width, int height, const void* rgba) {
    if (!texture || !rgba) return;
    texture->opaqueParts = std::make_shared<const OpaqueBlocks>(width, height, static_cast<const unsigned char*>(rgba));
}

GLTexture* GraphicsEngine::CreateTexture(int width, int height, const void* rgba, bool mipmaps) {
    return CreateGLTexture(width, height, rgba, mipmaps);
}

void GraphicsEngine::EnsureDepthStencil(int width, int height) {
    if (depthStencil && width <= depthWidth && height <= depthHeight) return;
    // One depth-stencil buffer serves every target, as large as the largest,
    // so depth written into one target is still there for the next.
    depthWidth = std::max(width, depthWidth);
    depthHeight = std::max(height, depthHeight);
    if (!depthStencil) glGenRenderbuffers(1, &depthStencil);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, depthWidth, depthHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

bool GraphicsEngine::SetRenderTarget(RenderTarget* target) {
    if (!target || !target->Prepare()) return false;
    EnsureDepthStencil(target->width, target->height);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil);
    targetIsTexture = true;
    targetWidth = target->width;
    targetHeight = target->height;
    pShader[SHADER_FX].SetTargetIsTexture(true);
    SetViewport(0, 0, target->width, target->height);
    return true;
}

void GraphicsEngine::SetWindowTarget(SDL_Window* window, int width, int height) {
    SDL_GL_MakeCurrent(window, context);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    targetIsTexture = false;
    targetWidth = width;
    targetHeight = height;
    pShader[SHADER_FX].SetTargetIsTexture(false);
    SetViewport(0, 0, width, height);
}

void GraphicsEngine::SetViewport(int x, int y, int width, int height) {
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
    // Textures are stored top row first, so their rows count from the top;
    // a window's rows count from the bottom.
    const int row = targetIsTexture ? y : targetHeight - y - height;
    glViewport(x, row, width, height);
}

void GraphicsEngine::Clear(std::uint32_t colour, bool depth) {
    const int row = targetIsTexture ? viewport[1] : targetHeight - viewport[1] - viewport[3];
    // Only the viewport is cleared; a viewport over the whole target needs no
    // scissor, which lets the driver clear the fast way.
    const bool whole =
        viewport[0] == 0 && viewport[1] == 0 && viewport[2] == targetWidth && viewport[3] == targetHeight;
    if (!whole) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport[0], row, viewport[2], viewport[3]);
    }
    glClearColor(((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f, (colour & 0xFF) / 255.0f,
                 ((colour >> 24) & 0xFF) / 255.0f);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (depth) {
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
    pShader[SHADER_FX].InvalidateState();
}

bool GraphicsEngine::ReadPixels(RenderTarget& target, std::uint8_t* rgba) {
    if (!target.GetSurface()) return false;
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, target.width, target.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return glGetError() == GL_NO_ERROR;
}

void GraphicsEngine::SetTextures() {
    glBindVertexArray(vertexArray);
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 2.0f / resolution, 2.0f, 0.0f);
    pShader[SHADER_FX].SetMatrix("worldViewProj", view * scaling);
    batchCount = 0;
    batchVertices.clear();
}

bool GraphicsEngine::SelectTechnique(const std::string& name) {
    if (pShader[SHADER_FX].SetTechnique(name)) return true;
    DXTrace("GraphicsEngine", __LINE__, ("pShader[SHADER_FX]->SetTechnique(\"" + name + "\")").c_str());
    return false;
}

void GraphicsEngine::DrawQuad(int shader) {
    const unsigned count = batchCount;
    batchCount = 0;
    if (count == 0 || !vertexArray) {
        batchVertices.clear();
        return;
    }
    const std::size_t bytes = batchVertices.size() * sizeof(QuadVertex);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertex2DBuffer);
    // Each batch goes to a part of the stream buffer no earlier draw of this
    // round reads, so GL need not wait; a full buffer is orphaned: GL keeps
    // the old storage for the draws that still read it and hands out new,
    // larger when this round alone has streamed more than the buffer holds.
    roundStreamedBytes += bytes;
    const bool grow = streamBytes < roundStreamedBytes && streamBytes < kStreamMostBytes;
    if (streamOffset + bytes > streamBytes || grow) {
        while (streamBytes < roundStreamedBytes && streamBytes < kStreamMostBytes) streamBytes *= 2;
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamBytes), nullptr, GL_STREAM_DRAW);
        streamOffset = 0;
    }
    void* into = glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(streamOffset), static_cast<GLsizeiptr>(bytes),
                                  GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (!into) {
        DXTrace("GraphicsEngine", __LINE__, "glMapBufferRange(GL_ARRAY_BUFFER, streamOffset, bytes)");
        batchVertices.clear();
        return;
    }
    std::memcpy(into, batchVertices.data(), bytes);
    glUnmapBuffer(GL_ARRAY_BUFFER);
    const auto first = static_cast<GLint>(streamOffset / sizeof(QuadVertex));
    streamOffset += bytes;
    batchVertices.clear();
    pShader[shader].CommitChanges();
    glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_SHORT, nullptr, first);
    ++drawCalls;
}

void GraphicsEngine::PushQuad(float x, float y, float width, float height, float rotation, float u, float v, float du,
                              float dv, std::uint32_t c) {
    // The corners of the unit square, scaled to the quad, turned about its
    // centre (techniques that shade by place in the quad are not turned),
    // and moved to its place.
    static constexpr float cornerX[4] = {-0.5f, 0.5f, -0.5f, 0.5f};
    static constexpr float cornerY[4] = {0.5f, 0.5f, -0.5f, -0.5f};
    static constexpr float cornerU[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    static constexpr float cornerV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    float cs = 1.0f, sn = 0.0f;
    if (rotation != 0.0f && pShader[SHADER_FX].TechniqueTurnsQuads()) {
        cs = std::cos(rotation);
        sn = std::sin(rotation);
    }
    const auto r = static_cast<std::uint8_t>((c >> 16) & 0xFF), g = static_cast<std::uint8_t>((c >> 8) & 0xFF),
               b = static_cast<std::uint8_t>(c & 0xFF), a = static_cast<std::uint8_t>((c >> 24) & 0xFF);
    for (int k = 0; k < 4; ++k) {
        const float px = cornerX[k] * width, py = cornerY[k] * height;
        batchVertices.push_back({cs * px - sn * py + x, sn * px + cs * py + y, u + cornerU[k] * du, v + cornerV[k] * dv,
                                 cornerU[k], cornerV[k], r, g, b, a});
    }
    ++batchCount;
}

void GraphicsEngine::DrawGameFrame(float x, float y, float width, float height, float rotation, GLTexture* texture,
                                   float u, float v, float du, float dv, int colour) {
    Upload(texture);
    if (texture != batchTexture || batchCount == QUADS_PER_BATCH) {
        if (batchCount && batchTexture) {
            pShader[SHADER_FX].SetTexture("texture0", batchTexture);
            DrawQuad(SHADER_FX);
        }
        batchTexture = texture;
        batchCount = 0;
        batchVertices.clear();
    }
    PushQuad(x, y, width, height, rotation, u, v, du, dv, static_cast<std::uint32_t>(colour));
}

void GraphicsEngine::DrawFinalGameFrames() {
    if (batchCount && batchTexture) {
        pShader[SHADER_FX].SetTexture("texture0", batchTexture);
        DrawQuad(SHADER_FX);
    }
    batchCount = 0;
    batchVertices.clear();
}

void GraphicsEngine::RenderTexture(GLTexture* texture, int, int, bool linear) {
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 2.0f, 2.0f, 0.0f);
    pShader[SHADER_FX].SetMatrix("worldViewProj", scaling);
    // GL samples texel centres at pixel centres: the whole texture maps onto
    // the viewport with no half-texel shift.
    batchCount = 0;
    batchVertices.clear();
    PushQuad(0, 0, 1, 1, 0, 0, 0, 1, 1, 0xFFFFFFFFu);
    if (linear)
        DrawLinearTexture(texture);
    else
        DrawTexture(texture);
}

void GraphicsEngine::DrawChromePicture(const std::string& set, std::uint32_t colour) {
    DrawChromeFrame(FrameMap(set, 0, 0), colour);
}

void GraphicsEngine::DrawChromeFrame(const Frame& frame, std::uint32_t colour) {
    GLTexture* texture = whiteTexture;
    float u = 0.0f, v = 0.0f, du = 1.0f, dv = 1.0f;
    const Texture* t = FrameTexture(frame);
    if (t && t->texture) {
        texture = t->texture;
        Upload(texture);
        u = t->u;
        v = t->v;
        du = t->du;
        dv = t->dv;
    }
    resolution = 1.0f;
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 2.0f, 2.0f, 2.0f);
    pShader[SHADER_FX].SetMatrix("worldViewProj", scaling);
    batchCount = 0;
    batchVertices.clear();
    PushQuad(0, 0, 1, 1, 0, u, v, du, dv, colour);
    DrawLinearTexture(texture);
    D3DXMatrixScaling(&scaling, 2.0f / resolution, 2.0f, 0.0f);
    pShader[SHADER_FX].SetMatrix("worldViewProj", view * scaling);
}

void GraphicsEngine::DrawChromeTitle(const std::string& title, int left, int top, int height) {
#if GF_HAVE_FONTS
    auto font = FontMap.find("default");
    if (font == FontMap.end()) return;
    const std::uint32_t tint = 0xFFC4BDADu;  // 196, 189, 173
    int pen = 0;
    for (char c : title) {
        const int code = static_cast<unsigned char>(c) & 0x7F;
        // Letters sit edge to edge: the advance is the letter's truncated width.
        const int width = static_cast<int>(static_cast<float>(height) * font->second.width[code]);
        if (width > 0) {
            SetViewport(pen + left, top, width, height);
            DrawChromeFrame(FrameMap("default", code, 0), tint);
        }
        pen += width;
    }
#else
    (void)title;
    (void)left;
    (void)top;
    (void)height;
#endif
}

void GraphicsEngine::DrawTexture(GLTexture* texture) {
    Upload(texture);
    SelectTechnique("Technique2D");
    pShader[SHADER_FX].SetTexture("texture0", texture);
    DrawQuad(SHADER_FX);
}

void GraphicsEngine::DrawLinearTexture(GLTexture* texture) {
    Upload(texture);
    SelectTechnique("TechniqueWrap2D");
    pShader[SHADER_FX].SetTexture("texture0", texture);
    DrawQuad(SHADER_FX);
}

bool GraphicsEngine::FitToVisible(Plane2D& q, const GLTexture& texture, bool& hidden) const {
    hidden = false;
    float u0 = 0.0f, u1 = 0.0f, v0 = texture.visibleV0, v1 = texture.visibleV1;
    bool acrossU = false;
    if (q.picture && q.picture->visibleKnown && q.picture->texture == &texture) {
        u0 = q.picture->visibleU0;
        u1 = q.picture->visibleU1;
        v0 = std::max(v0, q.picture->visibleV0);
        v1 = std::min(v1, q.picture->visibleV1);
        acrossU = true;
    } else if (v0 <= 0.0f && v1 >= 1.0f) {
        return false;
    }
    if (q.du == 0.0f || q.dv == 0.0f || q.width == 0.0f || q.height == 0.0f || texture.width <= 0 ||
        texture.height <= 0)
        return false;
    // Texels across the quad and pixels it covers: their ratio picks the mip
    // level, and a level-k texel reaches 2^k texels of the picture, so the
    // margin grows with it (filtering reads one texel further still).
    const float texelsU = std::fabs(q.du) * static_cast<float>(texture.width);
    const float texelsV = std::fabs(q.dv) * static_cast<float>(texture.height);
    const float pixelsU = std::fabs(q.width) * frameScale * static_cast<float>(targetWidth) / resolution;
    const float pixelsV = std::fabs(q.height) * frameScale * static_cast<float>(targetHeight);
    if (!(pixelsU > 0.0f) || !(pixelsV > 0.0f)) return false;
    const float rho = std::max(texelsU / pixelsU, texelsV / pixelsV);
    // A quad squeezed to a sliver of a pixel gives a ratio past any mip level
    // (infinite, even): it is drawn whole rather than fitted, and the level is
    // tested before it is made an integer, which it could not hold.
    int level = 0;
    if (rho > 0.8f) {
        const float wanted = std::ceil(std::log2(rho) + 0.25f);
        if (!(wanted <= 14.0f)) return false;
        level = static_cast<int>(wanted);
    }
    const float margin = static_cast<float>((2 << level) + 1);
    auto span = [](float a, float b, float start, float size, float marginFraction, float& from, float& to) {
        const float fa = (a - start) / size, fb = (b - start) / size;
        from = std::max(0.0f, std::min(fa, fb) - marginFraction);
        to = std::min(1.0f, std::max(fa, fb) + marginFraction);
    };
    float left = 0.0f, right = 1.0f, top = 0.0f, bottom = 1.0f;
    if (acrossU) span(u0, u1, q.u, q.du, margin / texelsU, left, right);
    span(v0, v1, q.v, q.dv, margin / texelsV, top, bottom);
    if (right <= left || bottom <= top) {
        hidden = true;
        return true;
    }
    // Not worth a change for a tenth of the area.
    if ((right - left) * (bottom - top) > 0.9f) return false;
    // The texture's top row lies at the quad's top edge (+height/2).
    const float ox = (0.5f * (left + right) - 0.5f) * q.width;
    const float oy = (0.5f - 0.5f * (top + bottom)) * q.height;
    if (q.rotation != 0.0f) {
        const float c = std::cos(q.rotation), s = std::sin(q.rotation);
        q.x += c * ox - s * oy;
        q.y += s * ox + c * oy;
    } else {
        q.x += ox;
        q.y += oy;
    }
    q.width *= right - left;
    q.height *= bottom - top;
    q.u += left * q.du;
    q.du *= right - left;
    q.v += top * q.dv;
    q.dv *= bottom - top;
    return true;
}

namespace {
// Where a quad stands in the window's drawing order: its list's rank, then
// its place in that list. Covers and cuts compare these.
std::int64_t QuadOrder(int rank, std::size_t i) {
    return (static_cast<std::int64_t>(rank) << 32) | static_cast<std::int64_t>(i);
}

// The window's lists are ranked in the order they are drawn: backgrounds,
// tiles 0-11, frames, tiles 12-15.
constexpr int kFramesRank = 13;
int TileRank(unsigned i) { return static_cast<int>(i < 12 ? 1 + i : 2 + i); }

// Visits the window's lists in the order they are drawn, each with its
// technique and rank.
template <class Visit>
void ForEachListInDrawOrder(const Buffer& buffer, Visit visit) {
    static const std::string wrap = "TechniqueWrap2D", linear = "TechniqueLinear2D";
    visit(buffer.backgrounds, wrap, 0);
    for (unsigned i = 0; i < 12 && i < Buffer::tile_count; ++i)
        visit(buffer.tiles[i], buffer.tileTechnique[i], TileRank(i));
    visit(buffer.frames, linear, kFramesRank);
    for (unsigned i = 12; i < Buffer::tile_count; ++i) visit(buffer.tiles[i], buffer.tileTechnique[i], TileRank(i));
}
}  // namespace

void GraphicsEngine::DrawList(const std::vector<Plane2D>& list, TripleBuffer& tripleBuffer, int rank) {
    // Quads are fitted to what their pictures show, except for techniques
    // that shade by place in the quad rather than by the picture.
    const bool fit = savings.fitQuads && pShader[SHADER_FX].TechniqueTurnsQuads();
    const bool skipBlank = pShader[SHADER_FX].TechniqueAlphaTests();
    const std::string& technique = pShader[SHADER_FX].GetTechnique();
    const bool cut = rank >= 0 && (savings.skipCovered || savings.skipClear) && Effect::TechniqueCuts(technique);
    const bool dropsClear = Effect::TechniqueDropsClear(technique);
    const bool wrapsAcross = Effect::TechniqueWrapsAcross(technique);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Plane2D& p = list[i];
        GLTexture* texture = p.texture;
        if (!texture && p.sourceLayer < Buffer::layer_count) {
            if (skipBlank && blankLayer[p.sourceLayer]) continue;
            texture = tripleBuffer.layerRenderTarget[p.sourceLayer].GetTexture();
        }
        // Fitting and cutting read the picture's visible and opaque parts,
        // known once its sheet is up.
        if (p.texture) Upload(texture);
        Plane2D q = p;
        if (fit && p.texture) {
            bool hidden = false;
            if (FitToVisible(q, *texture, hidden) && hidden) continue;
        }
        if (cut && DrawShowing(q, texture, QuadOrder(rank, i), dropsClear && p.texture, wrapsAcross)) continue;
        DrawGameFrame(q.x, q.y, q.width, q.height, q.rotation, texture, q.u, q.v, q.du, q.dv, q.colour);
    }
    DrawFinalGameFrames();
}

float GraphicsEngine::PixelX(float x) const {
    return ((x - frameX) * frameScale * 2.0f / resolution + 1.0f) * 0.5f * static_cast<float>(targetWidth);
}
float GraphicsEngine::PixelY(float y) const {
    return (1.0f - (y - frameY) * frameScale * 2.0f) * 0.5f * static_cast<float>(targetHeight);
}
float GraphicsEngine::GameX(float px) const {
    return frameX + (px / static_cast<float>(targetWidth) * 2.0f - 1.0f) * resolution / (2.0f * frameScale);
}
float GraphicsEngine::GameY(float py) const {
    return frameY + (1.0f - py / static_cast<float>(targetHeight) * 2.0f) / (2.0f * frameScale);
}

void GraphicsEngine::FindCovers(const Buffer& buffer) {
    cover.Reset(0, 0);
    if (!savings.skipCovered || targetWidth <= 0 || targetHeight <= 0 || !(frameScale > 0.0f) || !(resolution > 0.0f))
        return;
    // A cover matters only after the first quad that could be cut.
    std::int64_t first = -1;
    auto firstCut = [&](const std::vector<Plane2D>& list, const std::string& technique, int rank) {
        if (first >= 0 || list.empty() || !Effect::TechniqueCuts(technique)) return;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (Large(list[i])) {
                first = QuadOrder(rank, i);
                return;
            }
    };
    ForEachListInDrawOrder(buffer, firstCut);
    if (first < 0) return;
    cover.Reset(targetWidth, targetHeight);
    auto coverWith = [&](const std::vector<Plane2D>& list, const std::string& technique, int rank) {
        if (list.empty() || !Effect::TechniqueHides(technique)) return;
        if (QuadOrder(rank + 1, 0) <= first) return;
        const bool wraps = Effect::TechniqueWrapsAcross(technique);
        // Quads of one picture come together: the last look-up is kept.
        const GLTexture* lastTexture = nullptr;
        const OpaqueBlocks* opaque = nullptr;
        // Less than two cells a side covers too little to be worth a look.
        const float least = 2.0f * CoverGrid::kCell;
        const float leastWidth = least * resolution / (frameScale * static_cast<float>(targetWidth));
        const float leastHeight = least / (frameScale * static_cast<float>(targetHeight));
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (QuadOrder(rank, i) <= first) continue;
            const Plane2D& p = list[i];
            // Only a wholly opaque tint on an upright quad of a known picture.
            if (!p.texture || (static_cast<std::uint32_t>(p.colour) >> 24) != 0xFF || p.rotation != 0.0f ||
                !(std::fabs(p.width) >= leastWidth) || !(std::fabs(p.height) >= leastHeight))
                continue;
            if (p.texture != lastTexture) {
                lastTexture = p.texture;
                opaque =
                    p.texture->opaqueParts && !p.texture->opaqueParts->Empty() ? p.texture->opaqueParts.get() : nullptr;
            }
            if (opaque) CoverWith(p, *opaque, wraps, QuadOrder(rank, i));
        }
    };
    ForEachListInDrawOrder(buffer, coverWith);
}

bool GraphicsEngine::Footprints(const Plane2D& q, const OpaqueBlocks& opaque, float left, float right, float top,
                                float bottom, int c0, int r0, int c1, int r1) {
    constexpr int kCell = CoverGrid::kCell;
    // The coarsest mip level the quad may be read at (a sampler blending two
    // levels reads the one above the nearest too), and how far around a
    // sample point the filter reads at that level, in texels of the picture:
    // a level-k texel is the mean of 2^k by 2^k of them, and the filter reads
    // the level-k texels on both sides of the point.
    const auto texW = static_cast<float>(opaque.Width()), texH = static_cast<float>(opaque.Height());
    const float rho = std::max(std::fabs(q.du) * texW / (right - left), std::fabs(q.dv) * texH / (bottom - top));
    int level = 0;
    if (rho > 0.8f) {
        const float wanted = std::floor(std::log2(rho) + 0.25f) + 1.0f;
        if (!(wanted <= 14.0f)) return false;
        level = static_cast<int>(wanted);
    }
    const float margin = 1.5f * static_cast<float>(1 << level) + 0.5f;
    // Texels read by each column and each row of cells: from the first pixel
    // centre's sample to the last's, widened by the margin.
    auto texelsAcross = [&](float px) { return (q.u + q.du * ((GameX(px) - q.x) / q.width + 0.5f)) * texW; };
    auto texelsDown = [&](float py) { return (q.v + q.dv * (0.5f - (GameY(py) - q.y) / q.height)) * texH; };
    coverColumns.resize(static_cast<std::size_t>(2 * (c1 - c0)));
    for (int c = c0; c < c1; ++c) {
        const float a = texelsAcross(static_cast<float>(c * kCell) + 0.5f);
        const float b = texelsAcross(static_cast<float>(c * kCell + kCell) - 0.5f);
        coverColumns[static_cast<std::size_t>(2 * (c - c0))] = static_cast<int>(std::floor(std::min(a, b) - margin));
        coverColumns[static_cast<std::size_t>(2 * (c - c0) + 1)] = static_cast<int>(std::ceil(std::max(a, b) + margin));
    }
    coverRows.resize(static_cast<std::size_t>(2 * (r1 - r0)));
    for (int r = r0; r < r1; ++r) {
        const float a = texelsDown(static_cast<float>(r * kCell) + 0.5f);
        const float b = texelsDown(static_cast<float>(r * kCell + kCell) - 0.5f);
        coverRows[static_cast<std::size_t>(2 * (r - r0))] = static_cast<int>(std::floor(std::min(a, b) - margin));
        coverRows[static_cast<std::size_t>(2 * (r - r0) + 1)] = static_cast<int>(std::ceil(std::max(a, b) + margin));
    }
    return true;
}

void GraphicsEngine::CoverWith(const Plane2D& q, const OpaqueBlocks& opaque, bool wrapsAcross, std::int64_t order) {
    constexpr int kCell = CoverGrid::kCell;
    if (q.width == 0.0f || q.height == 0.0f || q.du == 0.0f || q.dv == 0.0f) return;
    const float left = PixelX(q.x - 0.5f * std::fabs(q.width)), right = PixelX(q.x + 0.5f * std::fabs(q.width));
    const float top = PixelY(q.y + 0.5f * std::fabs(q.height)), bottom = PixelY(q.y - 0.5f * std::fabs(q.height));
    // Too small to cover a cell, or not a finite place.
    if (!(right - left >= static_cast<float>(kCell)) || !(bottom - top >= static_cast<float>(kCell))) return;
    // The cells whose every pixel centre the quad holds, with room for the
    // rasteriser's rounding of the corners.
    constexpr float kSlack = 0.25f;
    const int c0 = std::max(0, static_cast<int>(std::ceil((left - 0.5f + kSlack) / kCell)));
    const int c1 =
        std::min(cover.Columns(), static_cast<int>(std::floor((right - (kCell - 0.5f) - kSlack) / kCell)) + 1);
    const int r0 = std::max(0, static_cast<int>(std::ceil((top - 0.5f + kSlack) / kCell)));
    const int r1 = std::min(cover.Rows(), static_cast<int>(std::floor((bottom - (kCell - 0.5f) - kSlack) / kCell)) + 1);
    if (c1 <= c0 || r1 <= r0) return;
    if (!Footprints(q, opaque, left, right, top, bottom, c0, r0, c1, r1)) return;
    using Opacity = OpaqueBlocks::Opacity;
    const int width = opaque.Width();
    auto opacity = [&](int x0, int y0, int x1, int y1) {
        if (!wrapsAcross) return opaque.Of(x0, y0, x1, y1);
        // Repeated across: the columns read, folded into the picture.
        if (x1 - x0 >= width) return opaque.Of(0, y0, width, y1);
        const int from = ((x0 % width) + width) % width;
        const int to = from + (x1 - x0);
        if (to <= width) return opaque.Of(from, y0, to, y1);
        const Opacity a = opaque.Of(from, y0, width, y1), b = opaque.Of(0, y0, to - width, y1);
        return a == b ? a : Opacity::Some;
    };
    const auto column = [&](int c, int k) { return coverColumns[static_cast<std::size_t>(2 * (c - c0) + k)]; };
    const auto row = [&](int r, int k) { return coverRows[static_cast<std::size_t>(2 * (r - r0) + k)]; };
    // Blocks of cells first: one look settles a block wholly opaque or
    // wholly clear; only the others are looked at cell by cell.
    constexpr int kGroup = 8;
    for (int gr = r0; gr < r1; gr += kGroup) {
        const int gr1 = std::min(gr + kGroup, r1);
        const int y0 = std::min(row(gr, 0), row(gr1 - 1, 0)), y1 = std::max(row(gr, 1), row(gr1 - 1, 1));
        for (int gc = c0; gc < c1; gc += kGroup) {
            const int gc1 = std::min(gc + kGroup, c1);
            const int x0 = std::min(column(gc, 0), column(gc1 - 1, 0));
            const int x1 = std::max(column(gc, 1), column(gc1 - 1, 1));
            const Opacity group = opacity(x0, y0, x1, y1);
            if (group == Opacity::None) continue;
            for (int r = gr; r < gr1; ++r)
                for (int c = gc; c < gc1; ++c)
                    if (group == Opacity::All ||
                        opacity(column(c, 0), row(r, 0), column(c, 1), row(r, 1)) == Opacity::All)
                        cover.Cover(c, r, order);
        }
    }
}

bool GraphicsEngine::Large(const Plane2D& q) const {
    // Only large upright quads are worth cutting.
    constexpr float kLeast = 64.0f;  // pixels a side
    if (q.rotation != 0.0f || !(q.width > 0.0f) || !(q.height > 0.0f)) return false;
    return PixelX(q.x + 0.5f * q.width) - PixelX(q.x - 0.5f * q.width) >= kLeast &&
           PixelY(q.y - 0.5f * q.height) - PixelY(q.y + 0.5f * q.height) >= kLeast;
}

bool GraphicsEngine::DrawShowing(const Plane2D& q, GLTexture* texture, std::int64_t order, bool dropsClear,
                                 bool wrapsAcross) {
    constexpr int kCell = CoverGrid::kCell;
    if (!Large(q)) return false;
    const float left = PixelX(q.x - 0.5f * q.width), right = PixelX(q.x + 0.5f * q.width);
    const float top = PixelY(q.y + 0.5f * q.height), bottom = PixelY(q.y - 0.5f * q.height);
    const int c0 = static_cast<int>(std::floor(std::max(left, 0.0f) / kCell));
    const int c1 = static_cast<int>(std::ceil(std::min(right, static_cast<float>(targetWidth)) / kCell));
    const int r0 = static_cast<int>(std::floor(std::max(top, 0.0f) / kCell));
    const int r1 = static_cast<int>(std::ceil(std::min(bottom, static_cast<float>(targetHeight)) / kCell));
    if (c1 <= c0 || r1 <= r0) return false;
    // Where the quad's own picture is clear, a technique that drops clear
    // pixels draws nothing: per column of cells, the rows of the picture that
    // can show anything there.
    const OpaqueBlocks* parts = nullptr;
    if (dropsClear && savings.skipClear) {
        if (texture->opaqueParts && Footprints(q, *texture->opaqueParts, left, right, top, bottom, c0, r0, c1, r1))
            parts = texture->opaqueParts.get();
    }
    const bool covered = cover.Any();
    if (!parts && !covered) return false;
    if (parts) {
        const int width = parts->Width();
        showingRows.resize(static_cast<std::size_t>(2 * (c1 - c0)));
        for (int c = c0; c < c1; ++c) {
            const int x0 = coverColumns[static_cast<std::size_t>(2 * (c - c0))];
            const int x1 = coverColumns[static_cast<std::size_t>(2 * (c - c0) + 1)];
            int top0 = 0, end0 = 0, top1 = 0, end1 = 0;
            if (!wrapsAcross) {
                parts->VisibleRows(x0, x1, top0, end0);
            } else if (x1 - x0 >= width) {
                parts->VisibleRows(0, width, top0, end0);
            } else {
                // Repeated across: the columns read, folded into the picture.
                const int from = ((x0 % width) + width) % width, to = from + (x1 - x0);
                parts->VisibleRows(from, std::min(to, width), top0, end0);
                if (to > width) parts->VisibleRows(0, to - width, top1, end1);
            }
            if (end1 > top1) {
                top0 = end0 > top0 ? std::min(top0, top1) : top1;
                end0 = std::max(end0, end1);
            }
            showingRows[static_cast<std::size_t>(2 * (c - c0))] = top0;
            showingRows[static_cast<std::size_t>(2 * (c - c0) + 1)] = end0;
        }
    }
    if (parts)
        for (int r = r0; r < r1; ++r) {
            // Rows read past the picture's edges read its edge rows.
            int& y0 = coverRows[static_cast<std::size_t>(2 * (r - r0))];
            int& y1 = coverRows[static_cast<std::size_t>(2 * (r - r0) + 1)];
            y0 = std::clamp(y0, 0, parts->Height() - 1);
            y1 = std::clamp(y1, y0 + 1, parts->Height());
        }
    auto hidden = [&](int c, int r) {
        if (covered && cover.At(c, r) > order) return true;
        if (!parts) return false;
        const int top0 = showingRows[static_cast<std::size_t>(2 * (c - c0))];
        const int end0 = showingRows[static_cast<std::size_t>(2 * (c - c0) + 1)];
        const int y0 = coverRows[static_cast<std::size_t>(2 * (r - r0))];
        const int y1 = coverRows[static_cast<std::size_t>(2 * (r - r0) + 1)];
        return end0 <= top0 || y1 <= top0 || y0 >= end0;
    };
    showing.clear();
    // A hidden run under 16 pixels is drawn over.
    CoverGrid::Spans(c0, r0, std::min(c1, (targetWidth + kCell - 1) / kCell),
                     std::min(r1, (targetHeight + kCell - 1) / kCell), (16 + kCell - 1) / kCell, hidden, showing);
    if (showing.size() == 1 && showing[0] == CoverGrid::Span{c0, r0, c1, r1}) return false;
    // Each part keeps the quad's own edges where it reaches them, so the
    // parts cover the same pixels the quad did, and reads the picture where
    // the quad read it there.
    const float x0 = q.x - 0.5f * q.width, x1 = q.x + 0.5f * q.width;
    const float yTop = q.y + 0.5f * q.height, yBottom = q.y - 0.5f * q.height;
    for (const CoverGrid::Span& s : showing) {
        const float a = s.c0 == c0 ? x0 : GameX(static_cast<float>(s.c0 * kCell));
        const float b = s.c1 == c1 ? x1 : GameX(static_cast<float>(s.c1 * kCell));
        const float t = s.r0 == r0 ? yTop : GameY(static_cast<float>(s.r0 * kCell));
        const float d = s.r1 == r1 ? yBottom : GameY(static_cast<float>(s.r1 * kCell));
        const float ua = q.u + q.du * (a - x0) / q.width, ub = q.u + q.du * (b - x0) / q.width;
        const float vt = q.v + q.dv * (yTop - t) / q.height, vd = q.v + q.dv * (yTop - d) / q.height;
        DrawGameFrame(0.5f * (a + b), 0.5f * (t + d), b - a, t - d, 0.0f, texture, ua, vt, ub - ua, vd - vt, q.colour);
    }
    return true;
}

void GraphicsEngine::DrawStrips(const std::vector<Plane2D>& list, TripleBuffer& tripleBuffer) {
    const bool fit = savings.fitQuads;
    std::vector<Plane2D>& run = stripRun;
    run.clear();
    auto flush = [&] {
        if (run.size() == 1)
            DrawGameFrame(run[0].x, run[0].y, run[0].width, run[0].height, 0.0f, run[0].texture, run[0].u, run[0].v,
                          run[0].du, run[0].dv, run[0].colour);
        else if (!run.empty())
            DrawStripRun(run);
        run.clear();
    };
    for (const Plane2D& p : list) {
        if (!p.texture) {
            if (p.sourceLayer < Buffer::layer_count && blankLayer[p.sourceLayer]) continue;
            flush();
            GLTexture* texture = p.sourceLayer < Buffer::layer_count
                                     ? tripleBuffer.layerRenderTarget[p.sourceLayer].GetTexture()
                                     : nullptr;
            DrawGameFrame(p.x, p.y, p.width, p.height, p.rotation, texture, p.u, p.v, p.du, p.dv, p.colour);
            continue;
        }
        Plane2D q = p;
        bool hidden = false;
        Upload(q.texture);
        if (fit && FitToVisible(q, *q.texture, hidden) && hidden) continue;
        if (q.rotation != 0.0f || q.width == 0.0f || q.height == 0.0f) {
            flush();
            DrawGameFrame(q.x, q.y, q.width, q.height, q.rotation, q.texture, q.u, q.v, q.du, q.dv, q.colour);
            continue;
        }
        if (!run.empty() &&
            (run.size() == kMaxStrips || run[0].texture != q.texture || run[0].x != q.x || run[0].width != q.width))
            flush();
        run.push_back(q);
    }
    flush();
    DrawFinalGameFrames();
}

void GraphicsEngine::DrawStripRun(const std::vector<Plane2D>& run) {
    // The run is cut into bands at every strip's top and bottom edge, so that
    // each band lies wholly inside or wholly outside each strip: a pixel is
    // shaded once, reading only the strips that cover it. A band one strip
    // covers is that strip cut to the band, drawn as any strip; a band
    // several cover is one quad that reads each of them.
    float edges[2 * kMaxStrips];
    std::size_t edgeCount = 0;
    for (const Plane2D& s : run) {
        edges[edgeCount++] = s.y + 0.5f * s.height;
        edges[edgeCount++] = s.y - 0.5f * s.height;
    }
    std::sort(edges, edges + edgeCount, std::greater<float>());
    edgeCount = static_cast<std::size_t>(std::unique(edges, edges + edgeCount) - edges);
    // Where a strip's v lies at height y: it runs from v at the edge at
    // y + height/2 to v + dv at the other.
    auto vAt = [](const Plane2D& s, float y) { return s.v + s.dv * (0.5f - (y - s.y) / s.height); };
    Effect& effect = pShader[SHADER_FX];
    const std::string technique = effect.GetTechnique();
    for (std::size_t k = 0; k + 1 < edgeCount; ++k) {
        const float top = edges[k], bottom = edges[k + 1];
        const float middle = 0.5f * (top + bottom);
        const Plane2D* covering[kMaxStrips];
        std::size_t count = 0;
        for (const Plane2D& s : run)
            if (std::min(s.y + 0.5f * s.height, s.y - 0.5f * s.height) < middle &&
                std::max(s.y + 0.5f * s.height, s.y - 0.5f * s.height) > middle)
                covering[count++] = &s;
        if (count == 0) continue;
        if (count == 1) {
            const Plane2D& s = *covering[0];
            const float v = vAt(s, top);
            DrawGameFrame(s.x, middle, s.width, top - bottom, 0.0f, s.texture, s.u, v, s.du, vAt(s, bottom) - v,
                          s.colour);
            continue;
        }
        // Per strip: its texture coordinate from the place in the band (u =
        // x + y * across, v = z + w * down) and its tint.
        float data[1 + 2 * kMaxStrips][4] = {};
        data[0][0] = static_cast<float>(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Plane2D& s = *covering[i];
            float* place = data[1 + 2 * i];
            place[0] = s.u;
            place[1] = s.du;
            place[2] = vAt(s, top);
            place[3] = vAt(s, bottom) - place[2];
            const auto c = static_cast<std::uint32_t>(s.colour);
            float* tint = data[2 + 2 * i];
            tint[0] = static_cast<float>((c >> 16) & 0xFF) / 255.0f;
            tint[1] = static_cast<float>((c >> 8) & 0xFF) / 255.0f;
            tint[2] = static_cast<float>(c & 0xFF) / 255.0f;
            tint[3] = static_cast<float>((c >> 24) & 0xFF) / 255.0f;
        }
        DrawFinalGameFrames();
        SelectTechnique("TechniqueTileStrips2D");
        effect.SetVectorArray("instancedata", data[0], 1 + 2 * static_cast<unsigned>(count));
        DrawGameFrame(covering[0]->x, middle, covering[0]->width, top - bottom, 0.0f, covering[0]->texture, 0.0f, 0.0f,
                      1.0f, 1.0f, -1);
        DrawFinalGameFrames();
        effect.SetVectorArray("instancedata", data[0], 0);
        SelectTechnique(technique);
    }
}

bool GraphicsEngine::DrawTripleBuffer(TripleBuffer& tb) {
    RenderTarget* target = tb.GetRenderTarget();
    resolution = tb.GetResolution();
    Buffer* buffer = tb.GetNewestBuffer();
    if (!buffer) {
        if (target) target->updated = false;
        return false;
    }
    drawnBuffer = buffer;
    buffer->Sort();
    // A window whose target is missing (not made yet, or of no size) is
    // skipped; the other windows are still drawn.
    auto giveBack = [&] {
        buffer->Ready();
        drawnBuffer = nullptr;
        if (target) target->updated = false;
        return false;
    };
    auto isLayer = [](int index) { return index >= 0 && index < static_cast<int>(Buffer::layer_count); };

    // Which layers the frame reads: the window's lists read them as pictures
    // or tile and mask textures, and a layer list that is drawn reads its
    // sources in turn. A layer list whose layer nothing reads cannot be seen
    // and is not drawn (unless it writes depth, which the window shares).
    bool read[Buffer::layer_count] = {};
    auto noteReads = [&](const std::vector<Plane2D>& list) {
        for (const Plane2D& p : list)
            if (!p.texture && isLayer(static_cast<int>(p.sourceLayer))) read[p.sourceLayer] = true;
    };
    noteReads(buffer->backgrounds);
    noteReads(buffer->frames);
    for (unsigned i = 0; i < Buffer::tile_count; ++i) {
        if (buffer->tiles[i].empty()) continue;
        if (!buffer->tileTexture[i] && isLayer(buffer->tileTextureLayer[i])) read[buffer->tileTextureLayer[i]] = true;
        if (!buffer->maskTexture[i] && isLayer(buffer->maskTextureLayer[i])) read[buffer->maskTextureLayer[i]] = true;
        noteReads(buffer->tiles[i]);
    }
    bool drawLayerList[Buffer::layer_count] = {};
    for (bool changed = true; changed;) {
        changed = false;
        for (unsigned j = 0; j < Buffer::layer_count; ++j) {
            const int into = buffer->renderTargetLayer[j];
            if (drawLayerList[j] || buffer->layers[j].empty() || !isLayer(into)) continue;
            if (savings.skipUnreadLayers && !read[into] && !Effect::TechniqueUsesDepth(buffer->layerTechnique[j]))
                continue;
            drawLayerList[j] = changed = true;
            if (isLayer(buffer->layerSecondTexture[j])) read[buffer->layerSecondTexture[j]] = true;
            noteReads(buffer->layers[j]);
        }
    }

    // A layer that only light is drawn into holds soft gradients and nothing
    // sharp: it is drawn at half the window's size (a quarter of the pixels)
    // and read back filtered.
    if (target && target->width > 0 && target->height > 0) {
        for (unsigned into = 0; into < Buffer::layer_count; ++into) {
            bool light = false, other = false;
            for (unsigned j = 0; j < Buffer::layer_count; ++j) {
                if (!drawLayerList[j] || buffer->renderTargetLayer[j] != static_cast<int>(into)) continue;
                (buffer->layerTechnique[j] == "TechniqueLight" ? light : other) = true;
            }
            RenderTarget& layer = tb.layerRenderTarget[into];
            const bool half = savings.halfSizeLight && light && !other;
            const int width = half ? (target->width + 1) / 2 : target->width;
            const int height = half ? (target->height + 1) / 2 : target->height;
            if ((light || other) && (layer.width != width || layer.height != height)) {
                layer.width = width;
                layer.height = height;
                layer.Refresh();
            }
        }
    }
    for (RenderTarget& layer : tb.layerRenderTarget)
        if (!layer.Prepare()) return giveBack();
    if (!SetRenderTarget(target)) return giveBack();

    // Clears are put off until a target is first drawn into or read: a
    // clear followed by drawing into the same target costs the driver one
    // pass over its pixels instead of two, and a layer that nothing draws
    // into or reads this frame is not cleared at all, as nothing can see it.
    // The window's target shares its depth buffer with the layers, so it is
    // cleared first, as before, whenever a layer list tests or writes depth.
    bool layerDepth = false;
    for (unsigned j = 0; j < Buffer::layer_count; ++j)
        if (drawLayerList[j] && Effect::TechniqueUsesDepth(buffer->layerTechnique[j])) layerDepth = true;
    if (layerDepth) Clear(0xFF000000u, true);
    D3DXMATRIX translation, scaling;
    D3DXMatrixTranslation(&translation, -buffer->cameraX, -buffer->cameraY, 0.0f);
    D3DXMatrixScaling(&scaling, buffer->cameraScale, buffer->cameraScale, 1.0f);
    view = translation * scaling;
    frameScale = buffer->cameraScale;
    frameX = buffer->cameraX;
    frameY = buffer->cameraY;
    SetTextures();
    Effect& effect = pShader[SHADER_FX];
    effect.ClearTextures();

    bool layerClearPending[Buffer::layer_count];
    std::fill(std::begin(layerClearPending), std::end(layerClearPending), true);
    // Binds layer `index` for drawing, clearing it first if it still needs it.
    auto bindLayer = [&](int index) {
        SetRenderTarget(&tb.layerRenderTarget[index]);
        if (layerClearPending[index]) {
            layerClearPending[index] = false;
            Clear(buffer->layerColor[index], false);
        }
    };
    auto readLayer = [&](int index) {
        if (isLayer(index) && layerClearPending[index]) bindLayer(index);
    };
    // A layer that no list draws into this frame holds only its clear
    // colour; when that is wholly transparent, a quad showing it through a
    // technique that discards transparent pixels changes nothing, so it is
    // not drawn, and the layer is not cleared for it.
    for (unsigned l = 0; l < Buffer::layer_count; ++l) {
        bool drawnInto = false;
        for (unsigned j = 0; j < Buffer::layer_count; ++j)
            drawnInto = drawnInto || (drawLayerList[j] && buffer->renderTargetLayer[j] == static_cast<int>(l));
        blankLayer[l] = savings.skipBlankLayers && !drawnInto && (buffer->layerColor[l] >> 24) == 0;
    }
    auto readLayersOf = [&](const std::vector<Plane2D>& list, const std::string& technique) {
        const bool skipBlank = Effect::TechniqueAlphaTests(technique);
        for (const Plane2D& p : list)
            if (!p.texture && !(skipBlank && isLayer(static_cast<int>(p.sourceLayer)) && blankLayer[p.sourceLayer]))
                readLayer(static_cast<int>(p.sourceLayer));
    };
    auto layerTexture = [&](int index) -> GLTexture* {
        if (!isLayer(index)) return nullptr;
        return tb.layerRenderTarget[index].GetTexture();
    };
    for (unsigned j = 0; j < Buffer::layer_count; ++j) {
        if (!drawLayerList[j]) continue;
        const int into = buffer->renderTargetLayer[j];
        readLayer(buffer->layerSecondTexture[j]);
        readLayersOf(buffer->layers[j], buffer->layerTechnique[j]);
        bindLayer(into);
        SelectTechnique(buffer->layerTechnique[j]);
        if (buffer->layerSecondTexture[j] != -1)
            effect.SetTexture("texture1", layerTexture(buffer->layerSecondTexture[j]));
        DrawList(buffer->layers[j], tb);
    }
    readLayersOf(buffer->backgrounds, "TechniqueWrap2D");
    readLayersOf(buffer->frames, "TechniqueLinear2D");
    for (unsigned i = 0; i < Buffer::tile_count; ++i) {
        if (buffer->tiles[i].empty()) continue;
        if (!buffer->tileTexture[i]) readLayer(buffer->tileTextureLayer[i]);
        if (!buffer->maskTexture[i]) readLayer(buffer->maskTextureLayer[i]);
        readLayersOf(buffer->tiles[i], buffer->tileTechnique[i]);
    }

    SetRenderTarget(target);
    if (!layerDepth) Clear(0xFF000000u, true);
    FindCovers(*buffer);
    SelectTechnique("TechniqueWrap2D");
    DrawList(buffer->backgrounds, tb, 0);

    // Drawn in the order FindCovers visits them (ForEachListInDrawOrder).
    auto drawTiles = [&](unsigned first, unsigned last) {
        for (unsigned i = first; i < last; ++i) {
            if (buffer->tiles[i].empty()) continue;
            SelectTechnique(buffer->tileTechnique[i]);
            Upload(buffer->tileTexture[i]);
            Upload(buffer->maskTexture[i]);
            effect.SetTexture(
                "tileTex", buffer->tileTexture[i] ? buffer->tileTexture[i] : layerTexture(buffer->tileTextureLayer[i]));
            effect.SetTexture(
                "maskTex", buffer->maskTexture[i] ? buffer->maskTexture[i] : layerTexture(buffer->maskTextureLayer[i]));
            if (savings.stackStrips && buffer->tileTechnique[i] == "TechniqueTilePara2D")
                DrawStrips(buffer->tiles[i], tb);
            else
                DrawList(buffer->tiles[i], tb, TileRank(i));
        }
    };
    drawTiles(0, 12);
    SelectTechnique("TechniqueLinear2D");
    DrawList(buffer->frames, tb, kFramesRank);
    drawTiles(12, Buffer::tile_count);

    D3DXMatrixIdentity(&view);
    SetTextures();
    buffer->Ready();
    drawnBuffer = nullptr;
    target->updated = true;
    return true;
}

void GraphicsEngine::DrawAll() {
    CollectReleasedObjects();
    // The sheets the game has asked for since the last turn go up before
    // anything is drawn, outside the locks, so no draw waits on one.
    const bool loadedSheets = LoadWanted() > 0;
    roundStreamedBytes = 0;
    // Window geometry, the window list and the draw lists stay as they are
    // for the whole turn.
    std::lock_guard<WatchedMutex> listLock(TripleBuffer::ListCritical);
    std::lock_guard<WatchedMutex> freeLock(GUI::GuiManager::FreeCritical);
    guiManager.HandleFullscreen();
    for (TripleBuffer& tb : TripleBuffer::tripleBuffers) DrawTripleBuffer(tb);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    guiManager.Render();
    // Sheets go up after a screen has been built (its level, its sounds):
    // the end of a burst of loading. What the allocator still holds free
    // from it goes back to the system once the frame is shown.
    if (loadedSheets) malloc_trim(0);
}

GameArea GraphicsEngine::NoGameArea() { return GameArea{}; }

void GraphicsEngine::ScreenToGame(const GameArea& a, int px, int py, float& gx, float& gy) {
    const float w = static_cast<float>(a.width);
    const float h = static_cast<float>(a.height);
    if (a.width <= 0 || a.height <= 0 || a.aspect <= 0.0f) {
        gx = gy = 0.0f;
        return;
    }
    const float s = (w / h <= a.aspect) ? w / a.aspect : h;
    // The area's centre is taken on a whole pixel (the lower of the two
    // middles of an odd size), here and in GameToScreen, so that every pixel
    // comes back as itself; half a pixel is below what a pointer points at.
    gx = static_cast<float>(px - a.width / 2 - a.left) / s;   // NOLINT(bugprone-integer-division)
    gy = static_cast<float>(py - a.height / 2 - a.top) / -s;  // NOLINT(bugprone-integer-division)
}

void GraphicsEngine::GameToScreen(const GameArea& a, float gx, float gy, int& px, int& py) {
    const float w = static_cast<float>(a.width);
    const float h = static_cast<float>(a.height);
    if (a.width <= 0 || a.height <= 0 || a.aspect <= 0.0f) {
        px = a.left;
        py = a.top;
        return;
    }
    const float s = (w / h <= a.aspect) ? w / a.aspect : h;
    // The centre on a whole pixel, as in ScreenToGame; the nearest pixel on
    // either side of it (a point left of or above the area included).
    // NOLINTNEXTLINE(bugprone-integer-division)
    px = static_cast<int>(std::lround(s * gx + static_cast<float>(a.width / 2 + a.left)));
    // NOLINTNEXTLINE(bugprone-integer-division)
    py = static_cast<int>(std::lround(static_cast<float>(a.height / 2) - s * gy + static_cast<float>(a.top)));
}

void GraphicsEngine::ScreenToGame(int px, int py, float& gx, float& gy) const {
    ScreenToGame(currentGameArea(), px, py, gx, gy);
}

void GraphicsEngine::GameToScreen(float gx, float gy, int& px, int& py) const {
    GameToScreen(currentGameArea(), gx, gy, px, py);
}

void GraphicsEngine::ToggleFullscreen(Object*) { OptionsTable.fullScreen = OptionsTable.fullScreen ? 0 : 1; }

bool GraphicsEngine::FileIsType(const std::string& path, std::string& base, const char* extension) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    base = path.substr(0, dot);
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == extension;
}

void ConvertFromPixelsToFloat(int px, int py, float& x, float& y) {
    ConvertFromPixelsToFloat(px, x);
    ConvertFromPixelsToFloat(py, y);
}

void ConvertFromFloatToPixels(float x, float y, int& px, int& py) {
    ConvertFromFloatToPixels(x, px);
    ConvertFromFloatToPixels(y, py);
}

void ConvertFromPixelsToFloat(int p, float& x) {
    const int height = GraphicsEngine::currentGameArea().renderHeight;
    x = height > 0 ? static_cast<float>(p) / static_cast<float>(height) : 0.0f;
}

void ConvertFromFloatToPixels(float x, int& p) {
    const int height = GraphicsEngine::currentGameArea().renderHeight;
    p = static_cast<int>(std::lround(x * static_cast<float>(height)));
}
