#pragma once
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/graphics/Buffer.h"
#include "platform/graphics/Cover.h"
#include "platform/graphics/Effect.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/Matrix.h"

struct Frame;
struct GLTexture;
class Object;
class RenderTarget;
class TripleBuffer;

// Where the game image of the current window lies on screen, for the
// coordinate conversions: the displayed image's top-left corner and size in
// screen pixels, its aspect (width / height in game units) and the height of
// the render target.
struct GameArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    float aspect = 1.0f;
    int renderHeight = 0;
    bool operator==(const GameArea&) const = default;
};

// The renderer. The game thread queues quads into the current buffer; the
// render thread owns the one GL context (made current on each window in
// turn) and draws every window's newest frame.
class GraphicsEngine {
public:
    enum { SHADER_FX = 0, SHADER_COUNT = 1 };
    // Quads of one texture drawn by one call, at most. Every quad's four
    // corners are streamed to GL in one vertex buffer, so a batch breaks only
    // when the texture changes or this many are queued (at least 60 a call).
    static constexpr unsigned QUADS_PER_BATCH = 2048;
    // Parallax strips drawn by one pass, at most (as many as the technique
    // reads).
    static constexpr unsigned kMaxStrips = 4;

    // One corner of a quad as streamed to GL: its place in game units (turned
    // by the quad's rotation), its texture coordinate, its corner of the unit
    // square (for techniques that shade by place in the quad) and the colour.
    struct QuadVertex {
        float x, y;
        float u, v;
        float cornerU, cornerV;
        std::uint8_t r, g, b, a;
    };

    GraphicsEngine() = default;
    ~GraphicsEngine();
    GraphicsEngine(const GraphicsEngine&) = delete;
    GraphicsEngine& operator=(const GraphicsEngine&) = delete;

    // Start-up thread: starts the render thread and waits until the device
    // exists and the textures are loaded. False when the device could not be
    // made (the render thread has then ended).
    bool FirstInit();
    // Waits for the render thread to end (after Quitting is set).
    void JoinRenderThread();
    std::thread& GetRenderThread() { return renderThread; }
    // The render thread's body has returned (or it never got a device).
    bool RenderThreadEnded() const { return renderThreadEnded.load(); }

    // The render thread's body.
    void Execute();
    // How many times a second the render thread draws every window; read
    // when the render thread starts. 60 for the game; test runs of the whole
    // program on software GL draw less often, so that two programs at once
    // leave the machine to their game frames.
    static void SetDrawRate(int perSecond);
    static int DrawRate();

    // Render thread: makes the GL context on the device window, the effect
    // and the quad geometry. False (after a message box) on failure.
    bool InitDX(int width, int height);
    // Render thread: releases every GL object of the engine and the context.
    void ReleaseDevice();
    // Device reset: the windows and triple buffers release and re-create
    // their targets, the effect and geometry are made again. GL never loses
    // its device; this stays callable for tests.
    void Reset();

    // The window the context is first made on (the start-up window).
    void SetDeviceWindow(SDL_Window* window) { deviceWindow = window; }
    SDL_Window* GetDeviceWindow() const { return deviceWindow; }
    SDL_GLContext GetContext() const { return context; }

    // One render turn over all windows.
    void DrawAll();

    // Draws texture over the whole current viewport.
    void RenderTexture(GLTexture* texture, int width, int height, bool linear);
    void DrawTexture(GLTexture* texture);
    void DrawLinearTexture(GLTexture* texture);

    // Adds one quad to the batch, drawing the batch first when the texture
    // changes or it is full. A quad without texture is never drawn.
    void DrawGameFrame(float x, float y, float width, float height, float rotation, GLTexture* texture, float u,
                       float v, float du, float dv, int colour);
    void DrawFinalGameFrames();
    // Draws the batched quads with the current technique.
    void DrawQuad(int shader);
    // Binds the quad geometry, sets worldViewProj from the view matrix and
    // resolution, and empties the batch.
    void SetTextures();

    // Draws frame 0 of animation 0 of a named animation set over the whole
    // viewport in a tint (white when the set is not loaded); the resolution
    // is left at 1.
    void DrawChromePicture(const std::string& set, std::uint32_t colour);
    void DrawChromeFrame(const Frame& frame, std::uint32_t colour);
    // The window title in the "default" font, letters height pixels high
    // from (left, top); nothing while that font is not loaded.
    void DrawChromeTitle(const std::string& title, int left, int top, int height);
    // A 1 by 1 white texture, for pictures the sheets do not hold.
    GLTexture* WhiteTexture() const { return whiteTexture; }

    // Render thread: the drawing target. A render target (nothing drawn and
    // false when it has no texture), or a window's own surface.
    bool SetRenderTarget(RenderTarget* target);
    void SetWindowTarget(SDL_Window* window, int width, int height);
    // Viewport in target pixels, y from the top edge.
    void SetViewport(int x, int y, int width, int height);
    // Clears the viewport (only) to an ARGB colour, and the depth when asked.
    void Clear(std::uint32_t colour, bool depth);

    // Reads back the whole of a render target, RGBA, top row first.
    static bool ReadPixels(RenderTarget& target, std::uint8_t* rgba);

    // Coordinate conversion for the current window.
    void ScreenToGame(int px, int py, float& gx, float& gy) const;
    void GameToScreen(float gx, float gy, int& px, int& py) const;
    static void ScreenToGame(const GameArea& area, int px, int py, float& gx, float& gy);
    static void GameToScreen(const GameArea& area, float gx, float gy, int& px, int& py);
    // Supplies the current window's game area (set by the window layer).
    static GameArea (*currentGameArea)();

    static void ToggleFullscreen(Object* ignored);
    static bool FileIsType(const std::string& path, std::string& base, const char* extension);

    // Texture loading (render thread, once after the device exists): the
    // sheet data and a record for every sheet; a sheet's pixels go up when it
    // is first wanted (the start of a render turn), or at the latest when it
    // is first drawn.
    void LoadTextures();
    // Takes every sheet's pixels off the device (render thread, with the
    // device); the records and tables stay for whoever still reads them, and
    // a sheet drawn again loads again.
    void FreeTextures();
    // Render thread: uploads the sheets marked wanted that are not up yet;
    // how many.
    int LoadWanted();
    // Render thread: a sheet's texture that is still waiting for its pixels
    // gets them now (at worst a one-time pause, never a wrong picture).
    void Upload(GLTexture* texture) {
        if (texture && texture->pending) LoadPending(texture);
    }
    static GLTexture* CreateTexture(int width, int height, const void* rgba, bool mipmaps);
    // Notes where a texture's picture (width x height RGBA8, top row first)
    // is wholly opaque and where it is clear, so that its quads may hide what
    // lies under them and are drawn only where they can show; the sheets are
    // noted as they load.
    static void KnowOpaqueParts(GLTexture* texture, int width, int height, const void* rgba);
    GLTexture* LoadATexture(const std::string&) { return nullptr; }

    // Queueing into the current buffer (game thread).
    void AddFrame(float x, float y, float z, float w, float h, float r, Frame const& frame, int colour) {
        currentBuffer->AddFrame(x, y, z, w, h, r, frame, colour);
    }
    void AddFrame(float x, float y, float z, float w, float h, float r, unsigned int layer, int colour) {
        currentBuffer->AddFrame(x, y, z, w, h, r, layer, colour);
    }
    void AddFrame(float x, float y, float z, float w, float h, float r, GLTexture* texture, float u, float v, float du,
                  float dv, int colour) {
        currentBuffer->AddFrame(x, y, z, w, h, r, texture, u, v, du, dv, colour);
    }
    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r, Frame const& frame,
                         int colour) {
        currentBuffer->AddFrameToLayer(layer, x, y, z, w, h, r, frame, colour);
    }
    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r,
                         unsigned int sourceLayer, int colour) {
        currentBuffer->AddFrameToLayer(layer, x, y, z, w, h, r, sourceLayer, colour);
    }
    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r, GLTexture* texture,
                         float u, float v, float du, float dv, int colour) {
        currentBuffer->AddFrameToLayer(layer, x, y, z, w, h, r, texture, u, v, du, dv, colour);
    }
    void AddBackground(float x, float y, float z, float w, float h, float r, Frame const& frame, int colour) {
        currentBuffer->AddBackground(x, y, z, w, h, r, frame, colour);
    }
    void AddBackground(float x, float y, float z, float w, float h, float r, unsigned int layer, int colour) {
        currentBuffer->AddBackground(x, y, z, w, h, r, layer, colour);
    }
    void AddBackground(float x, float y, float z, float w, float h, float r, GLTexture* texture, float u, float v,
                       float du, float dv, int colour) {
        currentBuffer->AddBackground(x, y, z, w, h, r, texture, u, v, du, dv, colour);
    }
    void AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, Frame const& frame,
                 int colour) {
        currentBuffer->AddTile(index, x, y, z, w, h, r, frame, colour);
    }
    void AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, unsigned int layer,
                 int colour) {
        currentBuffer->AddTile(index, x, y, z, w, h, r, layer, colour);
    }
    void AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, GLTexture* texture, float u,
                 float v, float du, float dv, int colour) {
        currentBuffer->AddTile(index, x, y, z, w, h, r, texture, u, v, du, dv, colour);
    }

    Buffer* GetCurrentBuffer() const { return currentBuffer; }
    void SetCurrentBuffer(Buffer* buffer) { currentBuffer = buffer; }
    Effect& GetShader(int index = SHADER_FX) { return pShader[index]; }

    bool IsReady() const { return ready.load(); }
    void ReplaceInitialWindowFlag() { initialWindowReplaced.store(true); }
    bool InitialWindowReplaced() const { return initialWindowReplaced.load(); }

    // The start-up window (main thread): a window of the given size centred
    // on the primary screen showing the start-up pictures, and the hidden
    // window the render thread makes its context on. False after a message
    // box when either cannot be made.
    bool InitWindow(int width, int height);
    bool InitInitialWindow() { return InitWindow(400, 300); }
    bool ShowInitialWindow();
    // Main thread, every 100 ms during start-up: events, and the picture of
    // the moment (a new one every half second).
    void HandleInitialWindow();
    // Game thread, before its first state: closes the start-up window
    // (through the window thread) and lets the render thread draw.
    void ReplaceInitialWindow();
    SDL_Window* GetInitialWindow() const { return initialWindow; }
    // Which start-up picture shows at a time in milliseconds.
    static int InitialPictureAt(std::uint32_t ms) { return static_cast<int>((ms / 500) % 3); }

    // Draw calls issued since the counter was last reset (render thread).
    std::uint64_t drawCalls = 0;

    // The savings that leave the picture as it is; the benchmarks turn each
    // over alone to show what it saves. Those that measured as a gain are on
    // by default. Drawing a backdrop's strips in one pass is off: on software
    // GL it measured as no gain (a few percent more processor time in the
    // play level and the first built-in level), as the strips, cut to their
    // visible rows, overlap little and the pass that reads several costs
    // about what the passes it replaces do.
    struct Savings {
        bool fitQuads = true;          // quads shrunk to what their pictures show
        bool halfSizeLight = true;     // a layer only light is drawn into at half size
        bool skipUnreadLayers = true;  // layer lists nothing reads are not drawn
        bool stackStrips = false;      // parallax strips over the same columns drawn in one pass
        bool skipBlankLayers = true;   // quads showing a layer that holds nothing are not drawn
        bool skipCovered = true;       // large quads are not drawn where later opaque quads cover them
        bool skipClear = true;         // nor where their own pictures are clear
    } savings;

    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float cameraScale = 1.0f;
    D3DXMATRIX view;
    float resolution = 1.0f;

private:
    // Draws one window's newest frame into its render target; false when the
    // window had nothing to draw or its targets are missing.
    bool DrawTripleBuffer(TripleBuffer& tripleBuffer);
    // Draws a list with the current technique. With a rank (the list's place
    // among the window's lists), large quads are drawn only where no later
    // quad of the window covers them.
    void DrawList(const std::vector<Plane2D>& list, TripleBuffer& tripleBuffer, int rank = -1);
    // Finds, for the window's lists of a frame, which cells of the window
    // each later opaque quad covers (into `cover`).
    void FindCovers(const Buffer& buffer);
    void CoverWith(const Plane2D& quad, const OpaqueBlocks& opaque, bool wrapsAcross, std::int64_t order);
    // Draws the parts of a quad that no later quad covers; false when it is
    // to be drawn whole.
    bool DrawShowing(const Plane2D& quad, GLTexture* texture, std::int64_t order, bool dropsClear, bool wrapsAcross);
    // The texels of the picture that each column and each row of cells of
    // [c0, c1) x [r0, r1) reads (into coverColumns, coverRows); false when
    // the quad is read too small to tell.
    bool Footprints(const Plane2D& quad, const OpaqueBlocks& opaque, float left, float right, float top, float bottom,
                    int c0, int r0, int c1, int r1);
    // Whether a quad is large enough to be drawn in parts.
    bool Large(const Plane2D& quad) const;
    // Window pixels (from the left, from the top) of a game place in the
    // frame being drawn, and back.
    float PixelX(float x) const;
    float PixelY(float y) const;
    float GameX(float px) const;
    float GameY(float py) const;
    // Shrinks a quad to the region of its picture that can show anything, with
    // a margin for filtering at the mip level it is drawn at. False when the
    // quad stays as it is; hidden is set when nothing of it can show.
    bool FitToVisible(Plane2D& quad, const GLTexture& texture, bool& hidden) const;
    // Draws a list of the parallax technique: a run of strips of one picture
    // across the same columns (a backdrop's layers) is drawn as one quad
    // over all of them that reads each, so the target is blended once for
    // the run instead of once a strip.
    void DrawStrips(const std::vector<Plane2D>& list, TripleBuffer& tripleBuffer);
    void DrawStripRun(const std::vector<Plane2D>& run);
    bool SelectTechnique(const std::string& name);
    void LoadPending(GLTexture* texture);
    void InitTextures();
    void ReleaseTextures();
    void EnsureDepthStencil(int width, int height);
    static GameArea NoGameArea();

    Buffer* currentBuffer = nullptr;
    Buffer* drawnBuffer = nullptr;
    std::atomic<bool> initialWindowReplaced{false};
    std::atomic<bool> ready{false};
    std::atomic<bool> renderThreadEnded{false};
    std::thread renderThread;

    SDL_Window* deviceWindow = nullptr;
    SDL_Window* initialWindow = nullptr;
    SDL_Surface* initialPictures[3] = {};
    SDL_GLContext context = nullptr;
    Effect pShader[SHADER_COUNT];
    // Appends one quad's four corners to the batch.
    void PushQuad(float x, float y, float width, float height, float rotation, float u, float v, float du, float dv,
                  std::uint32_t colour);
    // The batch's corners, and the stream buffer they are copied into: each
    // batch into the next free part, the buffer orphaned when it is full.
    std::vector<QuadVertex> batchVertices;
    std::vector<Plane2D> stripRun;
    // Layers of the frame being drawn that nothing draws into and whose clear
    // colour is wholly transparent.
    bool blankLayer[Buffer::layer_count] = {};
    GLuint vertexArray = 0;
    GLuint vertex2DBuffer = 0;
    GLuint index2DBuffer = 0;
    std::size_t streamOffset = 0;
    // The camera scale of the frame being drawn (fitting quads needs it).
    float frameScale = 1.0f;
    float frameX = 0.0f, frameY = 0.0f;
    // What the window's later quads cover, for the frame being drawn.
    CoverGrid cover;
    std::vector<CoverGrid::Span> showing;
    std::vector<int> coverColumns, coverRows, showingRows;
    GLuint depthStencil = 0;
    int depthWidth = 0;
    int depthHeight = 0;
    GLTexture* batchTexture = nullptr;
    GLTexture* whiteTexture = nullptr;
    unsigned batchCount = 0;

    // The current target: a texture (stored top row first) or a window.
    bool targetIsTexture = true;
    int targetWidth = 0;
    int targetHeight = 0;
    int viewport[4] = {0, 0, 0, 0};
};

extern GraphicsEngine graphicsEngine;

// Free conversions between pixels and game units of the current window's
// render height.
void ConvertFromPixelsToFloat(int px, int py, float& x, float& y);
void ConvertFromFloatToPixels(float x, float y, int& px, int& py);
void ConvertFromPixelsToFloat(int p, float& x);
void ConvertFromFloatToPixels(float x, int& p);
