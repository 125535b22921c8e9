#pragma once
// Music scores of the sound baker: a small text format (see
// resources/sounds/README.md) parsed into note events and rendered into a
// seamless stereo loop.
#include <stdexcept>
#include <string>

#include "Synth.h"

namespace score {

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses the score text (`name` is used in error messages) and renders it at
// the rate. The result loops: tails that run past the end wrap to the start.
synth::Stereo Render(const std::string& text, const std::string& name, double rate);

}  // namespace score
