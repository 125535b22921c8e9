#include "platform/sound/SoundEngine.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/Resources.h"
#include "platform/sound/SoundDecoder.h"

SoundEngine soundEngine;

namespace {

// The oldest library version the engine is written for: ALC 1.1.
constexpr unsigned kRequiredVersion = 0x00010001;

void BreakIfDebugged() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) {
            if (std::atoi(line.c_str() + 10) != 0) std::raise(SIGTRAP);
            return;
        }
    }
}

// A channel's gain: the library takes 0 to 1, and nothing that is not a number.
float Gain(float volume) { return volume > 0.0f ? std::min(volume, 1.0f) : 0.0f; }

bool InRange(int channel, int count) { return channel >= 0 && channel < count; }

}  // namespace

void SoundEngine::ReportError(int code, const char* text) {
    std::printf("OpenAL error! (%d) %s\n", code, text ? text : "unknown error");
    std::fflush(stdout);
    BreakIfDebugged();
}

bool SoundEngine::ERRCHECK(ALenum result) {
    if (result == AL_NO_ERROR) return true;
    ReportError(result, alGetString(result));
    return false;
}

bool SoundEngine::Checked() { return context ? ERRCHECK(alGetError()) : true; }

bool SoundEngine::Init() {
    // The engine's "Load" may come more than once: what already runs (the
    // device, the sounds, the volumes set since) is kept.
    if (initialised) return true;
    soundMaster = 0.5f;
    musicMaster = 0.5f;
    for (auto& c : effects) c = Channel{};
    for (auto& c : music) c = Channel{};
    paused.store(false);
    pausedSeen = false;

    ALCint major = 0, minor = 0;
    alcGetIntegerv(nullptr, ALC_MAJOR_VERSION, 1, &major);
    alcGetIntegerv(nullptr, ALC_MINOR_VERSION, 1, &minor);
    unsigned version = static_cast<unsigned>(major) << 16 | static_cast<unsigned>(minor);
    if (version < kRequiredVersion) {
        std::printf("Error!  You are using an old version of OpenAL %08x.  This program requires %08x\n", version,
                    kRequiredVersion);
        std::fflush(stdout);
        BreakIfDebugged();
    }

    initialised = true;
    device = alcOpenDevice(nullptr);
    if (!device) return true;  // no output device: the engine stays silent

    // One source per channel: ask the library for all 510 at once.
    const ALCint attributes[] = {ALC_MONO_SOURCES, kEffectChannels, ALC_STEREO_SOURCES, kMusicChannels, 0};
    context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        // Without a context there is nothing to play on: silent, as without a device.
        ALCenum error = alcGetError(device);
        ReportError(error, alcGetString(device, error));
        if (context) alcDestroyContext(context);
        context = nullptr;
        alcCloseDevice(device);
        device = nullptr;
        return true;
    }
    alGetError();
    alDistanceModel(AL_NONE);  // channels are not placed in space
    Checked();
    auto makeSources = [this](Channel* group, int count) {
        for (int i = 0; i < count; ++i) {
            ALuint source = 0;
            alGenSources(1, &source);
            if (!Checked()) return;  // the library has no more to give
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            if (Checked()) group[i].source = source;
        }
    };
    // Music first: should the library give fewer sources than asked for, the
    // ten music channels still exist and only the last effect channels are missing.
    makeSources(music.data(), kMusicChannels);
    makeSources(effects.data(), kEffectChannels);
    Load();
    return true;
}

void SoundEngine::Load() {
    if (!context) return;
    if (!sounds.empty()) {
        // Loading again: the channels let go of the old buffers before they go.
        auto detach = [](Channel& c) {
            if (!c.source) return;
            alSourceStop(c.source);
            alSourcei(c.source, AL_BUFFER, 0);
            c.sound = -1;
        };
        std::for_each(effects.begin(), effects.end(), detach);
        std::for_each(music.begin(), music.end(), detach);
        for (auto& s : sounds) {
            if (s.buffer) alDeleteBuffers(1, &s.buffer);
        }
        Checked();
    }
    // Nothing is decoded here: each sound is decoded when it is first played
    // (or asked about), so start-up does not wait for the music and sounds
    // the game never plays take no memory. The decoded samples are held once,
    // by the library.
    sounds.assign(kSoundCount, Sound{});
}

bool SoundEngine::Decode(int index) {
    if (!context || !InRange(index, static_cast<int>(sounds.size()))) return false;
    Sound& s = sounds[static_cast<std::size_t>(index)];
    if (s.tried) return s.buffer != 0;
    s.tried = true;  // a sound that cannot be decoded is reported once, not on every play
    const unsigned short id = static_cast<unsigned short>(kFirstResource + index);
    unsigned long size = 0;
    const void* data = LoadInternalResource(id, &size);
    DecodedSound decoded;
    std::string reason;
    const bool ok = DecodeSound(data, size, decoded, reason);
    FreeInternalResource(data);
    if (!ok) {
        ReportError(AL_INVALID_VALUE,
                    ("sound resource " + std::to_string(id) + " cannot be decoded: " + reason).c_str());
        return false;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (!Checked()) return false;
    alBufferData(buffer, decoded.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, decoded.samples.data(),
                 static_cast<ALsizei>(decoded.samples.size() * sizeof(decoded.samples[0])), decoded.rate);
    if (!Checked()) {
        alDeleteBuffers(1, &buffer);
        alGetError();
        return false;
    }
    s.buffer = buffer;
    s.rate = decoded.rate;
    s.channels = decoded.channels;
    s.frames = static_cast<long>(decoded.Frames());
    return true;
}

bool SoundEngine::IsDecoded(int sound) const {
    return InRange(sound, static_cast<int>(sounds.size())) && sounds[static_cast<std::size_t>(sound)].buffer != 0;
}

SoundEngine::State SoundEngine::StateOf(const Channel& c) {
    if (!c.source) return State::Error;
    ALint state = AL_INITIAL;
    alGetSourcei(c.source, AL_SOURCE_STATE, &state);
    if (!Checked()) return State::Error;
    if (state == AL_PLAYING) return State::Playing;
    if (state == AL_PAUSED) return State::Paused;
    return State::Free;  // never started, or its sound has ended
}

int SoundEngine::Play(Channel* group, int count, float master, AudioList sound, float volume, bool loop,
                      bool musicGroup) {
    if (sounds.empty()) return 0;
    if (sound < 0 || sound >= kSoundCount) {
        ReportError(AL_INVALID_VALUE, ("there is no sound " + std::to_string(static_cast<int>(sound))).c_str());
        return -1;
    }
    if (!Decode(sound)) return -1;  // it could not be loaded; that was reported then
    const Sound& s = sounds[static_cast<std::size_t>(sound)];
    for (int i = 0; i < count; ++i) {
        Channel& c = group[i];
        if (!c.source) continue;  // a channel the library never gave us
        State state = StateOf(c);
        if (state == State::Error) return -1;
        if (state != State::Free) continue;
        alSourcei(c.source, AL_BUFFER, static_cast<ALint>(s.buffer));
        alSourcef(c.source, AL_PITCH, 1.0f);  // a new sound plays at its own rate
        alSourcei(c.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcef(c.source, AL_GAIN, Gain(volume * master));
        c.volume = volume;
        c.sound = sound;
        alSourcePlay(c.source);
        if (!Checked()) return -1;
        return musicGroup ? i : 0;
    }
    return musicGroup ? -1 : 0;
}

int SoundEngine::PlayMusic(AudioList sound, float volume) {
    return Play(music.data(), kMusicChannels, Heard(musicMaster), sound, volume, true, true);
}

int SoundEngine::PlaySoundA(AudioList sound, float volume) {
    return Play(effects.data(), kEffectChannels, Heard(soundMaster), sound, volume, false, false);
}

int SoundEngine::PlaySoundLoop(AudioList sound, float volume) {
    return Play(effects.data(), kEffectChannels, Heard(soundMaster), sound, volume, true, false);
}

int SoundEngine::Act(Channel& c, Action action) {
    if (!c.source) return 0;
    State state = StateOf(c);
    if (state == State::Error) return -1;
    switch (action) {
        case Action::Stop:
            if (state == State::Playing || state == State::Paused) alSourceStop(c.source);
            break;
        case Action::Pause:
            if (state == State::Playing) alSourcePause(c.source);
            break;
        case Action::Continue:
            if (state == State::Paused) alSourcePlay(c.source);
            break;
    }
    return Checked() ? 0 : -1;
}

int SoundEngine::ActAll(Channel* group, int count, Action action) {
    if (sounds.empty()) return 0;
    for (int i = 0; i < count; ++i) Act(group[i], action);  // errors are reported; the others still go
    return 0;
}

int SoundEngine::StopMusic(int channel) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return 0;
    return Act(music[static_cast<std::size_t>(channel)], Action::Stop);
}

int SoundEngine::PauseMusic(int channel) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return 0;
    return Act(music[static_cast<std::size_t>(channel)], Action::Pause);
}

int SoundEngine::ContinueMusic(int channel) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return 0;
    return Act(music[static_cast<std::size_t>(channel)], Action::Continue);
}

int SoundEngine::StopAllMusic() { return ActAll(music.data(), kMusicChannels, Action::Stop); }
int SoundEngine::PauseAllMusic() { return ActAll(music.data(), kMusicChannels, Action::Pause); }
int SoundEngine::ContinueAllMusic() { return ActAll(music.data(), kMusicChannels, Action::Continue); }
int SoundEngine::StopSounds() { return ActAll(effects.data(), kEffectChannels, Action::Stop); }
int SoundEngine::PauseSounds() { return ActAll(effects.data(), kEffectChannels, Action::Pause); }
int SoundEngine::ContinueSounds() { return ActAll(effects.data(), kEffectChannels, Action::Continue); }

bool SoundEngine::IsMusicChannelPlaying(int channel) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return false;
    // A paused channel still holds its sound: it counts as playing.
    State state = StateOf(music[static_cast<std::size_t>(channel)]);
    return state == State::Playing || state == State::Paused;
}

bool SoundEngine::IsMusicChannelPaused(int channel) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return false;
    return StateOf(music[static_cast<std::size_t>(channel)]) == State::Paused;
}

int SoundEngine::ApplyMaster(Channel* group, int count, float master) {
    int result = 0;
    for (int i = 0; i < count; ++i) {
        Channel& c = group[i];
        if (!c.source) continue;
        State state = StateOf(c);
        if (state == State::Error) {
            result = -1;
            continue;
        }
        if (state == State::Free) continue;
        alSourcef(c.source, AL_GAIN, Gain(c.volume >= 0.0f ? c.volume * master : master));
        if (!Checked()) result = -1;
    }
    return result;
}

int SoundEngine::SetMusicVolume(float master) {
    if (sounds.empty()) return 0;
    musicMaster = master;
    return ApplyMaster(music.data(), kMusicChannels, Heard(musicMaster));
}

int SoundEngine::SetSoundVolume(float master) {
    if (sounds.empty()) return 0;
    soundMaster = master;
    return ApplyMaster(effects.data(), kEffectChannels, Heard(soundMaster));
}

int SoundEngine::SetChannelVolume(Channel* group, int count, int channel, float volume, float master) {
    if (sounds.empty() || !InRange(channel, count)) return 0;
    Channel& c = group[channel];
    if (!c.source) return 0;
    State state = StateOf(c);
    if (state == State::Error) return -1;
    if (state == State::Free) return 0;
    c.volume = volume;
    alSourcef(c.source, AL_GAIN, Gain(volume * master));
    return Checked() ? 0 : -1;
}

int SoundEngine::SetMusicChannelVolume(int channel, float volume) {
    return SetChannelVolume(music.data(), kMusicChannels, channel, volume, Heard(musicMaster));
}

int SoundEngine::SetSoundChannelVolume(int channel, float volume) {
    return SetChannelVolume(effects.data(), kEffectChannels, channel, volume, Heard(soundMaster));
}

int SoundEngine::SetMusicChannelFrequency(int channel, float hertz) {
    if (sounds.empty() || !InRange(channel, kMusicChannels)) return 0;
    Channel& c = music[static_cast<std::size_t>(channel)];
    if (!c.source) return 0;
    State state = StateOf(c);
    if (state == State::Error) return -1;
    if (state == State::Free || c.sound < 0) return 0;
    if (!std::isfinite(hertz) || hertz < 0.0f) {
        ReportError(AL_INVALID_VALUE, alGetString(AL_INVALID_VALUE));
        return -1;
    }
    // The library's pitch is a factor of the sound's own rate.
    alSourcef(c.source, AL_PITCH, hertz / static_cast<float>(sounds[static_cast<std::size_t>(c.sound)].rate));
    return Checked() ? 0 : -1;
}

void SoundEngine::Update() {
    const bool now = paused.load();
    const bool changed = now != pausedSeen;
    pausedSeen = now;
    // The masters stay the player's setting; only what is heard changes.
    if (changed && !sounds.empty()) {
        ApplyMaster(music.data(), kMusicChannels, Heard(musicMaster));
        ApplyMaster(effects.data(), kEffectChannels, Heard(soundMaster));
    }
    // The library mixes on its own thread: there is nothing more to drive.
}

void SoundEngine::Free() {
    if (context) {
        alcMakeContextCurrent(context);
        auto release = [](Channel& c) {
            if (!c.source) return;
            alSourceStop(c.source);
            alDeleteSources(1, &c.source);
        };
        std::for_each(effects.begin(), effects.end(), release);
        std::for_each(music.begin(), music.end(), release);
        for (Sound& s : sounds) {
            if (s.buffer) alDeleteBuffers(1, &s.buffer);
        }
        Checked();
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device) alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
    sounds.clear();
    for (auto& c : effects) c = Channel{};
    for (auto& c : music) c = Channel{};
    initialised = false;
}

ALuint SoundEngine::MusicSource(int channel) const {
    return InRange(channel, kMusicChannels) ? music[static_cast<std::size_t>(channel)].source : 0;
}

ALuint SoundEngine::EffectSource(int channel) const {
    return InRange(channel, kEffectChannels) ? effects[static_cast<std::size_t>(channel)].source : 0;
}

int SoundEngine::SoundRate(int sound) {
    Decode(sound);
    return InRange(sound, static_cast<int>(sounds.size())) ? sounds[static_cast<std::size_t>(sound)].rate : 0;
}

long SoundEngine::SoundFrames(int sound) {
    Decode(sound);
    return InRange(sound, static_cast<int>(sounds.size())) ? sounds[static_cast<std::size_t>(sound)].frames : 0;
}

int SoundEngine::SoundChannels(int sound) {
    Decode(sound);
    return InRange(sound, static_cast<int>(sounds.size())) ? sounds[static_cast<std::size_t>(sound)].channels : 0;
}
