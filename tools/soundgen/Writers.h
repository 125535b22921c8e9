#pragma once
// File writers of the sound baker.
#include <string>
#include <vector>

#include "Synth.h"

namespace writers {

// 16-bit PCM mono WAV. Samples are clipped to [-1, 1]. False when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<float>& mono, int rate);

// Ogg Vorbis (VBR at the quality, -0.1 to 1) of a stereo buffer. The stream
// serial number is fixed so that every build makes the same bytes.
bool WriteVorbis(const std::string& path, const synth::Stereo& buffer, int rate, float quality, int serial);

}  // namespace writers
