#include "objects/PickupSupport.h"

#include <cstdlib>

#include "framework/Entity.h"
#include "framework/VariableNames.h"
#include "framework/Variables.h"
#include "networking/NetEngine.h"
#include "networking/NetworkingUpdate.h"
#include "objects/GameplayHooks.h"
#include "platform/graphics/Buffer.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace {

// The match's network engine: the program's, or one a test gave the
// per-frame network update.
Networking::NetEngine& Net() { return EngineData::NetworkingUpdate::Target(); }

void SendAll(Networking::BaseNetMessage& message) { Net().PrivateSendNetMessage(message, true, false); }

void SendToNewClient(Networking::BaseNetMessage& message) {
    Net().PrivateSendNetMessageToClient(Net().GetMostRecentClient(), message, true, false);
}

constexpr PickupNetwork Defaults() { return PickupNetwork{&SendAll, &SendToNewClient}; }

}  // namespace

constinit PickupNetwork pickupNetwork = Defaults();

void ResetPickupNetwork() { pickupNetwork = Defaults(); }

namespace Pickups {

float RandomFraction() { return static_cast<float>(std::rand() & 1023) / 1024.0f; }

float RandomSign() { return (std::rand() & 1) != 0 ? -1.0f : 1.0f; }

Entity* LocalPlayer(const Entity* self) { return self->GetMyObject(LocalPlayerName().c_str()); }

bool CameraView(const Entity* self, float& x, float& y, float& halfWidth, float& halfHeight) {
    Entity* camera = self->GetMyObject("Camera");
    if (camera == nullptr) return false;
    // The camera's position may be two or three floats; the first two are x and y.
    const auto* position = FindVariable<D3DXVECTOR2>(camera, enum_position);
    const float* scale = FindVariable<float>(camera, enum_scale);
    x = position != nullptr ? position->x : 0.0f;
    y = position != nullptr ? position->y : 0.0f;
    const float s = scale != nullptr ? *scale : 1.0f;
    halfHeight = 0.5f * s;
    halfWidth = 0.5f * s * gameplayHooks.aspect();
    return true;
}

bool InView(const Entity* self, float x, float y, float halfW, float up, float down) {
    float cx = 0.0f, cy = 0.0f, hw = 0.0f, hh = 0.0f;
    if (!CameraView(self, cx, cy, hw, hh)) return false;
    return x + halfW >= cx - hw && x - halfW <= cx + hw && y + up >= cy - hh && y - down <= cy + hh;
}

const Frame& FirstFrame(const char* set) { return FrameMap(set != nullptr ? set : "", 0, 0); }

void AddTile(unsigned list, float x, float y, float z, float w, float h, float rotation, const char* set,
             std::uint32_t colour) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr || list >= Buffer::tile_count) return;
    graphicsEngine.AddTile(list, x, y, z, w, h, rotation, FirstFrame(set), static_cast<int>(colour));
}

void AddFrameToLayer(unsigned layer, float x, float y, float z, float w, float h, float rotation, const char* set,
                     std::uint32_t colour) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr || layer >= Buffer::layer_count) return;
    graphicsEngine.AddFrameToLayer(layer, x, y, z, w, h, rotation, FirstFrame(set), static_cast<int>(colour));
}

void BindTileList(unsigned list, const char* set, const char* technique) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr || list >= Buffer::tile_count) return;
    // A tiled texture of that name, else the sheet that holds the sprite set.
    GLTexture* texture = FindTiledTexture(set != nullptr ? set : "");
    if (texture == nullptr) {
        const Texture* record = FrameTexture(FirstFrame(set));
        texture = record != nullptr ? record->texture : nullptr;
    }
    buffer->tileTexture[list] = texture;
    buffer->tileTechnique[list] = technique;
}

}  // namespace Pickups
