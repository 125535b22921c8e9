// The sound engine on OpenAL's null output (CTest sets ALSOFT_DRIVERS=null):
// the engine's own bookkeeping and what the library reports for its sources.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Resources.h"
#include "platform/sound/SoundDecoder.h"
#include "platform/sound/SoundEngine.h"

extern char** environ;

namespace {

float Gain(ALuint source) {
    float v = -1;
    alGetSourcef(source, AL_GAIN, &v);
    return v;
}
float Pitch(ALuint source) {
    float v = -1;
    alGetSourcef(source, AL_PITCH, &v);
    return v;
}
bool Looping(ALuint source) {
    ALint v = 0;
    alGetSourcei(source, AL_LOOPING, &v);
    return v == AL_TRUE;
}
ALint State(ALuint source) {
    ALint v = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &v);
    return v;
}

class SoundEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The null output, also when the program is started by hand (CTest sets it too).
        setenv("ALSOFT_DRIVERS", "null", 0);
    }
    void SetUp() override {
        ASSERT_TRUE(engine.Init());
        ASSERT_TRUE(engine.IsLoaded()) << "the null output device must be available (ALSOFT_DRIVERS=null)";
    }
    void TearDown() override { engine.Free(); }

    int BusyMusicChannels() {
        int n = 0;
        for (int c = 0; c < SoundEngine::kMusicChannels; ++c) n += engine.IsMusicChannelPlaying(c);
        return n;
    }
    int BusyEffectChannels() {
        int n = 0;
        for (int c = 0; c < SoundEngine::kEffectChannels; ++c) {
            ALint s = State(engine.EffectSource(c));
            n += s == AL_PLAYING || s == AL_PAUSED;
        }
        return n;
    }

    SoundEngine engine;
};

}  // namespace

TEST_F(SoundEngineTest, StartsWithEveryChannelAndEverySound) {
    for (int c = 0; c < SoundEngine::kMusicChannels; ++c) EXPECT_NE(engine.MusicSource(c), 0u) << c;
    for (int c = 0; c < SoundEngine::kEffectChannels; ++c) ASSERT_NE(engine.EffectSource(c), 0u) << c;
    for (int s = 0; s < SoundEngine::kSoundCount; ++s) {
        EXPECT_EQ(engine.SoundRate(s), 44100) << s;
        EXPECT_GT(engine.SoundFrames(s), 0) << s;
    }
    EXPECT_EQ(engine.SoundChannels(GAMEPLAY_LOOP_B), 1);
    EXPECT_EQ(engine.SoundChannels(GAMEPLAY_MUSIC), 2);
    EXPECT_FLOAT_EQ(engine.GetMusicMaster(), 0.5f);
    EXPECT_FLOAT_EQ(engine.GetSoundMaster(), 0.5f);
    EXPECT_FALSE(engine.GetPaused());
}

// Start-up decodes nothing: a sound is decoded when it is first played, into
// a buffer holding exactly what its file decodes to, once.
TEST_F(SoundEngineTest, ASoundIsDecodedWhenFirstPlayedIntoTheSamplesOfItsFile) {
    for (int s = 0; s < SoundEngine::kSoundCount; ++s) EXPECT_FALSE(engine.IsDecoded(s)) << s;

    struct Case {
        AudioList sound;
        bool music;
    };
    const Case cases[] = {{MENU_MUSIC, true}, {GAMEPLAY_LOOP_B, true}, {BUTTON_CLICK, false}, {SOUND_26, false}};
    for (const Case& c : cases) {
        const ALuint source = c.music ? engine.MusicSource(engine.PlayMusic(c.sound, 1.0f)) : [&] {
            engine.StopSounds();
            EXPECT_EQ(engine.PlaySoundLoop(c.sound, 1.0f), 0);  // looping: it cannot end before it is looked at
            return engine.EffectSource(0);
        }();
        ASSERT_NE(source, 0u) << c.sound;
        EXPECT_TRUE(engine.IsDecoded(c.sound)) << c.sound;
        EXPECT_EQ(State(source), AL_PLAYING) << c.sound;

        unsigned long size = 0;
        const void* bytes =
            LoadInternalResource(static_cast<unsigned short>(SoundEngine::kFirstResource + c.sound), &size);
        DecodedSound expected;
        std::string error;
        ASSERT_TRUE(DecodeSound(bytes, size, expected, error)) << error;
        FreeInternalResource(bytes);

        ALint buffer = 0, frequency = 0, channels = 0, bits = 0, byteCount = 0;
        alGetSourcei(source, AL_BUFFER, &buffer);
        ASSERT_NE(buffer, 0) << c.sound;
        alGetBufferi(static_cast<ALuint>(buffer), AL_FREQUENCY, &frequency);
        alGetBufferi(static_cast<ALuint>(buffer), AL_CHANNELS, &channels);
        alGetBufferi(static_cast<ALuint>(buffer), AL_BITS, &bits);
        alGetBufferi(static_cast<ALuint>(buffer), AL_SIZE, &byteCount);
        EXPECT_EQ(frequency, expected.rate) << c.sound;
        EXPECT_EQ(channels, expected.channels) << c.sound;
        EXPECT_EQ(bits, 16) << c.sound;
        EXPECT_EQ(static_cast<std::size_t>(byteCount), expected.samples.size() * sizeof(std::int16_t)) << c.sound;
        EXPECT_EQ(engine.SoundFrames(c.sound), static_cast<long>(expected.Frames())) << c.sound;

        // Played again, it plays the same buffer: it is not decoded twice.
        engine.StopSounds();
        engine.StopAllMusic();
        const ALuint again = c.music ? engine.MusicSource(engine.PlayMusic(c.sound, 1.0f)) : [&] {
            EXPECT_EQ(engine.PlaySoundLoop(c.sound, 1.0f), 0);
            return engine.EffectSource(0);
        }();
        ALint sameBuffer = 0;
        alGetSourcei(again, AL_BUFFER, &sameBuffer);
        EXPECT_EQ(sameBuffer, buffer) << c.sound;
        engine.StopAllMusic();
    }
    // Only what was played is decoded.
    EXPECT_FALSE(engine.IsDecoded(TRACK_9));
    EXPECT_FALSE(engine.IsDecoded(GAMEPLAY_MUSIC));

    // Loading again forgets the decoded sounds; they are decoded afresh on the next play.
    engine.Load();
    EXPECT_FALSE(engine.IsDecoded(MENU_MUSIC));
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
    EXPECT_TRUE(engine.IsDecoded(MENU_MUSIC));
    EXPECT_TRUE(engine.IsMusicChannelPlaying(0));
}

TEST_F(SoundEngineTest, MusicTakesTheFirstFreeChannel) {
    EXPECT_EQ(engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f), 0);
    EXPECT_EQ(engine.PlayMusic(GAMEPLAY_LOOP_A, 0.0f), 1);
    EXPECT_EQ(engine.PlayMusic(GAMEPLAY_LOOP_B, 0.0f), 2);  // channels 0 and 1 busy
    EXPECT_EQ(BusyMusicChannels(), 3);

    // A stopped channel is the first free one again.
    EXPECT_EQ(engine.StopMusic(1), 0);
    EXPECT_FALSE(engine.IsMusicChannelPlaying(1));
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 1);

    // A paused channel is busy.
    EXPECT_EQ(engine.PauseMusic(0), 0);
    for (int expected = 3; expected < SoundEngine::kMusicChannels; ++expected)
        EXPECT_EQ(engine.PlayMusic(TRACK_1, 1.0f), expected);
    EXPECT_EQ(engine.PlayMusic(TRACK_3, 1.0f), -1);  // all ten busy: nothing plays
    EXPECT_EQ(BusyMusicChannels(), SoundEngine::kMusicChannels);

    EXPECT_EQ(engine.StopAllMusic(), 0);
    EXPECT_EQ(BusyMusicChannels(), 0);  // the paused one too
    EXPECT_EQ(engine.PlayMusic(TITLE_MUSIC, 1.0f), 0);
}

TEST_F(SoundEngineTest, EffectsAreDroppedWhenEveryChannelIsBusy) {
    for (int i = 0; i < SoundEngine::kEffectChannels; ++i) ASSERT_EQ(engine.PlaySoundLoop(SPRING_SOUND, 1.0f), 0);
    EXPECT_EQ(BusyEffectChannels(), SoundEngine::kEffectChannels);
    EXPECT_EQ(engine.PlaySoundA(BUTTON_CLICK, 1.0f), 0);  // dropped, not an error
    EXPECT_EQ(BusyEffectChannels(), SoundEngine::kEffectChannels);
    for (int c = 0; c < SoundEngine::kMusicChannels; ++c) EXPECT_EQ(State(engine.MusicSource(c)), AL_INITIAL) << c;

    EXPECT_EQ(engine.PauseSounds(), 0);
    EXPECT_EQ(State(engine.EffectSource(0)), AL_PAUSED);
    EXPECT_EQ(State(engine.EffectSource(499)), AL_PAUSED);
    EXPECT_EQ(engine.ContinueSounds(), 0);
    EXPECT_EQ(State(engine.EffectSource(250)), AL_PLAYING);
    EXPECT_EQ(engine.PauseSounds(), 0);
    EXPECT_EQ(engine.StopSounds(), 0);  // paused ones are stopped too
    EXPECT_EQ(BusyEffectChannels(), 0);
    EXPECT_EQ(engine.PlaySoundLoop(BUTTON_CLICK, 1.0f), 0);  // looping: it cannot end before it is looked at
    EXPECT_EQ(State(engine.EffectSource(0)), AL_PLAYING);
    EXPECT_EQ(BusyEffectChannels(), 1);
}

TEST_F(SoundEngineTest, MusicAndLoopsRepeatAndEffectsPlayOnce) {
    int m = engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f);
    ASSERT_EQ(m, 0);
    EXPECT_TRUE(Looping(engine.MusicSource(m)));
    // Each effect below takes the first channel, free as every other is:
    // none is asked for while an earlier one may still be playing or may
    // just have ended, which depends on how fast the machine runs.
    ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 1.0f), 0);
    EXPECT_TRUE(Looping(engine.EffectSource(0)));

    // A channel reused for a one-shot effect does not keep the old loop.
    engine.StopSounds();
    ASSERT_EQ(engine.PlaySoundA(PLAYER_SOUND_B, 1.0f), 0);
    EXPECT_FALSE(Looping(engine.EffectSource(0)));
}

TEST_F(SoundEngineTest, VolumeIsOwnTimesMaster) {
    int ch = engine.PlayMusic(GAMEPLAY_MUSIC, 0.5f);
    ASSERT_EQ(ch, 0);
    ALuint src = engine.MusicSource(ch);
    EXPECT_FLOAT_EQ(Gain(src), 0.25f);  // 0.5 × master 0.5
    EXPECT_EQ(engine.SetMusicVolume(0.2f), 0);
    EXPECT_FLOAT_EQ(Gain(src), 0.1f);
    EXPECT_EQ(engine.SetMusicChannelVolume(ch, 0.25f), 0);
    EXPECT_FLOAT_EQ(Gain(src), 0.05f);

    // A looping effect keeps its own volume through master changes.
    ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 0.5f), 0);
    ALuint fx = engine.EffectSource(0);
    EXPECT_EQ(engine.SetSoundVolume(0.4f), 0);
    EXPECT_FLOAT_EQ(Gain(fx), 0.2f);
    EXPECT_EQ(engine.SetSoundVolume(1.0f), 0);
    EXPECT_FLOAT_EQ(Gain(fx), 0.5f);
    EXPECT_EQ(engine.SetSoundChannelVolume(0, 0.9f), 0);
    EXPECT_FLOAT_EQ(Gain(fx), 0.9f);
    EXPECT_FLOAT_EQ(Gain(src), 0.05f);  // the music group is untouched

    // A channel without an own volume (below 0) takes the master alone.
    int none = engine.PlayMusic(TRACK_1, -1.0f);
    ASSERT_EQ(none, 1);
    EXPECT_FLOAT_EQ(Gain(engine.MusicSource(none)), 0.0f);
    EXPECT_EQ(engine.SetMusicVolume(0.3f), 0);
    EXPECT_FLOAT_EQ(Gain(engine.MusicSource(none)), 0.3f);

    EXPECT_FLOAT_EQ(Gain(src), 0.075f);  // 0.25 × 0.3

    // A stopped channel is left alone.
    engine.StopMusic(ch);
    EXPECT_EQ(engine.SetMusicChannelVolume(ch, 1.0f), 0);
    EXPECT_EQ(engine.SetMusicVolume(0.9f), 0);
    EXPECT_FLOAT_EQ(Gain(src), 0.075f);
}

TEST_F(SoundEngineTest, PauseLowersBothMastersOnceAndResumeRestoresThem) {
    int ch = engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f);
    ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 0.6f), 0);
    ALuint music = engine.MusicSource(ch), fx = engine.EffectSource(0);

    engine.SetPaused(true);
    EXPECT_TRUE(engine.GetPaused());
    for (int frame = 0; frame < 5; ++frame) engine.Update();
    EXPECT_NEAR(engine.GetMusicMaster(), 0.5f, 1e-6);  // the setting stays; only the gain drops
    EXPECT_NEAR(engine.GetSoundMaster(), 0.5f, 1e-6);
    EXPECT_NEAR(Gain(music), 0.5f / 3, 1e-6);
    EXPECT_NEAR(Gain(fx), 0.6f * 0.5f / 3, 1e-6);

    engine.SetPaused(false);
    for (int frame = 0; frame < 5; ++frame) engine.Update();
    EXPECT_NEAR(engine.GetMusicMaster(), 0.5f, 1e-6);
    EXPECT_NEAR(engine.GetSoundMaster(), 0.5f, 1e-6);
    EXPECT_NEAR(Gain(music), 0.5f, 1e-6);
    EXPECT_NEAR(Gain(fx), 0.3f, 1e-6);

    // A pause that opens and closes between two frames changes nothing.
    engine.SetPaused(true);
    engine.SetPaused(false);
    engine.Update();
    EXPECT_NEAR(engine.GetMusicMaster(), 0.5f, 1e-6);
}

// The options screen sets the masters while the game is paused: the player's
// setting is what is heard on resume, a third of it until then.
TEST_F(SoundEngineTest, AMasterSetWhilePausedIsKeptOnResume) {
    int ch = engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f);
    ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 0.5f), 0);
    ALuint music = engine.MusicSource(ch), fx = engine.EffectSource(0);
    engine.SetPaused(true);
    engine.Update();
    EXPECT_EQ(engine.SetMusicVolume(0.9f), 0);
    EXPECT_EQ(engine.SetSoundVolume(0.6f), 0);
    EXPECT_NEAR(Gain(music), 0.3f, 1e-6);
    EXPECT_NEAR(Gain(fx), 0.1f, 1e-6);
    // A sound started while paused is quietened too.
    int late = engine.PlayMusic(MENU_MUSIC, 1.0f);
    ASSERT_GE(late, 0);
    EXPECT_NEAR(Gain(engine.MusicSource(late)), 0.3f, 1e-6);

    engine.SetPaused(false);
    engine.Update();
    EXPECT_NEAR(engine.GetMusicMaster(), 0.9f, 1e-6);
    EXPECT_NEAR(engine.GetSoundMaster(), 0.6f, 1e-6);
    EXPECT_NEAR(Gain(music), 0.9f, 1e-6);
    EXPECT_NEAR(Gain(engine.MusicSource(late)), 0.9f, 1e-6);
    EXPECT_NEAR(Gain(fx), 0.3f, 1e-6);
}

TEST_F(SoundEngineTest, FrequencyBecomesThePitchOfTheSound) {
    int ch = engine.PlayMusic(GAMEPLAY_LOOP_B, 0.5f);
    ASSERT_EQ(ch, 0);
    ALuint src = engine.MusicSource(ch);
    EXPECT_FLOAT_EQ(Pitch(src), 1.0f);
    const float fastest = 0.0352f / 0.016f * 44100.0f;  // the run loop at full boost
    EXPECT_EQ(engine.SetMusicChannelFrequency(ch, fastest), 0);
    EXPECT_NEAR(Pitch(src), 2.2f, 1e-5);
    EXPECT_FLOAT_EQ(Gain(src), 0.25f);  // the volume stays
    EXPECT_EQ(engine.SetMusicChannelFrequency(ch, 44100.0f), 0);
    EXPECT_FLOAT_EQ(Pitch(src), 1.0f);

    // A frequency that is no frequency is refused and the pitch kept.
    testing::internal::CaptureStdout();
    EXPECT_EQ(engine.SetMusicChannelFrequency(ch, -5.0f), -1);
    EXPECT_EQ(engine.SetMusicChannelFrequency(ch, NAN), -1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("OpenAL error! (40963) "), std::string::npos) << out;
    EXPECT_FLOAT_EQ(Pitch(src), 1.0f);

    // A new sound on the channel plays at its own rate again.
    engine.SetMusicChannelFrequency(ch, 22050.0f);
    engine.StopMusic(ch);
    ASSERT_EQ(engine.PlayMusic(GAMEPLAY_LOOP_B, 0.5f), ch);
    EXPECT_FLOAT_EQ(Pitch(src), 1.0f);
}

TEST_F(SoundEngineTest, PauseAndContinueOneMusicChannel) {
    ASSERT_EQ(engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f), 0);
    ASSERT_EQ(engine.PlayMusic(TRACK_4, 1.0f), 1);
    EXPECT_EQ(engine.PauseMusic(0), 0);
    EXPECT_TRUE(engine.IsMusicChannelPaused(0));
    EXPECT_TRUE(engine.IsMusicChannelPlaying(0));  // it still holds its sound
    EXPECT_FALSE(engine.IsMusicChannelPaused(1));
    EXPECT_EQ(engine.PauseMusic(0), 0);  // already paused: nothing more
    EXPECT_EQ(engine.ContinueMusic(0), 0);
    EXPECT_FALSE(engine.IsMusicChannelPaused(0));
    EXPECT_EQ(State(engine.MusicSource(0)), AL_PLAYING);
    EXPECT_EQ(engine.ContinueMusic(1), 0);  // not paused: nothing

    EXPECT_EQ(engine.PauseAllMusic(), 0);
    EXPECT_TRUE(engine.IsMusicChannelPaused(0));
    EXPECT_TRUE(engine.IsMusicChannelPaused(1));
    EXPECT_FALSE(engine.IsMusicChannelPaused(2));  // never started
    EXPECT_EQ(engine.ContinueAllMusic(), 0);
    EXPECT_EQ(State(engine.MusicSource(1)), AL_PLAYING);
    EXPECT_EQ(State(engine.MusicSource(2)), AL_INITIAL);
}

// PlayMusic answers -1 when every music channel is busy, and callers hand that
// index back every frame: every channel index out of range does nothing.
TEST_F(SoundEngineTest, ChannelIndicesOutOfRangeDoNothing) {
    ASSERT_EQ(engine.PlayMusic(GAMEPLAY_MUSIC, 0.5f), 0);
    ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 0.5f), 0);
    ALuint music = engine.MusicSource(0), fx = engine.EffectSource(0);
    testing::internal::CaptureStdout();
    for (int bad : {-1, SoundEngine::kMusicChannels, SoundEngine::kEffectChannels, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(engine.StopMusic(bad), 0);
        EXPECT_EQ(engine.PauseMusic(bad), 0);
        EXPECT_EQ(engine.ContinueMusic(bad), 0);
        EXPECT_FALSE(engine.IsMusicChannelPlaying(bad));
        EXPECT_FALSE(engine.IsMusicChannelPaused(bad));
        EXPECT_EQ(engine.SetMusicChannelVolume(bad, 1.0f), 0);
        EXPECT_EQ(engine.SetMusicChannelFrequency(bad, 88200.0f), 0);
        EXPECT_EQ(engine.MusicSource(bad), 0u);
    }
    for (int bad : {-1, SoundEngine::kEffectChannels, INT_MIN, INT_MAX}) {
        EXPECT_EQ(engine.SetSoundChannelVolume(bad, 1.0f), 0);
        EXPECT_EQ(engine.EffectSource(bad), 0u);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(State(music), AL_PLAYING);
    EXPECT_FLOAT_EQ(Gain(music), 0.25f);
    EXPECT_FLOAT_EQ(Pitch(music), 1.0f);
    EXPECT_EQ(State(fx), AL_PLAYING);
    EXPECT_FLOAT_EQ(Gain(fx), 0.25f);

    // A sound outside the list plays nothing and says so.
    testing::internal::CaptureStdout();
    EXPECT_EQ(engine.PlayMusic(static_cast<AudioList>(SoundEngine::kSoundCount), 1.0f), -1);
    EXPECT_EQ(engine.PlaySoundA(static_cast<AudioList>(-1), 1.0f), -1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("OpenAL error! (40963) there is no sound 27\n"), std::string::npos) << out;
    EXPECT_EQ(BusyMusicChannels(), 1);
}

TEST_F(SoundEngineTest, SecondInitKeepsWhatRunsAndFreeSilencesEverything) {
    ASSERT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
    engine.SetMusicVolume(0.8f);
    EXPECT_TRUE(engine.Init());
    EXPECT_TRUE(engine.IsMusicChannelPlaying(0));
    EXPECT_FLOAT_EQ(engine.GetMusicMaster(), 0.8f);

    // Loading the sounds again first stops the channels that use the old ones.
    testing::internal::CaptureStdout();
    engine.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(engine.IsMusicChannelPlaying(0));
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
    EXPECT_TRUE(engine.IsMusicChannelPlaying(0));

    engine.Free();
    EXPECT_FALSE(engine.IsLoaded());
    EXPECT_EQ(engine.MusicSource(0), 0u);
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
    EXPECT_EQ(engine.PlaySoundA(BUTTON_CLICK, 1.0f), 0);
    EXPECT_FALSE(engine.IsMusicChannelPlaying(0));
    engine.Update();
    engine.Free();  // twice is harmless

    // And it can start again.
    ASSERT_TRUE(engine.Init());
    EXPECT_TRUE(engine.IsLoaded());
    EXPECT_FLOAT_EQ(engine.GetMusicMaster(), 0.5f);
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
}

// --- runs in a child process ------------------------------------------------
// OpenAL reads its driver list and configuration once per process, so the
// runs without a device and with a short supply of sources are child
// processes of this test program, started with their own environment.

namespace {

bool IsChild(const char* name) {
    const char* which = std::getenv("GF_SOUND_CHILD");
    return which && std::string(which) == name;
}

// Runs one test of this program in a child process with extra environment
// entries; answers its output and puts its exit status into *status.
std::string RunChild(const std::string& test, const std::vector<std::string>& extra, int* status) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "cannot find the test program";
    self[n] = '\0';
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        if (v.rfind("ALSOFT_", 0) != 0 && v.rfind("GTEST_", 0) != 0) env.push_back(v);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string filter = "--gtest_filter=" + test;
    char* argv[] = {self, filter.data(), nullptr};

    int fds[2];
    if (pipe(fds) != 0) return "cannot make a pipe";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t child = 0;
    int rc = posix_spawn(&child, self, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string output;
    if (rc == 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = read(fds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<std::size_t>(got));
        waitpid(child, status, 0);
    } else {
        output = "cannot start the test program";
    }
    close(fds[0]);
    return output;
}

void ExpectChildPassed(const std::string& output, int status, const char* doneLine) {
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(output.find(doneLine), std::string::npos) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

}  // namespace

TEST(SoundEngineChild, NoDevice) {
    if (!IsChild("NoDevice")) GTEST_SKIP() << "runs only as the child of SoundEngineNoDevice.EveryCallIsSilent";
    SoundEngine engine;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(engine.Init());
    EXPECT_FALSE(engine.IsLoaded());
    EXPECT_EQ(engine.PlayMusic(GAMEPLAY_MUSIC, 1.0f), 0);
    EXPECT_EQ(engine.PlayMusic(GAMEPLAY_LOOP_B, 0.0f), 0);
    EXPECT_EQ(engine.PlaySoundA(BUTTON_CLICK, 1.0f), 0);
    EXPECT_EQ(engine.PlaySoundLoop(SPRING_SOUND, 1.0f), 0);
    for (int ch : {-1, 0, 9, 499}) {
        EXPECT_EQ(engine.StopMusic(ch), 0);
        EXPECT_EQ(engine.PauseMusic(ch), 0);
        EXPECT_EQ(engine.ContinueMusic(ch), 0);
        EXPECT_FALSE(engine.IsMusicChannelPlaying(ch));
        EXPECT_FALSE(engine.IsMusicChannelPaused(ch));
        EXPECT_EQ(engine.SetMusicChannelVolume(ch, 0.5f), 0);
        EXPECT_EQ(engine.SetSoundChannelVolume(ch, 0.5f), 0);
        EXPECT_EQ(engine.SetMusicChannelFrequency(ch, 88200.0f), 0);
    }
    EXPECT_EQ(engine.StopAllMusic(), 0);
    EXPECT_EQ(engine.PauseAllMusic(), 0);
    EXPECT_EQ(engine.ContinueAllMusic(), 0);
    EXPECT_EQ(engine.StopSounds(), 0);
    EXPECT_EQ(engine.PauseSounds(), 0);
    EXPECT_EQ(engine.ContinueSounds(), 0);
    EXPECT_EQ(engine.SetMusicVolume(0.2f), 0);
    EXPECT_EQ(engine.SetSoundVolume(0.2f), 0);
    engine.SetPaused(true);
    EXPECT_TRUE(engine.GetPaused());
    engine.Update();
    engine.Update();
    engine.Free();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::puts("child: done");
}

TEST(SoundEngineNoDevice, EveryCallIsSilent) {
    int status = -1;
    std::string out =
        RunChild("SoundEngineChild.NoDevice", {"ALSOFT_DRIVERS=no-such-driver", "GF_SOUND_CHILD=NoDevice"}, &status);
    ExpectChildPassed(out, status, "child: done");
}

TEST(SoundEngineChild, FewSources) {
    if (!IsChild("FewSources"))
        GTEST_SKIP() << "runs only as the child of SoundEngineFewSources.MusicChannelsComeFirst";
    SoundEngine engine;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(engine.Init());
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(engine.IsLoaded());
    // The library allows 64 sources: every music channel, then 54 effect channels.
    for (int c = 0; c < SoundEngine::kMusicChannels; ++c) EXPECT_NE(engine.MusicSource(c), 0u) << c;
    EXPECT_NE(engine.EffectSource(53), 0u);
    EXPECT_EQ(engine.EffectSource(54), 0u);
    EXPECT_EQ(engine.EffectSource(499), 0u);
    std::size_t lines = static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
    EXPECT_EQ(lines, 1u) << "one error line for the sources that were refused:\n" << out;
    EXPECT_EQ(out.rfind("OpenAL error! (", 0), 0u) << out;

    for (int i = 0; i < 54; ++i) ASSERT_EQ(engine.PlaySoundLoop(SOUND_14, 1.0f), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(engine.PlaySoundA(BUTTON_CLICK, 1.0f), 0);  // dropped like any effect without a channel
    EXPECT_EQ(engine.PlayMusic(MENU_MUSIC, 1.0f), 0);
    EXPECT_EQ(engine.SetSoundVolume(0.1f), 0);
    EXPECT_EQ(engine.StopSounds(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    engine.Free();
    std::puts("child: done");
}

TEST(SoundEngineFewSources, MusicChannelsComeFirst) {
    char path[] = "/tmp/gf-alsoft-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const char config[] = "[general]\nsources=64\n";
    ASSERT_EQ(write(fd, config, sizeof config - 1), static_cast<ssize_t>(sizeof config - 1));
    close(fd);
    int status = -1;
    std::string out =
        RunChild("SoundEngineChild.FewSources",
                 {"ALSOFT_DRIVERS=null", std::string("ALSOFT_CONF=") + path, "GF_SOUND_CHILD=FewSources"}, &status);
    unlink(path);
    ExpectChildPassed(out, status, "child: done");
}
