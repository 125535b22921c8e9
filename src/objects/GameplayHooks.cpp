#include "objects/GameplayHooks.h"

#include "platform/input/XBox.h"

// The network engine's side (PlayerMessages.cpp).
void SendToNetwork(const PlayerMessage& message);
int NetworkClientId();

namespace {

void CentredCamera(float& x, float& y, float& r) {
    x = 0.0f;
    y = 0.0f;
    r = 1.0f;
}
float SquareAspect() { return 1.0f; }
void NoQuad(float, float, float, float, float, float, const char*, std::uint32_t) {}

void PlaySound(AudioList sound, float volume) { soundEngine.PlaySoundA(sound, volume); }
void MusicVolume(int channel, float volume) { soundEngine.SetMusicChannelVolume(channel, volume); }
void MusicFrequency(int channel, float hertz) { soundEngine.SetMusicChannelFrequency(channel, hertz); }

// The Wii remote's driver is wired in by its owner; until then there is none to rumble.
void NoRemote(unsigned) {}
void PadVibrate(unsigned ms) { XBox.Vibrate(ms); }
void PadLightVibrate(unsigned ms) { XBox.LightVibrate(ms); }

constexpr GameplayHooks Defaults() {
    GameplayHooks hooks{};
    hooks.camera = &CentredCamera;
    hooks.aspect = &SquareAspect;
    hooks.addFrame = &NoQuad;
    hooks.addBackground = &NoQuad;
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

constinit GameplayHooks gameplayHooks = Defaults();

void ResetGameplayHooks() { gameplayHooks = Defaults(); }

std::string PlayerObjectName(int number) { return std::string("Player_") + static_cast<char>('0' + number); }

std::string LocalPlayerName() { return PlayerObjectName(gameplayHooks.clientId()); }
