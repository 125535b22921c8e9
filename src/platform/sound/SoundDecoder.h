#pragma once
// Turns a sound file held in memory into 16-bit PCM. The format is found from
// the bytes: RIFF/WAVE (PCM, 8 or 16 bits) or Ogg Vorbis; one or two channels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedSound {
    std::vector<std::int16_t> samples;  // interleaved frames
    int channels = 0;                   // 1 or 2
    int rate = 0;                       // frames per second
    std::size_t Frames() const { return channels ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

enum class SoundFormat { Unknown, Wav, OggVorbis };

// The container the bytes start with.
SoundFormat DetectSoundFormat(const void* data, std::size_t size);

// Decodes the bytes into out. On failure returns false, leaves out empty and
// puts a short reason into error.
bool DecodeSound(const void* data, std::size_t size, DecodedSound& out, std::string& error);
