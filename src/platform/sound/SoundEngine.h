#pragma once
// The sound player: the game's 27 sounds on 500 effect channels and 10 music
// channels over OpenAL, each group under its own master volume, with a pause
// that lowers both. One global instance, soundEngine. Game thread only,
// except Free, which the main thread calls after the game thread has ended.
#include <AL/al.h>
#include <AL/alc.h>

#include <array>
#include <atomic>
#include <vector>

// The sounds, in resource order: value i is resource 3000 + i.
enum AudioList : int {
    GAMEPLAY_LOOP_A = 0,  // the breaking-terrain loop (music channel)
    TRACK_1 = 1,
    TITLE_MUSIC = 2,
    TRACK_3 = 3,
    TRACK_4 = 4,
    GAMEPLAY_MUSIC = 5,
    MENU_MUSIC = 6,
    TRACK_7 = 7,
    GAMEPLAY_LOOP_B = 8,  // the running loop, re-pitched every frame (music channel)
    TRACK_9 = 9,
    CHECKPOINT_SOUND = 10,
    BUTTON_CLICK = 11,
    FIREFLY_COLLECT = 12,
    SOUND_13 = 13,
    SOUND_14 = 14,
    PLAYER_SOUND_A = 15,  // jump
    PLAYER_SOUND_B = 16,  // landing
    LEVEL_GOAL_SOUND = 17,
    SOUND_18 = 18,
    MOONSHARD_COLLECT = 19,
    SOUND_20 = 20,
    SPEED_BOOST_SOUND = 21,
    PLAYER_SOUND_C = 22,  // spike death
    SPRING_SOUND = 23,
    SOUND_24 = 24,
    SOUND_25 = 25,
    SOUND_26 = 26,
};

class SoundEngine {
public:
    static constexpr int kSoundCount = 27;
    static constexpr int kEffectChannels = 500;
    static constexpr int kMusicChannels = 10;
    static constexpr unsigned short kFirstResource = 3000;

    SoundEngine() = default;
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    // Opens the output device and readies the sounds. True also when there is
    // no output device: the engine then stays silent and every call does nothing.
    bool Init();
    // Readies the 27 embedded sounds (called by Init). Each is decoded into
    // its buffer when it is first played or asked about, not here.
    void Load();

    // Plays the sound looping on the first free music channel; answers the
    // channel (0 to 9), or -1 when every music channel is busy or on an error.
    int PlayMusic(AudioList sound, float volume);
    // Plays the sound once (or looping) on the first free effect channel. An
    // effect waits for no channel: when all are busy it is dropped and 0 answered.
    int PlaySoundA(AudioList sound, float volume);
    int PlaySoundLoop(AudioList sound, float volume);

    int StopMusic(int channel);
    int PauseMusic(int channel);
    int ContinueMusic(int channel);
    int StopAllMusic();
    int PauseAllMusic();
    int ContinueAllMusic();
    int StopSounds();
    int PauseSounds();
    int ContinueSounds();
    bool IsMusicChannelPlaying(int channel);
    bool IsMusicChannelPaused(int channel);

    int SetMusicVolume(float master);
    int SetSoundVolume(float master);
    int SetMusicChannelVolume(int channel, float volume);
    int SetSoundChannelVolume(int channel, float volume);
    // Playback rate in frames per second (the sound's own rate plays it as made).
    int SetMusicChannelFrequency(int channel, float hertz);

    void SetPaused(bool paused) { this->paused.store(paused); }
    bool GetPaused() const { return paused.load(); }

    // Once per frame: a change of the paused flag takes both masters' gain
    // to a third of the setting while paused and back to it after.
    void Update();
    // Releases the sounds, the channels and the device.
    void Free();

    // True for AL_NO_ERROR; otherwise prints the error line and answers false.
    bool ERRCHECK(ALenum result);

    // The engine's bookkeeping, for tests and diagnostics.
    bool IsLoaded() const { return !sounds.empty(); }
    // The masters as the player set them, paused or not.
    float GetMusicMaster() const { return musicMaster; }
    float GetSoundMaster() const { return soundMaster; }
    // The OpenAL source behind a channel (0 when there is none).
    ALuint MusicSource(int channel) const;
    ALuint EffectSource(int channel) const;
    // The decoded length and rate of a sound, decoding it first if it has not
    // been (0 when it cannot be loaded).
    int SoundRate(int sound);
    long SoundFrames(int sound);
    int SoundChannels(int sound);
    // The sound has been decoded into its buffer (played or asked about).
    bool IsDecoded(int sound) const;

private:
    struct Sound {
        ALuint buffer = 0;
        int rate = 0;
        int channels = 0;
        long frames = 0;
        bool tried = false;  // decoding was attempted (buffer stays 0 when it failed)
    };
    struct Channel {
        ALuint source = 0;
        float volume = -1.0f;  // the volume last asked for on this channel; below 0: none
        int sound = -1;        // what was last started on it
    };
    enum class State { Free, Playing, Paused, Error };

    // Decodes the sound into its buffer the first time; true when it has one.
    bool Decode(int sound);
    State StateOf(const Channel& c);
    int Play(Channel* group, int count, float master, AudioList sound, float volume, bool loop, bool music);
    int ApplyMaster(Channel* group, int count, float master);
    // The gain a master gives: a third of it while the game is paused.
    float Heard(float master) const { return pausedSeen ? master / 3.0f : master; }
    int SetChannelVolume(Channel* group, int count, int channel, float volume, float master);
    // Stop, pause or continue one channel; the "all" forms go over a group.
    enum class Action { Stop, Pause, Continue };
    int Act(Channel& c, Action action);
    int ActAll(Channel* group, int count, Action action);
    bool Checked();  // ERRCHECK of the pending OpenAL error
    void ReportError(int code, const char* text);

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool initialised = false;
    std::array<Channel, kEffectChannels> effects{};
    std::array<Channel, kMusicChannels> music{};
    std::vector<Sound> sounds;  // index = AudioList value; empty before Load
    float soundMaster = 0.5f;
    float musicMaster = 0.5f;
    std::atomic<bool> paused{false};
    bool pausedSeen = false;
};

extern SoundEngine soundEngine;
