#pragma once
// What the level's pick-ups, springs, grass and the title moon share: the
// local player, the camera's view test, drawing into the buffer's tile lists
// and layers, and the network messages they queue. The network side is
// reached through replaceable functions so tests can watch what is queued.
#include <cstdint>

#include "framework/Vector.h"

class Entity;
struct Frame;

namespace Networking {
class BaseNetMessage;
}

struct PickupNetwork {
    // Queued for every peer (a client sends to its server), reliable.
    void (*sendAll)(Networking::BaseNetMessage& message);
    // Queued for the client that has just joined, reliable.
    void (*sendToNewClient)(Networking::BaseNetMessage& message);
};

extern PickupNetwork pickupNetwork;
void ResetPickupNetwork();

namespace Pickups {

// r / 1024 with r = rand() & 1023: a fraction in [0, 1).
float RandomFraction();
// -1 raised to rand() & 1.
float RandomSign();

// The local player object in self's state, or null.
Entity* LocalPlayer(const Entity* self);

// The "Camera" object's view: centre and half extents. False without a camera.
bool CameraView(const Entity* self, float& x, float& y, float& halfWidth, float& halfHeight);
// Whether the box centred on (x, y) reaching halfW sideways, up and down
// (bottom reach may differ) overlaps the camera's view; false without a camera.
bool InView(const Entity* self, float x, float y, float halfW, float up, float down);

// Frame 0 of animation 0 of a sprite set, white when there is no such set.
const Frame& FirstFrame(const char* set);

// Drawing into the current buffer; nothing happens while there is none.
void AddTile(unsigned list, float x, float y, float z, float w, float h, float rotation, const char* set,
             std::uint32_t colour);
void AddFrameToLayer(unsigned layer, float x, float y, float z, float w, float h, float rotation, const char* set,
                     std::uint32_t colour);
// Binds a tile list of the current buffer to a tiled texture (or the sheet of a
// sprite set) of that name and a technique.
void BindTileList(unsigned list, const char* set, const char* technique);

}  // namespace Pickups
