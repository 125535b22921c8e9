#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "framework/WatchedMutex.h"
#include "platform/graphics/Plane2D.h"

struct Frame;
struct GLTexture;

// One frame's draw lists. The game thread fills a buffer through the
// queueing calls, the render thread draws it; whichever holds it touches the
// lists without a lock. The hand-over fields (available, order, blocked) are
// guarded by Critical.
class Buffer {
public:
    static constexpr unsigned layer_count = 4;
    static constexpr unsigned tile_count = 16;

    // Four lists drawn into the layer render targets.
    std::vector<Plane2D> layers[layer_count];
    bool layerSorted[layer_count] = {false, false, false, false};
    int renderTargetLayer[layer_count] = {0, 1, 2, 3};
    std::string layerTechnique[layer_count] = {"TechniqueLinear2D", "TechniqueLinear2D", "TechniqueLinear2D",
                                               "TechniqueLinear2D"};
    std::uint32_t layerColor[layer_count] = {0, 0, 0, 0};
    int layerSecondTexture[layer_count] = {-1, -1, -1, -1};

    std::vector<Plane2D> backgrounds;
    std::vector<Plane2D> tiles[tile_count];
    std::vector<Plane2D> frames;

    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float cameraScale = 1.0f;

    std::string tileTechnique[tile_count];
    GLTexture* tileTexture[tile_count] = {};
    GLTexture* maskTexture[tile_count] = {};
    int tileTextureLayer[tile_count] = {};
    int maskTextureLayer[tile_count] = {};

    bool available = true;
    int order = -1;
    bool blocked = false;

    Buffer();

    static WatchedMutex Critical;
    // Kept for the start-up sequence; the locks need no set-up.
    static bool Init();

    // Gives the buffer back to the other thread.
    void Ready();
    // Empties every list (keeping their capacity) and resets the camera.
    void Clear();
    // Sorts the flagged layer lists, the background list and the general list.
    void Sort();

    // Queueing: x, y, z (the depth), width, height, rotation, then the
    // picture: a sheet frame, a layer render target, or a texture and its
    // rectangle; colour is a packed ARGB tint.
    void AddFrame(float x, float y, float z, float width, float height, float rotation, Frame const& frame, int colour);
    void AddFrame(float x, float y, float z, float width, float height, float rotation, unsigned int layer, int colour);
    void AddFrame(float x, float y, float z, float width, float height, float rotation, GLTexture* texture, float u,
                  float v, float du, float dv, int colour);

    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float width, float height, float rotation,
                         Frame const& frame, int colour);
    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float width, float height, float rotation,
                         unsigned int sourceLayer, int colour);
    void AddFrameToLayer(unsigned int layer, float x, float y, float z, float width, float height, float rotation,
                         GLTexture* texture, float u, float v, float du, float dv, int colour);

    void AddBackground(float x, float y, float z, float width, float height, float rotation, Frame const& frame,
                       int colour);
    void AddBackground(float x, float y, float z, float width, float height, float rotation, unsigned int layer,
                       int colour);
    void AddBackground(float x, float y, float z, float width, float height, float rotation, GLTexture* texture,
                       float u, float v, float du, float dv, int colour);

    void AddTile(unsigned int index, float x, float y, float z, float width, float height, float rotation,
                 Frame const& frame, int colour);
    void AddTile(unsigned int index, float x, float y, float z, float width, float height, float rotation,
                 unsigned int layer, int colour);
    void AddTile(unsigned int index, float x, float y, float z, float width, float height, float rotation,
                 GLTexture* texture, float u, float v, float du, float dv, int colour);

    // The quad a queueing call appends, for each of the three picture forms.
    static Plane2D MakePlane(float x, float y, float z, float width, float height, float rotation, Frame const& frame,
                             int colour);
    static Plane2D MakePlane(float x, float y, float z, float width, float height, float rotation, unsigned int layer,
                             int colour);
    static Plane2D MakePlane(float x, float y, float z, float width, float height, float rotation, GLTexture* texture,
                             float u, float v, float du, float dv, int colour);
};
