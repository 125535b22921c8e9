#include "platform/graphics/Buffer.h"

#include <algorithm>
#include <cstdint>

#include "platform/graphics/Frame.h"
#include "platform/graphics/Texture.h"

WatchedMutex Buffer::Critical;

Buffer::Buffer() {
    for (std::string& technique : tileTechnique) technique = "TechniqueTile2D";
}

bool Buffer::Init() { return true; }

void Buffer::Ready() {
    std::lock_guard<WatchedMutex> lock(Critical);
    available = true;
    if (blocked) {
        blocked = false;
        order = -1;
    }
}

void Buffer::Clear() {
    for (auto& list : layers) list.clear();
    backgrounds.clear();
    for (auto& list : tiles) list.clear();
    frames.clear();
    cameraX = 0.0f;
    cameraY = 0.0f;
    cameraScale = 1.0f;
}

namespace {
// Orders a list by depth as std::sort with Plane2D::SortPredicate does, to
// the same order among equal depths (the same algorithm makes the same
// comparisons and the same moves), but sorts 8-byte keys instead of whole
// quads and moves each quad once.
void SortByDepth(std::vector<Plane2D>& list) {
    if (list.size() < 2) return;
    struct Key {
        float depth;
        std::uint32_t index;
    };
    // The render thread sorts every frame: the scratch space stays.
    thread_local std::vector<Key> keys;
    thread_local std::vector<Plane2D> sorted;
    keys.resize(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) keys[i] = {list[i].depth, static_cast<std::uint32_t>(i)};
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.depth < b.depth; });
    sorted.resize(list.size());
    for (std::size_t i = 0; i < keys.size(); ++i) sorted[i] = list[keys[i].index];
    list.swap(sorted);
}
}  // namespace

void Buffer::Sort() {
    for (unsigned j = 0; j < layer_count; ++j)
        if (layerSorted[j]) SortByDepth(layers[j]);
    SortByDepth(backgrounds);
    SortByDepth(frames);
}

namespace {
Plane2D Placed(float x, float y, float z, float width, float height, float rotation, int colour) {
    Plane2D plane;
    plane.depth = z;
    plane.x = x;
    plane.y = y;
    plane.width = width;
    plane.height = height;
    plane.rotation = rotation;
    plane.colour = colour;
    return plane;
}
}  // namespace

Plane2D Buffer::MakePlane(float x, float y, float z, float width, float height, float rotation, Frame const& frame,
                          int colour) {
    Plane2D plane = Placed(x, y, z, width, height, rotation, colour);
    // A frame whose picture is not in the table (sheets not loaded, or a bad
    // index) is drawn as nothing rather than read out of bounds.
    const std::size_t index = static_cast<std::size_t>(frame.texture);
    if (frame.texture < 0 || index >= TextureList.size() || TextureList[index] == nullptr) {
        plane.texture = nullptr;
        return plane;
    }
    const Texture& t = *TextureList[index];
    // A frame kept from an earlier look-up still brings its sheet in.
    MarkSheetWanted(t.sheet);
    plane.texture = t.texture;
    plane.picture = &t;
    // GL samples texel centres at pixel centres, so the rectangle needs no
    // half-texel shift; it is only pulled in a hair so that neighbours on the
    // sheet never bleed in.
    plane.u = t.u;
    plane.v = t.v;
    plane.du = t.du - 0.01f * t.texelU;
    plane.dv = t.dv - 0.01f * t.texelV;
    return plane;
}

Plane2D Buffer::MakePlane(float x, float y, float z, float width, float height, float rotation, unsigned int layer,
                          int colour) {
    Plane2D plane = Placed(x, y, z, width, height, rotation, colour);
    plane.texture = nullptr;
    plane.u = 0.001f;
    plane.v = 0.001f;
    plane.du = 1.0f;
    plane.dv = 1.0f;
    plane.sourceLayer = layer;
    return plane;
}

Plane2D Buffer::MakePlane(float x, float y, float z, float width, float height, float rotation, GLTexture* texture,
                          float u, float v, float du, float dv, int colour) {
    Plane2D plane = Placed(x, y, z, width, height, rotation, colour);
    plane.texture = texture;
    plane.u = u;
    plane.v = v;
    plane.du = du;
    plane.dv = dv;
    return plane;
}

void Buffer::AddFrame(float x, float y, float z, float w, float h, float r, Frame const& frame, int colour) {
    frames.push_back(MakePlane(x, y, z, w, h, r, frame, colour));
}
void Buffer::AddFrame(float x, float y, float z, float w, float h, float r, unsigned int layer, int colour) {
    frames.push_back(MakePlane(x, y, z, w, h, r, layer, colour));
}
void Buffer::AddFrame(float x, float y, float z, float w, float h, float r, GLTexture* texture, float u, float v,
                      float du, float dv, int colour) {
    frames.push_back(MakePlane(x, y, z, w, h, r, texture, u, v, du, dv, colour));
}

void Buffer::AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r,
                             Frame const& frame, int colour) {
    layers[layer].push_back(MakePlane(x, y, z, w, h, r, frame, colour));
}
void Buffer::AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r,
                             unsigned int sourceLayer, int colour) {
    layers[layer].push_back(MakePlane(x, y, z, w, h, r, sourceLayer, colour));
}
void Buffer::AddFrameToLayer(unsigned int layer, float x, float y, float z, float w, float h, float r,
                             GLTexture* texture, float u, float v, float du, float dv, int colour) {
    layers[layer].push_back(MakePlane(x, y, z, w, h, r, texture, u, v, du, dv, colour));
}

void Buffer::AddBackground(float x, float y, float z, float w, float h, float r, Frame const& frame, int colour) {
    backgrounds.push_back(MakePlane(x, y, z, w, h, r, frame, colour));
}
void Buffer::AddBackground(float x, float y, float z, float w, float h, float r, unsigned int layer, int colour) {
    backgrounds.push_back(MakePlane(x, y, z, w, h, r, layer, colour));
}
void Buffer::AddBackground(float x, float y, float z, float w, float h, float r, GLTexture* texture, float u, float v,
                           float du, float dv, int colour) {
    backgrounds.push_back(MakePlane(x, y, z, w, h, r, texture, u, v, du, dv, colour));
}

void Buffer::AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, Frame const& frame,
                     int colour) {
    tiles[index].push_back(MakePlane(x, y, z, w, h, r, frame, colour));
}
void Buffer::AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, unsigned int layer,
                     int colour) {
    tiles[index].push_back(MakePlane(x, y, z, w, h, r, layer, colour));
}
void Buffer::AddTile(unsigned int index, float x, float y, float z, float w, float h, float r, GLTexture* texture,
                     float u, float v, float du, float dv, int colour) {
    tiles[index].push_back(MakePlane(x, y, z, w, h, r, texture, u, v, du, dv, colour));
}
