#include "Effects.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Synth.h"

namespace effects {
namespace {

using synth::kPi;
using Mono = std::vector<float>;
constexpr double R = kRate;

Mono Make(double seconds) { return Mono(static_cast<std::size_t>(seconds * R) + 1, 0.0f); }
double T(std::size_t i) { return static_cast<double>(i) / R; }

// Adds `part` into `out` from `at` seconds; with wrap, what runs past the end
// continues at the start (used by the loops).
void Add(Mono& out, const Mono& part, double at, double gain, bool wrap = false) {
    std::size_t start = static_cast<std::size_t>(at * R);
    for (std::size_t i = 0; i < part.size(); ++i) {
        std::size_t k = start + i;
        if (k >= out.size()) {
            if (!wrap) break;
            k %= out.size();
        }
        out[k] += static_cast<float>(part[i] * gain);
    }
}

// A tone whose frequency follows hz(t), shaped by env(t); wave 0 sine, 1 triangle, 2 soft square.
Mono Tone(double seconds, const std::function<double(double)>& hz, const std::function<double(double)>& env,
          int wave = 0) {
    Mono out = Make(seconds);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = T(i);
        double s;
        if (wave == 1) {
            s = 1.0 - 4.0 * std::fabs(phase - 0.5);
        } else if (wave == 2) {
            s = std::tanh(3.0 * std::sin(2.0 * kPi * phase)) * 0.8;
        } else {
            s = std::sin(2.0 * kPi * phase);
        }
        out[i] = static_cast<float>(s * env(t));
        phase += hz(t) / R;
        phase -= std::floor(phase);
    }
    return out;
}

// Noise through a band-pass whose centre follows hz(t), shaped by env(t).
Mono Hiss(double seconds, std::uint32_t seed, const std::function<double(double)>& hz, double q,
          const std::function<double(double)>& env, bool lowPass = false) {
    Mono out = Make(seconds);
    synth::Noise noise(seed);
    synth::Svf filter;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = T(i);
        if (i % 16 == 0) filter.Set(hz(t), q, R);
        filter.Process(noise.Next());
        out[i] = static_cast<float>((lowPass ? filter.low : filter.band) * env(t));
    }
    return out;
}

double Decay(double t, double tau, double attack = 0.002) { return std::exp(-t / tau) * std::min(1.0, t / attack); }

Mono Note(const char* instrument, double midi, double seconds, double velocity = 1.0, std::uint32_t seed = 7) {
    synth::NoteParams n;
    n.midi = midi;
    n.seconds = seconds;
    n.velocity = velocity;
    return synth::RenderInstrument(instrument, n, R, seed);
}

void FadeOut(Mono& m, double seconds) {
    std::size_t n = std::min(m.size(), static_cast<std::size_t>(seconds * R));
    for (std::size_t i = 0; i < n; ++i) m[m.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
}

Mono Finish(Mono m, double peak) {
    FadeOut(m, std::min(0.3, 0.25 * static_cast<double>(m.size()) / R));  // tails end softly, never with a click
    synth::Normalise(m, peak);
    return m;
}

// --- the effects -------------------------------------------------------------

Mono Checkpoint() {  // a rising bell arpeggio with a soft shimmer: a light is lit
    Mono out = Make(2.2);
    const double notes[] = {76, 80, 83, 88};  // E5 G#5 B5 E6
    for (int i = 0; i < 4; ++i) Add(out, Note("bell", notes[i], 0.3, 0.9), 0.07 * i, 1.0);
    Add(out, Note("musicbox", 95, 0.3, 0.5), 0.3, 0.4);
    return Finish(out, 0.8);
}

Mono ButtonClick() {  // a crisp, short wooden tick
    Mono out = Tone(
        0.05, [](double) { return 1650.0; }, [](double t) { return Decay(t, 0.007, 0.0005); });
    Add(out,
        Tone(
            0.05, [](double) { return 820.0; }, [](double t) { return Decay(t, 0.012, 0.0005); }),
        0.0, 0.6);
    Add(out,
        Hiss(
            0.01, 3, [](double) { return 4000.0; }, 1.0, [](double t) { return Decay(t, 0.002, 0.0002); }),
        0.0, 0.8);
    return Finish(out, 0.7);
}

Mono FireflyCollect() {  // a quick upward twinkle
    Mono out = Make(0.9);
    const double notes[] = {91, 95, 98, 103};  // G6 B6 D7 G7
    for (int i = 0; i < 4; ++i) Add(out, Note("musicbox", notes[i], 0.1, 0.8), 0.045 * i, 1.0);
    return Finish(out, 0.75);
}

Mono Explosion() {  // a thump, a roar that darkens, and crackles
    Mono out = Hiss(
        1.4, 11, [](double t) { return 200.0 + 2800.0 * std::exp(-t / 0.18); }, 0.7,
        [](double t) { return Decay(t, 0.35, 0.004); }, true);
    Add(out,
        Tone(
            0.6, [](double t) { return 40.0 + 60.0 * std::exp(-t / 0.08); },
            [](double t) { return Decay(t, 0.2, 0.003); }),
        0.0, 1.2);
    synth::Noise pick(99);
    for (int i = 0; i < 18; ++i) {
        double at = 0.05 + 0.6 * (pick.Next() * 0.5 + 0.5) * (pick.Next() * 0.5 + 0.5);
        Add(out,
            Hiss(
                0.03, 100u + static_cast<unsigned>(i), [](double) { return 1800.0; }, 2.0,
                [](double t) { return Decay(t, 0.006, 0.0005); }),
            at, 0.5 * std::exp(-at / 0.4));
    }
    return Finish(out, 0.85);
}

Mono Crumble(double seconds, std::uint32_t seed, int grains, bool wrap) {  // falling bits of earth and stone
    Mono out = Make(seconds);
    synth::Noise pick(seed);
    for (int i = 0; i < grains; ++i) {
        double at = (pick.Next() * 0.5 + 0.5) * (wrap ? seconds : seconds * 0.6);
        double centre = 350.0 + 1400.0 * (pick.Next() * 0.5 + 0.5);
        double tau = 0.01 + 0.025 * (pick.Next() * 0.5 + 0.5);
        double gain = 0.4 + 0.6 * (pick.Next() * 0.5 + 0.5);
        if (!wrap) gain *= std::exp(-at / (seconds * 0.5));
        Add(out,
            Hiss(
                0.15, seed + 17u * static_cast<unsigned>(i), [centre](double) { return centre; }, 1.6,
                [tau](double t) { return Decay(t, tau, 0.001); }),
            at, gain, wrap);
    }
    return out;
}

Mono BreakTerrain() {
    Mono out = Crumble(0.6, 21, 14, false);
    Add(out,
        Tone(
            0.25, [](double t) { return 70.0 + 50.0 * std::exp(-t / 0.05); }, [](double t) { return Decay(t, 0.06); }),
        0.0, 1.0);
    return Finish(out, 0.8);
}

Mono Jump() {  // a light upward sweep
    Mono out = Tone(
        0.22, [](double t) { return 260.0 * std::pow(2.8, std::min(t / 0.16, 1.0)); },
        [](double t) { return Decay(t, 0.07, 0.004); }, 2);
    synth::OnePole soften;
    soften.SetCutoff(2200.0, R);
    for (float& s : out) s = soften.Process(s);
    Add(out,
        Hiss(
            0.08, 5, [](double) { return 3000.0; }, 0.8, [](double t) { return Decay(t, 0.02, 0.002); }),
        0.0, 0.25);
    return Finish(out, 0.7);
}

Mono Land() {  // a soft thud on grass
    Mono out = Tone(
        0.2, [](double t) { return 55.0 + 70.0 * std::exp(-t / 0.03); },
        [](double t) { return Decay(t, 0.045, 0.001); });
    Add(out,
        Hiss(
            0.12, 9, [](double) { return 900.0; }, 0.7, [](double t) { return Decay(t, 0.025, 0.001); }, true),
        0.0, 0.7);
    return Finish(out, 0.7);
}

Mono LevelGoal() {  // a small fanfare: arpeggio up to a held, ringing major chord
    Mono out = Make(2.9);
    const double arp[] = {72, 76, 79, 84};  // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i) Add(out, Note("lead", arp[i], 0.1, 0.8), 0.11 * i, 0.7);
    for (double n : {72.0, 76.0, 79.0, 84.0}) Add(out, Note("bell", n, 0.8, 0.6), 0.44, 0.6);
    for (double n : {60.0, 64.0, 67.0}) Add(out, Note("pad", n, 1.1, 0.8), 0.44, 0.9);
    Add(out, Note("lead", 88, 0.9, 0.9), 0.44, 0.6);
    return Finish(out, 0.85);
}

Mono MenuHover() {  // a soft, higher blip for moving between buttons
    Mono out = Tone(
        0.07, [](double t) { return 1150.0 + 900.0 * t; }, [](double t) { return Decay(t, 0.015, 0.001); }, 1);
    return Finish(out, 0.45);
}

Mono MoonshardCollect() {  // a clear crystal ding
    Mono out = Make(1.8);
    Add(out, Note("bell", 93, 0.2, 1.0), 0.0, 1.0);    // A6
    Add(out, Note("bell", 100, 0.2, 0.7), 0.06, 0.7);  // E7
    Add(out, Note("musicbox", 105, 0.2, 0.5), 0.12, 0.4);
    return Finish(out, 0.8);
}

Mono Whoosh() {  // air rushing past
    Mono out = Hiss(
        0.4, 13, [](double t) { return 500.0 + 2400.0 * std::sin(kPi * std::min(t / 0.38, 1.0)); }, 1.2,
        [](double t) { return std::pow(std::sin(kPi * std::min(t / 0.4, 1.0)), 2.0); });
    return Finish(out, 0.7);
}

Mono SpeedBoost() {  // a rising, fluttering zap
    Mono out = Make(0.7);
    Mono zap = Tone(
        0.7, [](double t) { return 180.0 * std::pow(7.0, std::min(t / 0.5, 1.0)); },
        [](double t) { return Decay(t, 0.25, 0.01) * (0.6 + 0.4 * std::sin(2.0 * kPi * 28.0 * t)); }, 2);
    synth::OnePole soften;
    soften.SetCutoff(3000.0, R);
    for (float& s : zap) s = soften.Process(s);
    Add(out, zap, 0.0, 1.0);
    Add(out,
        Hiss(
            0.6, 17, [](double t) { return 1500.0 + 6000.0 * t; }, 2.0, [](double t) { return Decay(t, 0.2, 0.05); }),
        0.0, 0.4);
    return Finish(out, 0.75);
}

Mono SpikeDeath() {  // a wet splat and a falling wail
    Mono out = Hiss(
        0.5, 23, [](double t) { return 300.0 + 2500.0 * std::exp(-t / 0.05); }, 0.9,
        [](double t) { return Decay(t, 0.09, 0.001); }, true);
    Add(out,
        Tone(
            0.55,
            [](double t) { return 520.0 * std::pow(0.18, t / 0.5) * (1.0 + 0.05 * std::sin(2.0 * kPi * 22.0 * t)); },
            [](double t) { return Decay(t, 0.18, 0.01); }, 2),
        0.02, 0.6);
    return Finish(out, 0.8);
}

Mono Spring() {  // a boing: a wobbling rise
    Mono out = Tone(
        0.6,
        [](double t) {
            return (190.0 + 230.0 * std::min(t / 0.08, 1.0)) *
                   (1.0 + 0.09 * std::exp(-t / 0.2) * std::sin(2.0 * kPi * 17.0 * t));
        },
        [](double t) { return Decay(t, 0.16, 0.002); }, 1);
    return Finish(out, 0.75);
}

Mono MenuBack() {  // two falling blips
    Mono out = Make(0.2);
    Add(out,
        Tone(
            0.08, [](double) { return 880.0; }, [](double t) { return Decay(t, 0.02, 0.001); }, 1),
        0.0, 1.0);
    Add(out,
        Tone(
            0.1, [](double) { return 660.0; }, [](double t) { return Decay(t, 0.03, 0.001); }, 1),
        0.07, 1.0);
    return Finish(out, 0.5);
}

Mono Appear() {  // a shimmering upward glide ending in a bell
    Mono out = Make(2.0);
    for (int k = 0; k < 4; ++k) {
        double base = 300.0 * (1.0 + 0.5 * k);
        Add(out,
            Tone(
                0.6, [base](double t) { return base * std::pow(3.0, t / 0.6); },
                [k](double t) {
                    return std::sin(kPi * std::min(t / 0.6, 1.0)) * (0.6 + 0.4 * std::sin(2.0 * kPi * (9.0 + k) * t));
                }),
            0.0, 0.35);
    }
    Add(out, Note("bell", 88, 0.3, 0.7), 0.55, 0.8);
    return Finish(out, 0.75);
}

// --- the loops (seamless: every part that runs past the end wraps to the start)

Mono BreakingLoop() {  // a steady rumble of crumbling earth
    const double seconds = 2.0;
    Mono out = Crumble(seconds, 31, 70, true);
    // A low rumble, filtered over two turns of the loop so that it joins up:
    // the second turn, as long as the loop, is kept. Its final sample is left
    // silent, as the loop has always been made.
    Mono noise(2 * out.size(), 0.0f);
    synth::Noise n(37);
    synth::Svf filter;
    filter.Set(110.0, 0.8, R);
    for (std::size_t i = 0; i + 1 < noise.size(); ++i) {
        filter.Process(n.Next());
        noise[i] = filter.low;
    }
    Mono rumble(noise.begin() + static_cast<long>(out.size()), noise.begin() + static_cast<long>(2 * out.size()));
    synth::Normalise(rumble, 1.0);
    Add(out, rumble, 0.0, 0.5);
    synth::Normalise(out, 0.6);
    return out;
}

Mono RunningLoop() {  // two footfalls on grass at a running pace (at the native rate)
    const double seconds = 0.64;
    Mono out = Make(seconds);
    out.pop_back();  // exactly seconds × rate frames, so the cadence is even
    for (int step = 0; step < 2; ++step) {
        double at = step * seconds / 2;
        double pitch = step == 0 ? 1.0 : 0.88;
        Mono thud = Tone(
            0.12, [pitch](double t) { return pitch * (70.0 + 60.0 * std::exp(-t / 0.02)); },
            [](double t) { return Decay(t, 0.03, 0.001); });
        Mono rustle = Hiss(
            0.12, 41u + static_cast<unsigned>(step), [pitch](double) { return pitch * 2600.0; }, 0.9,
            [](double t) { return Decay(t, 0.035, 0.003); });
        Add(out, thud, at, 1.0, true);
        Add(out, rustle, at, 0.5, true);
    }
    synth::Normalise(out, 0.7);
    return out;
}

}  // namespace

std::vector<float> Make(int sound) {
    switch (sound) {
        case 0: return BreakingLoop();
        case 8: return RunningLoop();
        case 10: return Checkpoint();
        case 11: return ButtonClick();
        case 12: return FireflyCollect();
        case 13: return Explosion();
        case 14: return BreakTerrain();
        case 15: return Jump();
        case 16: return Land();
        case 17: return LevelGoal();
        case 18: return MenuHover();
        case 19: return MoonshardCollect();
        case 20: return Whoosh();
        case 21: return SpeedBoost();
        case 22: return SpikeDeath();
        case 23: return Spring();
        case 24: return MenuBack();
        case 25: return Appear();
        default: return {};
    }
}

}  // namespace effects
