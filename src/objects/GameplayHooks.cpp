#include "objects/GameplayHooks.h"

#include "framework/State.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/XBox.h"

// The network engine's side (PlayerMessages.cpp).
void SendToNetwork(const PlayerMessage& message);
int NetworkClientId();

namespace {

void PublishedCamera(float& x, float& y, float& r) {
    x = CameraGlobals::x;
    y = CameraGlobals::y;
    r = CameraGlobals::r;
}
// The current state's window aspect; a state without a window (a test
// process, a level built before its window) draws as if square.
float WindowAspect() {
    const float aspect = State::GetResolution();
    return aspect > 0.0f ? aspect : 1.0f;
}
// Quads go into the frame being built; outside a frame (no buffer taken)
// there is nowhere to draw and nothing happens.
void QueueFrame(float x, float y, float z, float w, float h, float r, const char* texture, std::uint32_t colour) {
    if (Buffer* buffer = graphicsEngine.GetCurrentBuffer())
        buffer->AddFrame(x, y, z, w, h, r, FrameMap(texture ? texture : "", 0, 0), static_cast<int>(colour));
}
void QueueBackground(float x, float y, float z, float w, float h, float r, const char* texture, std::uint32_t colour) {
    if (Buffer* buffer = graphicsEngine.GetCurrentBuffer())
        buffer->AddBackground(x, y, z, w, h, r, FrameMap(texture ? texture : "", 0, 0), static_cast<int>(colour));
}

void PlaySound(AudioList sound, float volume) { soundEngine.PlaySoundA(sound, volume); }
void MusicVolume(int channel, float volume) { soundEngine.SetMusicChannelVolume(channel, volume); }
void MusicFrequency(int channel, float hertz) { soundEngine.SetMusicChannelFrequency(channel, hertz); }

// The Wii remote's driver is wired in by its owner; until then there is none to rumble.
void NoRemote(unsigned) {}
void PadVibrate(unsigned ms) { XBox.Vibrate(ms); }
void PadLightVibrate(unsigned ms) { XBox.LightVibrate(ms); }

constexpr GameplayHooks Defaults() {
    GameplayHooks hooks{};
    hooks.camera = &PublishedCamera;
    hooks.aspect = &WindowAspect;
    hooks.addFrame = &QueueFrame;
    hooks.addBackground = &QueueBackground;
    hooks.playSound = &PlaySound;
    hooks.setMusicChannelVolume = &MusicVolume;
    hooks.setMusicChannelFrequency = &MusicFrequency;
    hooks.rumbleRemote = &NoRemote;
    hooks.vibratePad = &PadVibrate;
    hooks.lightVibratePad = &PadLightVibrate;
    hooks.clientId = &NetworkClientId;
    hooks.send = &SendToNetwork;
    return hooks;
}

}  // namespace

constinit bool GamePaused = false;

GameplayHooks gameplayHooks = Defaults();

void ResetGameplayHooks() { gameplayHooks = Defaults(); }

std::string PlayerObjectName(int number) { return std::string("Player_") + static_cast<char>('0' + number); }

std::string LocalPlayerName() { return PlayerObjectName(gameplayHooks.clientId()); }
