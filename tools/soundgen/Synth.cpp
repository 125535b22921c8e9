#include "Synth.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace synth {

void OnePole::SetCutoff(double hz, double rate) { a = static_cast<float>(1.0 - std::exp(-2.0 * kPi * hz / rate)); }

void Svf::Set(double hz, double q, double rate) {
    f = static_cast<float>(2.0 * std::sin(kPi * std::min(hz, rate / 6.5) / rate));
    damp = static_cast<float>(1.0 / std::max(q, 0.5));
}

void Svf::Process(float x) {
    low += f * band;
    high = x - low - damp * band;
    band += f * high;
}

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

int ParseNote(const std::string& text) {
    if (text.size() < 2) return -1;
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (letter < 'a' || letter > 'g') return -1;
    int semitone = base[letter - 'a'];
    std::size_t i = 1;
    if (text[i] == '#') {
        ++semitone;
        ++i;
    } else if (text[i] == 'b' && i + 1 < text.size()) {
        --semitone;
        ++i;
    }
    if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    int octave = text[i] - '0';
    return (octave + 1) * 12 + semitone;
}

float Adsr(double t, double hold, double attack, double decay, double sustain, double release) {
    auto level = [&](double u) {
        if (u < attack) return u / attack;
        if (u < attack + decay) return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < 0) return 0.0f;
    if (t < hold) return static_cast<float>(level(t));
    double r = t - hold;
    if (r >= release) return 0.0f;
    return static_cast<float>(level(hold) * (1.0 - r / release));
}

namespace {
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
}  // namespace

float Saw(double phase, double dt) { return static_cast<float>(2.0 * phase - 1.0 - PolyBlep(phase, dt)); }

float Square(double phase, double dt) {
    double v = phase < 0.5 ? 1.0 : -1.0;
    v += PolyBlep(phase, dt);
    v -= PolyBlep(std::fmod(phase + 0.5, 1.0), dt);
    return static_cast<float>(v);
}

namespace {

using Mono = std::vector<float>;

std::size_t FramesOf(double seconds, double rate) {
    return static_cast<std::size_t>(std::max(0.0, seconds) * rate) + 1;
}

Mono Pad(const NoteParams& n, double rate, std::uint32_t seed) {
    const double release = 1.2;
    Mono out(FramesOf(n.seconds + release, rate));
    double hz = NoteHz(n.midi);
    const double detune[3] = {-0.006, 0.0, 0.0071};
    double phase[3] = {0.0, 0.33, 0.71};
    Noise noise(seed);
    Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        float s = 0;
        for (int k = 0; k < 3; ++k) {
            double dt = hz * (1.0 + detune[k]) / rate;
            s += Saw(phase[k], dt);
            phase[k] += dt;
            if (phase[k] >= 1.0) phase[k] -= 1.0;
        }
        s += 0.02f * noise.Next();
        if (i % 32 == 0) filter.Set(700.0 + 500.0 * std::sin(2.0 * kPi * 0.15 * t) + hz, 0.8, rate);
        filter.Process(s / 3.0f);
        out[i] = filter.low * Adsr(t, n.seconds, 0.6, 0.5, 0.8, release) * static_cast<float>(n.velocity);
    }
    return out;
}

Mono Bell(const NoteParams& n, double rate, double ratio, double decay, double index) {
    double length = std::max(n.seconds, 0.1) + decay * 2.5;
    Mono out(FramesOf(length, rate));
    double hz = NoteHz(n.midi);
    double pc = 0, pm = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double env = std::exp(-t / decay) * std::min(1.0, t / 0.002);
        double mod = std::sin(2.0 * kPi * pm) * index * std::exp(-t / (decay * 0.4));
        double s = std::sin(2.0 * kPi * pc + mod);
        pc += hz / rate;
        pm += hz * ratio / rate;
        pc -= std::floor(pc);
        pm -= std::floor(pm);
        out[i] = static_cast<float>(s * env * n.velocity);
    }
    return out;
}

Mono MusicBox(const NoteParams& n, double rate) {
    Mono out(FramesOf(1.6, rate));
    double hz = NoteHz(n.midi);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double s = std::sin(2.0 * kPi * hz * t) * std::exp(-t / 0.5) +
                   0.25 * std::sin(2.0 * kPi * hz * 4.02 * t) * std::exp(-t / 0.12) +
                   0.1 * std::sin(2.0 * kPi * hz * 6.9 * t) * std::exp(-t / 0.05);
        out[i] = static_cast<float>(s * std::min(1.0, t / 0.001) * n.velocity);
    }
    return out;
}

Mono Pluck(const NoteParams& n, double rate, std::uint32_t seed) {
    // Karplus-Strong string with a fractional delay, so high notes stay in tune.
    const double release = 0.08;
    double length = std::min(n.seconds, 1.5) + release;
    Mono out(FramesOf(length + 0.05, rate));
    double hz = NoteHz(n.midi);
    double period = std::max(2.0, rate / hz - 0.5);  // the two-point average delays by half a sample
    std::size_t burst = static_cast<std::size_t>(period);
    Noise noise(seed);
    OnePole soften;
    soften.SetCutoff(hz * 6.0, rate);
    auto at = [&](double x) -> float {  // the string's past output, read between samples
        if (x < 0) return 0.0f;
        std::size_t i = static_cast<std::size_t>(x);
        float f = static_cast<float>(x - static_cast<double>(i));
        float a = out[i];
        float b = i + 1 < out.size() ? out[i + 1] : a;
        return a + (b - a) * f;
    };
    for (std::size_t i = 0; i < out.size(); ++i) {
        double x = static_cast<double>(i);
        float excite = i < burst ? soften.Process(noise.Next()) : 0.0f;
        out[i] = excite + 0.996f * 0.5f * (at(x - period) + at(x - period - 1.0));
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double gate = t < length - release ? 1.0 : std::max(0.0, 1.0 - (t - (length - release)) / release);
        out[i] = static_cast<float>(out[i] * gate * n.velocity);
    }
    return out;
}

Mono Bass(const NoteParams& n, double rate) {
    const double release = 0.12;
    Mono out(FramesOf(n.seconds + release, rate));
    double hz = NoteHz(n.midi);
    double phase = 0;
    OnePole lp;
    lp.SetCutoff(380.0, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double dt = hz / rate;
        double s = std::sin(2.0 * kPi * phase) + 0.35 * lp.Process(Saw(phase, dt));
        phase += dt;
        phase -= std::floor(phase);
        out[i] = static_cast<float>(s * Adsr(t, n.seconds, 0.008, 0.3, 0.7, release) * n.velocity);
    }
    return out;
}

Mono Lead(const NoteParams& n, double rate, bool breathy, std::uint32_t seed) {
    const double release = breathy ? 0.25 : 0.18;
    Mono out(FramesOf(n.seconds + release, rate));
    double hz = NoteHz(n.midi);
    double phase = 0;
    OnePole lp;
    lp.SetCutoff(breathy ? 1800.0 : 2400.0, rate);
    Svf breath;
    breath.Set(hz * 2.0, 2.0, rate);
    Noise noise(seed);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double vib = 1.0 + 0.006 * std::min(1.0, t / 0.35) * std::sin(2.0 * kPi * 5.2 * t);
        double dt = hz * vib / rate;
        double s;
        if (breathy) {
            breath.Process(noise.Next());
            s = std::sin(2.0 * kPi * phase) + 0.2 * std::sin(4.0 * kPi * phase) + 0.25 * breath.band;
        } else {
            double tri = 1.0 - 4.0 * std::fabs(phase - 0.5);
            s = 0.6 * tri + 0.25 * Square(phase, dt);
        }
        phase += dt;
        phase -= std::floor(phase);
        out[i] = static_cast<float>(lp.Process(static_cast<float>(s)) *
                                    Adsr(t, n.seconds, breathy ? 0.06 : 0.02, 0.2, 0.75, release) * n.velocity);
    }
    return out;
}

Mono Kick(const NoteParams& n, double rate) {
    Mono out(FramesOf(0.45, rate));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double hz = 45.0 + 85.0 * std::exp(-t / 0.04);
        phase += hz / rate;
        double s = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.16) * std::min(1.0, t / 0.002);
        out[i] = static_cast<float>(s * n.velocity);
    }
    return out;
}

Mono NoiseHit(const NoteParams& n, double rate, std::uint32_t seed, double length, double decay, double centre,
              double q, double tone, double toneHz) {
    Mono out(FramesOf(length, rate));
    Noise noise(seed);
    Svf filter;
    filter.Set(centre, q, rate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        filter.Process(noise.Next());
        double env = std::exp(-t / decay) * std::min(1.0, t / 0.003);
        double s = filter.band + tone * std::sin(2.0 * kPi * toneHz * t) * std::exp(-t / 0.05);
        out[i] = static_cast<float>(s * env * n.velocity);
    }
    return out;
}

}  // namespace

bool KnownInstrument(const std::string& name) {
    static const char* names[] = {"pad",      "bell", "pluck", "bass", "lead",   "flute",
                                  "musicbox", "kick", "snare", "hat",  "shaker", "rim"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return name == n; });
}

std::vector<float> RenderInstrument(const std::string& name, const NoteParams& note, double rate, std::uint32_t seed) {
    if (name == "pad") return Pad(note, rate, seed);
    if (name == "bell") return Bell(note, rate, 3.5, 0.9, 2.2);
    if (name == "pluck") return Pluck(note, rate, seed);
    if (name == "bass") return Bass(note, rate);
    if (name == "lead") return Lead(note, rate, false, seed);
    if (name == "flute") return Lead(note, rate, true, seed);
    if (name == "musicbox") return MusicBox(note, rate);
    if (name == "kick") return Kick(note, rate);
    if (name == "snare") return NoiseHit(note, rate, seed, 0.3, 0.07, 2500.0, 0.7, 0.5, 190.0);
    if (name == "hat") return NoiseHit(note, rate, seed, 0.12, 0.025, 8000.0, 1.5, 0.0, 0.0);
    if (name == "shaker") return NoiseHit(note, rate, seed, 0.12, 0.03, 5500.0, 1.0, 0.0, 0.0);
    if (name == "rim") return NoiseHit(note, rate, seed, 0.08, 0.012, 1800.0, 4.0, 0.6, 820.0);
    return {};
}

namespace {

class Comb {
public:
    explicit Comb(std::size_t size) : buffer(size, 0.0f) {}
    float Process(float x, float feedback, float damp) {
        float y = buffer[pos];
        store = y * (1.0f - damp) + store * damp;
        buffer[pos] = x + store * feedback;
        pos = (pos + 1) % buffer.size();
        return y;
    }

private:
    std::vector<float> buffer;
    std::size_t pos = 0;
    float store = 0;
};

class AllPass {
public:
    explicit AllPass(std::size_t size) : buffer(size, 0.0f) {}
    float Process(float x) {
        float b = buffer[pos];
        float y = -x + b;
        buffer[pos] = x + b * 0.5f;
        pos = (pos + 1) % buffer.size();
        return y;
    }

private:
    std::vector<float> buffer;
    std::size_t pos = 0;
};

void ReverbSide(std::vector<float>& io, double rate, double wet, double roomSize, double damping, int spread) {
    const int combs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int passes[] = {556, 441, 341, 225};
    double scale = rate / 44100.0;
    std::vector<Comb> c;
    std::vector<AllPass> a;
    for (int n : combs) c.emplace_back(static_cast<std::size_t>((n + spread) * scale));
    for (int n : passes) a.emplace_back(static_cast<std::size_t>((n + spread) * scale));
    float feedback = static_cast<float>(0.7 + 0.28 * roomSize);
    float damp = static_cast<float>(damping);
    for (float& x : io) {
        float in = x * 0.015f;
        float sum = 0;
        for (auto& comb : c) sum += comb.Process(in, feedback, damp);
        for (auto& pass : a) sum = pass.Process(sum);
        x = static_cast<float>(x * (1.0 - wet * 0.5) + sum * wet * 3.0);
    }
}

}  // namespace

void Reverb(Stereo& buffer, double rate, double wet, double roomSize, double damping) {
    ReverbSide(buffer.left, rate, wet, roomSize, damping, 0);
    ReverbSide(buffer.right, rate, wet, roomSize, damping, 23);
}

void MixWrapped(Stereo& out, const std::vector<float>& mono, std::size_t offset, double gain, double pan) {
    std::size_t frames = out.Frames();
    if (frames == 0) return;
    double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    float gl = static_cast<float>(gain * std::cos(angle) * std::sqrt(2.0));
    float gr = static_cast<float>(gain * std::sin(angle) * std::sqrt(2.0));
    std::size_t at = offset % frames;
    for (float s : mono) {
        out.left[at] += s * gl;
        out.right[at] += s * gr;
        if (++at == frames) at = 0;
    }
}

void Normalise(std::vector<float>& mono, double peak) {
    float top = 0;
    for (float v : mono) top = std::max(top, std::fabs(v));
    if (top <= 0) return;
    float k = static_cast<float>(peak / top);
    for (float& v : mono) v *= k;
}

void Normalise(Stereo& buffer, double peak) {
    float top = 0;
    for (float v : buffer.left) top = std::max(top, std::fabs(v));
    for (float v : buffer.right) top = std::max(top, std::fabs(v));
    if (top <= 0) return;
    float k = static_cast<float>(peak / top);
    for (float& v : buffer.left) v *= k;
    for (float& v : buffer.right) v *= k;
}

}  // namespace synth
