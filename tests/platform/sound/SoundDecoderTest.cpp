#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Resources.h"
#include "platform/sound/SoundDecoder.h"
#include "platform/sound/SoundEngine.h"

namespace {

std::string Bytes(const void* data, unsigned long size) { return std::string(static_cast<const char*>(data), size); }

std::string Resource(int sound) {
    unsigned long size = 0;
    const void* data = LoadInternalResource(static_cast<unsigned short>(SoundEngine::kFirstResource + sound), &size);
    return Bytes(data, size);
}

void Put16(std::string& s, unsigned v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, unsigned v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

struct Fmt {
    unsigned format = 1, channels = 1, rate = 22050, bits = 16;
};

std::string FmtChunk(const Fmt& f) {
    std::string s = "fmt ";
    Put32(s, 16);
    Put16(s, f.format);
    Put16(s, f.channels);
    Put32(s, f.rate);
    Put32(s, f.rate * f.channels * f.bits / 8);
    Put16(s, f.channels * f.bits / 8);
    Put16(s, f.bits);
    return s;
}

std::string DataChunk(const std::string& payload, unsigned claimed) {
    std::string s = "data";
    Put32(s, claimed);
    return s + payload;
}

std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<unsigned>(4 + chunks.size()));
    return s + "WAVE" + chunks;
}

bool IsMusic(int sound) {
    switch (sound) {
        case TRACK_1:
        case TITLE_MUSIC:
        case TRACK_3:
        case TRACK_4:
        case GAMEPLAY_MUSIC:
        case MENU_MUSIC:
        case TRACK_7:
        case TRACK_9:
        case SOUND_26: return true;
        default: return false;
    }
}

double Peak(const DecodedSound& d) {
    int top = 0;
    for (auto s : d.samples) top = std::max(top, std::abs(static_cast<int>(s)));
    return top / 32768.0;
}

}  // namespace

// Every embedded sound decodes: effects and the two gameplay loops as WAV,
// the music as Ogg Vorbis; each is audible and of a sensible length.
TEST(SoundDecoder, EveryEmbeddedSoundDecodes) {
    for (int i = 0; i < SoundEngine::kSoundCount; ++i) {
        SCOPED_TRACE("sound " + std::to_string(i));
        std::string bytes = Resource(i);
        DecodedSound d;
        std::string error;
        ASSERT_TRUE(DecodeSound(bytes.data(), bytes.size(), d, error)) << error;
        EXPECT_EQ(d.rate, 44100);
        double seconds = static_cast<double>(d.Frames()) / d.rate;
        EXPECT_GT(Peak(d), 0.3) << "too quiet";
        EXPECT_LT(Peak(d), 0.98) << "clipped, or too close to it";
        if (IsMusic(i)) {
            EXPECT_EQ(DetectSoundFormat(bytes.data(), bytes.size()), SoundFormat::OggVorbis);
            EXPECT_EQ(d.channels, 2);
            EXPECT_GE(seconds, 15.0);
            EXPECT_LE(seconds, 60.0);
        } else {
            EXPECT_EQ(DetectSoundFormat(bytes.data(), bytes.size()), SoundFormat::Wav);
            EXPECT_EQ(d.channels, 1);
            EXPECT_GT(seconds, 0.02);
            EXPECT_LE(seconds, 3.0);
        }
    }
}

// The running loop is re-pitched against 44,100 Hz and loops without a click:
// its end leads smoothly into its start.
TEST(SoundDecoder, RunningLoopJoinsUpAtItsNativeRate) {
    for (int sound : {GAMEPLAY_LOOP_A, GAMEPLAY_LOOP_B}) {
        std::string bytes = Resource(sound);
        DecodedSound d;
        std::string error;
        ASSERT_TRUE(DecodeSound(bytes.data(), bytes.size(), d, error)) << error;
        ASSERT_EQ(d.rate, 44100);
        int jump = std::abs(static_cast<int>(d.samples.front()) - static_cast<int>(d.samples.back()));
        int typical = 0;
        for (std::size_t i = 1; i < d.samples.size(); ++i)
            typical = std::max(typical, std::abs(static_cast<int>(d.samples[i]) - static_cast<int>(d.samples[i - 1])));
        EXPECT_LE(jump, typical) << "sound " << sound;
    }
}

TEST(SoundDecoder, WavVariantsDecode) {
    // 8-bit unsigned samples become signed 16-bit.
    {
        std::string wav = Riff(FmtChunk({1, 1, 8000, 8}) + DataChunk(std::string("\x80\xFF\x00", 3), 3));
        DecodedSound d;
        std::string error;
        ASSERT_TRUE(DecodeSound(wav.data(), wav.size(), d, error)) << error;
        EXPECT_EQ(d.samples, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256}));
        EXPECT_EQ(d.rate, 8000);
    }
    // An odd-sized chunk before the data is skipped with its pad byte; a
    // stereo 16-bit payload keeps its frames.
    {
        std::string list = "LIST";
        Put32(list, 3);
        list += "abc";
        list.push_back('\0');
        std::string payload;
        for (unsigned v : {1u, 2u, 0xFFFFu, 4u}) Put16(payload, v);
        std::string wav = Riff(FmtChunk({1, 2, 44100, 16}) + list + DataChunk(payload, 8));
        DecodedSound d;
        std::string error;
        ASSERT_TRUE(DecodeSound(wav.data(), wav.size(), d, error)) << error;
        EXPECT_EQ(d.channels, 2);
        EXPECT_EQ(d.Frames(), 2u);
        EXPECT_EQ(d.samples, (std::vector<std::int16_t>{1, 2, -1, 4}));
    }
    // A data size running past the end (a cut file) keeps the whole frames there are.
    {
        std::string payload;
        for (unsigned v : {5u, 6u, 7u}) Put16(payload, v);
        payload.push_back('\x01');  // half a frame
        std::string wav = Riff(FmtChunk({1, 1, 22050, 16}) + DataChunk(payload, 1000000));
        DecodedSound d;
        std::string error;
        ASSERT_TRUE(DecodeSound(wav.data(), wav.size(), d, error)) << error;
        EXPECT_EQ(d.samples, (std::vector<std::int16_t>{5, 6, 7}));
    }
}

TEST(SoundDecoder, BadInputIsRefusedWithAReason) {
    std::string sample;
    Put16(sample, 100);
    Put16(sample, 200);
    std::string fmtHead = "fmt ";
    Put32(fmtHead, 16);
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string cutOgg = Resource(GAMEPLAY_MUSIC).substr(0, 40);
    std::string junkOgg = "OggS" + std::string(200, '\x5A');
    const Case cases[] = {
        {"empty", ""},
        {"unknown bytes", "ID3\x03 this is not a sound at all"},
        {"RIFF that is not WAVE", "RIFF\x10\0\0\0AVI LIST"},
        {"WAV header only", Riff("")},
        {"WAV without data", Riff(FmtChunk({}))},
        {"WAV data before format", Riff(DataChunk(sample, 4) + FmtChunk({}))},
        {"WAV float samples", Riff(FmtChunk({3, 1, 22050, 32}) + DataChunk(sample + sample, 8))},
        {"WAV three channels", Riff(FmtChunk({1, 3, 22050, 16}) + DataChunk(sample + sample + sample, 12))},
        {"WAV 24-bit", Riff(FmtChunk({1, 1, 22050, 24}) + DataChunk(sample + sample, 6))},
        {"WAV zero rate", Riff(FmtChunk({1, 1, 0, 16}) + DataChunk(sample, 4))},
        {"WAV empty data", Riff(FmtChunk({}) + DataChunk("", 0))},
        {"WAV cut format chunk", Riff(fmtHead + "\x01\0")},
        {"WAV chunk size past the end", Riff(std::string("junk\xFF\xFF\xFF\x7F", 8))},
        {"Ogg headers cut short", cutOgg},
        {"Ogg page of junk", junkOgg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedSound d;
        d.channels = 7;  // whatever was there is cleared
        std::string error;
        EXPECT_FALSE(DecodeSound(c.bytes.data(), c.bytes.size(), d, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(d.samples.empty());
        EXPECT_EQ(d.channels, 0);
    }
}

// A music file cut in the middle gives what could be decoded, or a clear
// refusal, and never reads past the bytes it was given.
TEST(SoundDecoder, CutVorbisStreamEndsCleanly) {
    std::string whole = Resource(TITLE_MUSIC);
    DecodedSound full;
    std::string error;
    ASSERT_TRUE(DecodeSound(whole.data(), whole.size(), full, error));
    for (double part : {0.05, 0.5, 0.97}) {
        std::string cut = whole.substr(0, static_cast<std::size_t>(static_cast<double>(whole.size()) * part));
        std::vector<char> exact(cut.begin(), cut.end());  // no spare bytes after the end for the sanitizer
        DecodedSound d;
        if (DecodeSound(exact.data(), exact.size(), d, error)) {
            EXPECT_LT(d.Frames(), full.Frames()) << part;
            EXPECT_EQ(d.channels, 2);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}
