#pragma once
// Small synthesis kit of the sound baker: oscillators, envelopes, filters,
// a reverb and the instruments the scores name. Everything renders into
// float buffers at a given sample rate; nothing here touches files.
#include <cstdint>
#include <string>
#include <vector>

namespace synth {

constexpr double kPi = 3.14159265358979323846;

// A stereo buffer of float samples.
struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(std::size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
};

// Deterministic noise: the same sounds come out of every build.
class Noise {
public:
    explicit Noise(std::uint32_t seed = 0x1234567u) : state(seed ? seed : 1u) {}
    float Next() {  // uniform in [-1, 1)
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

private:
    std::uint32_t state;
};

// One-pole low-pass; cutoff in Hz.
class OnePole {
public:
    void SetCutoff(double hz, double rate);
    float Process(float x) {
        y += a * (x - y);
        return y;
    }

private:
    float a = 1.0f, y = 0.0f;
};

// State-variable filter (Chamberlin form): low, band and high outputs.
class Svf {
public:
    void Set(double hz, double q, double rate);
    void Process(float x);
    float low = 0, band = 0, high = 0;

private:
    float f = 0.1f, damp = 1.0f;
};

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midi);

// Parses a note name such as "a4", "c#5", "eb3" into a MIDI number; -1 when it is not one.
int ParseNote(const std::string& text);

// Attack / decay / sustain / release envelope, times in seconds; held for `hold` seconds.
float Adsr(double t, double hold, double attack, double decay, double sustain, double release);

// Polyblep band-limited sawtooth and square for a phase in [0, 1) and increment dt.
float Saw(double phase, double dt);
float Square(double phase, double dt);

// The instruments a score can name. Each renders one note into a mono buffer.
struct NoteParams {
    double midi = 60;
    double seconds = 0.5;  // how long the note is held
    double velocity = 1.0;
};

// Known instrument names: "pad", "bell", "pluck", "bass", "lead", "flute",
// "musicbox", "kick", "snare", "hat", "shaker", "rim".
bool KnownInstrument(const std::string& name);
// Renders the note (with its release tail) at the rate; the seed varies noise.
std::vector<float> RenderInstrument(const std::string& name, const NoteParams& note, double rate, std::uint32_t seed);

// Stereo reverb (parallel combs into series all-passes per side).
void Reverb(Stereo& buffer, double rate, double wet, double roomSize, double damping);

// Adds mono into stereo at a frame offset with an equal-power pan in [-1, 1],
// wrapping past the end so loops carry their tails into their start.
void MixWrapped(Stereo& out, const std::vector<float>& mono, std::size_t offset, double gain, double pan);

// Scales so that the highest peak is `peak`.
void Normalise(std::vector<float>& mono, double peak);
void Normalise(Stereo& buffer, double peak);

}  // namespace synth
