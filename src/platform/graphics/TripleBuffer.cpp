#include "platform/graphics/TripleBuffer.h"

TripleBuffer::List TripleBuffer::tripleBuffers;
WatchedMutex TripleBuffer::ListCritical;

TripleBuffer::TripleBuffer(RenderTarget* target, float* resolution) : target(target), resolution(resolution) {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    for (Buffer& buffer : buffers) {
        buffer.available = true;
        buffer.order = -1;
        buffer.blocked = false;
    }
}

TripleBuffer::Position TripleBuffer::Add(RenderTarget* target, float* resolution) {
    std::lock_guard<WatchedMutex> lock(ListCritical);
    tripleBuffers.emplace_back(target, resolution);
    Position position = std::prev(tripleBuffers.end());
    for (RenderTarget& layer : position->layerRenderTarget) {
        layer.width = target ? target->width : 0;
        layer.height = target ? target->height : 0;
        layer.Refresh();
    }
    return position;
}

void TripleBuffer::Remove(Position position) {
    std::lock_guard<WatchedMutex> lock(ListCritical);
    tripleBuffers.erase(position);
}

void TripleBuffer::OnLost() {
    std::lock_guard<WatchedMutex> lock(ListCritical);
    for (TripleBuffer& entry : tripleBuffers)
        for (RenderTarget& layer : entry.layerRenderTarget) layer.Release();
}

void TripleBuffer::OnReset() {
    std::lock_guard<WatchedMutex> lock(ListCritical);
    for (TripleBuffer& entry : tripleBuffers)
        for (RenderTarget& layer : entry.layerRenderTarget) {
            if (layer.texture) continue;
            if (entry.target) {
                layer.width = entry.target->width;
                layer.height = entry.target->height;
            }
            layer.Refresh();
        }
}

void TripleBuffer::ClearBuffers() {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    for (Buffer& buffer : buffers) buffer.order = -1;
}

void TripleBuffer::Block() {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    for (Buffer& buffer : buffers)
        if (!buffer.available) buffer.blocked = true;
}

void TripleBuffer::GetSmallestOrder(int rank[3]) {
    int& s0 = buffers[0].order;
    int& s1 = buffers[1].order;
    int& s2 = buffers[2].order;
    if (s0 > 100 && s1 > 100 && s2 > 100) {
        s0 -= 100;
        s1 -= 100;
        s2 -= 100;
    }
    // The comparisons run in this order so that ties settle the same way
    // every time.
    if (s0 < s1 && s0 < s2) {
        rank[0] = 0;
        rank[1] = s1 < s2 ? 1 : 2;
        rank[2] = s1 < s2 ? 2 : 1;
    } else if (s1 < s2) {
        rank[0] = 1;
        rank[1] = s0 < s2 ? 0 : 2;
        rank[2] = s0 < s2 ? 2 : 0;
    } else {
        rank[0] = 2;
        rank[1] = s0 < s1 ? 0 : 1;
        rank[2] = s0 < s1 ? 1 : 0;
    }
    const int smallest = buffers[rank[0]].order;
    if (buffers[rank[1]].order >= 0) buffers[rank[1]].order = smallest + 1;
    if (buffers[rank[2]].order >= 0) buffers[rank[2]].order = smallest + 2;
}

Buffer* TripleBuffer::GetOldestBuffer() {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    int rank[3];
    GetSmallestOrder(rank);
    for (int i : rank) {
        Buffer& buffer = buffers[i];
        if (!buffer.available) continue;
        buffer.order += 3;
        buffer.available = false;
        return &buffer;
    }
    return nullptr;
}

Buffer* TripleBuffer::GetNewestBuffer() {
    std::lock_guard<WatchedMutex> lock(Buffer::Critical);
    int rank[3];
    GetSmallestOrder(rank);
    if (buffers[rank[2]].order == -1) return nullptr;
    for (int k = 2; k >= 0; --k) {
        Buffer& buffer = buffers[rank[k]];
        if (!buffer.available) continue;
        buffer.available = false;
        return &buffer;
    }
    return nullptr;
}
