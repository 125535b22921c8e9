#pragma once
// What the gameplay objects need from the renderer, the sound engine, the
// rumbling devices and the network layer, reached through small replaceable
// functions. The defaults let a level run in a test process without a window,
// a connection or an audio device: messages go to the network engine, which
// drops them while there is no connection; sounds go to the sound engine,
// which is silent until started; quads go into the renderer's current draw
// buffer, and nowhere while no frame is being built. Tests replace them to
// watch what the objects ask for.
#include <cstdint>
#include <string>

#include "framework/Vector.h"
#include "platform/sound/SoundEngine.h"

class Entity;

// One message a player sends. The network layer turns it into the game
// message of the same name; the fields used depend on the kind.
struct PlayerMessage {
    enum Kind {
        UpdatePlayer,  // player: a snapshot of its state (unreliable)
        Explode,       // player: it died on this peer
        BreakTerrain,  // point: the breakable tile under it breaks
        GrabPlayer,    // first grabs second (player numbers)
        CancelGrab,    // first lets go of second
        Throw,         // first is thrown, to the right when right is set
        ChangeScore,   // player number first gains second points
    };
    Kind kind = UpdatePlayer;
    Entity* player = nullptr;
    D3DXVECTOR2 point;
    int first = 0;
    int second = 0;
    bool right = false;
    bool reliable = true;
};

struct GameplayHooks {
    // Drawing: the camera as the level's camera publishes it (centre x, y and
    // r, the reciprocal of its scale), the current window's aspect (width over
    // height), and one quad into the frame's general or background list. The
    // texture is a name of the sprite sheets; the renderer draws the first
    // frame of its first animation, or plain white when no set has that name.
    void (*camera)(float& x, float& y, float& r);
    float (*aspect)();
    void (*addFrame)(float x, float y, float z, float width, float height, float rotation, const char* texture,
                     std::uint32_t colour);
    void (*addBackground)(float x, float y, float z, float width, float height, float rotation, const char* texture,
                          std::uint32_t colour);

    // Sound.
    void (*playSound)(AudioList sound, float volume);
    void (*setMusicChannelVolume)(int channel, float volume);
    void (*setMusicChannelFrequency)(int channel, float hertz);

    // Rumble; each applies the player's settings itself.
    void (*rumbleRemote)(unsigned milliseconds);
    void (*vibratePad)(unsigned milliseconds);
    void (*lightVibratePad)(unsigned milliseconds);

    // Network: this peer's client id (0 on the server and in single player),
    // and the queue of outgoing messages.
    int (*clientId)();
    void (*send)(const PlayerMessage& message);
};

extern GameplayHooks gameplayHooks;

// True while a play level's pause menu is open: the play levels set it, the
// local player takes no input meanwhile, and every play level's "Unload"
// clears it. Game thread only.
extern bool GamePaused;

// Puts every hook back to its default.
void ResetGameplayHooks();

// The object name of the local player: "Player_" followed by '0' + this peer's id.
std::string LocalPlayerName();

// The object name of player number n (0 to 15).
std::string PlayerObjectName(int number);
