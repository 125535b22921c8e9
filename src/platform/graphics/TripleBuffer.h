#pragma once
#include <list>
#include <mutex>

#include "platform/graphics/Buffer.h"
#include "platform/graphics/RenderTarget.h"

// The three draw buffers of one window and its four layer render targets.
// The game thread always fills the buffer holding the oldest frame; the
// render thread draws the newest finished one; neither waits for the other.
class TripleBuffer {
public:
    using List = std::list<TripleBuffer>;
    using Position = List::iterator;

    TripleBuffer(RenderTarget* target, float* resolution);
    TripleBuffer(const TripleBuffer&) = delete;
    TripleBuffer& operator=(const TripleBuffer&) = delete;

    // Appends a triple buffer for a window's render target and resolution;
    // its layer render targets take the target's size.
    static Position Add(RenderTarget* target, float* resolution);
    static void Remove(Position position);
    // Around a device reset: release / re-create every layer render target.
    static void OnLost();
    static void OnReset();

    // No frame to show in any buffer.
    void ClearBuffers();
    // The frames of the buffers held right now are discarded when given back.
    void Block();
    // Game thread: the free buffer holding the oldest frame, now the newest.
    Buffer* GetOldestBuffer();
    // Render thread: the free buffer holding the newest frame, or null.
    Buffer* GetNewestBuffer();

    RenderTarget* GetRenderTarget() const { return target; }
    float GetResolution() const { return resolution ? *resolution : 1.0f; }
    void SetResolution(float* value) { resolution = value; }

    RenderTarget layerRenderTarget[Buffer::layer_count];
    Buffer buffers[3];

    static List tripleBuffers;
    static WatchedMutex ListCritical;

private:
    // Ranks the buffers by stamp, smallest first, and renumbers the stamps.
    void GetSmallestOrder(int rank[3]);

    RenderTarget* target = nullptr;
    float* resolution = nullptr;
};
