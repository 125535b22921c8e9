#pragma once
// The short effects and the two gameplay loops of the sound baker, drawn in code.
#include <vector>

namespace effects {

// Sample rate of every effect; the running loop's pitch is computed against it.
constexpr int kRate = 44100;

// The effect for a sound number (see main.cpp's table), mono at kRate.
// Empty when the number is not an effect.
std::vector<float> Make(int sound);

}  // namespace effects
