#include "Score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

namespace score {
namespace {

struct Chord {
    int root = 0;                // MIDI pitch class 0..11
    std::vector<int> intervals;  // semitones above the root
};

struct Voice {
    std::string name;
    std::string instrument;
    std::string mode = "notes";  // pad, bass, arp, drum, notes
    double volume = 0.3;
    double pan = 0.0;
    int octave = 4;
    std::vector<std::string> pattern;
    std::vector<std::string> notes;
    int line = 0;
};

struct Event {
    long step;
    long length;
    double midi;
    double velocity;
};

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what) {
    throw ParseError(name + ":" + std::to_string(line) + ": " + what);
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token != "|") out.push_back(token);
    }
    return out;
}

bool ParseChord(const std::string& text, Chord& chord) {
    int note = synth::ParseNote(text.substr(0, 1) + "4");
    if (note < 0) return false;
    std::size_t i = 1;
    if (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
        note += text[i] == '#' ? 1 : -1;
        ++i;
    }
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}},      {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},       {"add9", {0, 4, 7, 14}},
        {"madd9", {0, 3, 7, 14}}, {"dim", {0, 3, 6}},  {"m9", {0, 3, 7, 10, 14}}, {"6", {0, 4, 7, 9}},
    };
    auto found = qualities.find(text.substr(i));
    if (found == qualities.end()) return false;
    chord.root = ((note % 12) + 12) % 12;
    chord.intervals = found->second;
    return true;
}

double Velocity(char c) {
    switch (c) {
        case 'x': return 1.0;
        case 'o': return 0.6;
        case 'g': return 0.32;
        default: return 0.0;
    }
}

class Piece {
public:
    Piece(const std::string& text, const std::string& name) : name(name) { Parse(text); }
    synth::Stereo Render(double rate) const;

private:
    void Parse(const std::string& text);
    void ParseVoice(std::istringstream& in, int line);
    std::vector<Event> EventsOf(const Voice& v) const;
    const Chord& ChordAt(long step) const { return chords[static_cast<std::size_t>(step / chordSteps)]; }

    std::string name;
    double tempo = 90;
    int beats = 4, steps = 2;
    double wet = 0.3, room = 0.7, damping = 0.4;
    std::vector<Chord> chords;  // one per chord slot
    long chordSteps = 8;        // steps per chord slot
    std::vector<Voice> voices;
    long totalSteps = 0;
};

void Piece::Parse(const std::string& text) {
    std::istringstream lines(text);
    std::string raw;
    int line = 0;
    std::vector<std::pair<int, std::string>> chordTokens;
    while (std::getline(lines, raw)) {
        ++line;
        // A comment starts with '#' at the start of a word ("f#5" is a note).
        std::size_t hash = 0;
        while ((hash = raw.find('#', hash)) != std::string::npos && hash > 0 &&
               !std::isspace(static_cast<unsigned char>(raw[hash - 1])))
            ++hash;
        std::string l = raw.substr(0, hash);
        std::istringstream in(l);
        std::string key;
        if (!(in >> key)) continue;
        if (key == "tempo") {
            if (!(in >> tempo) || tempo < 20 || tempo > 300) Fail(name, line, "tempo needs a number from 20 to 300");
        } else if (key == "meter") {
            if (!(in >> beats >> steps) || beats < 1 || beats > 16 || steps < 1 || steps > 8)
                Fail(name, line, "meter needs beats and steps");
        } else if (key == "reverb") {
            if (!(in >> wet >> room >> damping)) Fail(name, line, "reverb needs wet, room and damping");
        } else if (key == "chords") {
            std::string rest;
            std::getline(in, rest);
            for (auto& t : Split(rest)) chordTokens.emplace_back(line, t);
        } else if (key == "voice") {
            ParseVoice(in, line);
        } else if (key.back() == ':') {
            std::string voiceName = key.substr(0, key.size() - 1);
            auto v = std::find_if(voices.begin(), voices.end(), [&](const Voice& x) { return x.name == voiceName; });
            if (v == voices.end()) Fail(name, line, "notes for an unknown voice '" + voiceName + "'");
            std::string rest;
            std::getline(in, rest);
            for (auto& t : Split(rest)) v->notes.push_back(t);
        } else {
            Fail(name, line, "unknown line '" + key + "'");
        }
    }
    if (chordTokens.empty()) Fail(name, line, "no chords");
    // A chord token spans a bar; "Am,F" splits its bar in halves.
    bool halves = std::any_of(chordTokens.begin(), chordTokens.end(),
                              [](auto& t) { return t.second.find(',') != std::string::npos; });
    long barSteps = static_cast<long>(beats) * steps;
    if (halves && barSteps % 2) Fail(name, line, "a bar of odd length cannot be halved");
    chordSteps = halves ? barSteps / 2 : barSteps;
    for (auto& [at, token] : chordTokens) {
        std::vector<std::string> parts;
        std::size_t comma = token.find(',');
        if (comma == std::string::npos) {
            parts = {token};
            if (halves) parts.push_back(token);
        } else {
            parts = {token.substr(0, comma), token.substr(comma + 1)};
        }
        for (auto& p : parts) {
            Chord c;
            if (!ParseChord(p, c)) Fail(name, at, "unknown chord '" + p + "'");
            chords.push_back(c);
        }
    }
    totalSteps = static_cast<long>(chords.size()) * chordSteps;
    for (auto& v : voices) {
        if (v.mode == "notes" && static_cast<long>(v.notes.size()) > totalSteps)
            Fail(name, v.line, "voice '" + v.name + "' is longer than the chords");
        if (v.mode != "notes" && v.mode != "pad" && v.pattern.empty())
            Fail(name, v.line, "voice '" + v.name + "' needs a pattern");
    }
}

void Piece::ParseVoice(std::istringstream& in, int line) {
    Voice v;
    v.line = line;
    if (!(in >> v.name >> v.instrument)) Fail(name, line, "voice needs a name and an instrument");
    if (!synth::KnownInstrument(v.instrument)) Fail(name, line, "unknown instrument '" + v.instrument + "'");
    std::string option;
    while (in >> option) {
        std::size_t eq = option.find('=');
        if (eq == std::string::npos) Fail(name, line, "option '" + option + "' needs a value");
        std::string k = option.substr(0, eq), value = option.substr(eq + 1);
        try {
            if (k == "vol") {
                v.volume = std::stod(value);
            } else if (k == "pan") {
                v.pan = std::stod(value);
            } else if (k == "oct") {
                v.octave = std::stoi(value);
            } else if (k == "mode") {
                if (value != "pad" && value != "bass" && value != "arp" && value != "drum" && value != "notes")
                    Fail(name, line, "unknown mode '" + value + "'");
                v.mode = value;
            } else if (k == "pattern") {
                std::string rest;
                std::getline(in, rest);
                v.pattern = Split(value + " " + rest);
            } else {
                Fail(name, line, "unknown option '" + k + "'");
            }
        } catch (const std::logic_error&) {
            Fail(name, line, "bad value in '" + option + "'");
        }
    }
    voices.push_back(std::move(v));
}

std::vector<Event> Piece::EventsOf(const Voice& v) const {
    std::vector<Event> events;
    auto hold = [&](long step) {
        if (!events.empty() && events.back().step + events.back().length == step) ++events.back().length;
    };
    if (v.mode == "pad") {
        for (std::size_t c = 0; c < chords.size(); ++c) {
            long start = static_cast<long>(c) * chordSteps;
            bool same = c > 0 && chords[c].root == chords[c - 1].root && chords[c].intervals == chords[c - 1].intervals;
            if (same) {
                for (auto& e : events)
                    if (e.step + e.length == start) e.length += chordSteps;
                continue;
            }
            for (int interval : chords[c].intervals) {
                // Voice the chord upwards from the root in the voice's octave.
                events.push_back(
                    {start, chordSteps, static_cast<double>((v.octave + 1) * 12 + chords[c].root + interval), 0.8});
            }
        }
        return events;
    }
    if (v.mode == "notes") {
        for (std::size_t i = 0; i < v.notes.size(); ++i) {
            const std::string& t = v.notes[i];
            long step = static_cast<long>(i);
            if (t == "-") {
                hold(step);
            } else if (t != ".") {
                int midi = synth::ParseNote(t);
                if (midi < 0) Fail(name, v.line, "voice '" + v.name + "': '" + t + "' is not a note");
                events.push_back({step, 1, static_cast<double>(midi), 1.0});
            }
        }
        return events;
    }
    for (long step = 0; step < totalSteps; ++step) {
        const std::string& t = v.pattern[static_cast<std::size_t>(step) % v.pattern.size()];
        if (t == "-") {
            hold(step);
            continue;
        }
        if (t == ".") continue;
        if (v.mode == "drum") {
            double vel = Velocity(t[0]);
            if (vel <= 0 || t.size() != 1) Fail(name, v.line, "voice '" + v.name + "': drum steps are x, o, g, . or -");
            events.push_back({step, 1, 60.0, vel});
            continue;
        }
        int index = 0;
        try {
            index = std::stoi(t);
        } catch (const std::logic_error&) {
            Fail(name, v.line, "voice '" + v.name + "': '" + t + "' is not a number");
        }
        const Chord& chord = ChordAt(step);
        int base = (v.octave + 1) * 12 + chord.root;
        int pitch;
        if (v.mode == "bass") {
            pitch = base + index;  // semitones above the root
        } else {
            int n = static_cast<int>(chord.intervals.size());
            int octave = index >= 0 ? index / n : -((-index + n - 1) / n);
            pitch = base + chord.intervals[static_cast<std::size_t>(index - octave * n)] + 12 * octave;
        }
        events.push_back({step, 1, static_cast<double>(pitch), 1.0});
    }
    return events;
}

synth::Stereo Piece::Render(double rate) const {
    double stepSeconds = 60.0 / tempo / steps;
    auto frameOf = [&](long step) {
        return static_cast<std::size_t>(std::llround(static_cast<double>(step) * stepSeconds * rate));
    };
    synth::Stereo mix(frameOf(totalSteps));
    std::uint32_t seed = 1;
    synth::Noise humanise(0xC0FFEEu);
    for (const Voice& v : voices) {
        for (const Event& e : EventsOf(v)) {
            synth::NoteParams note;
            note.midi = e.midi;
            note.seconds = static_cast<double>(e.length) * stepSeconds * 0.95;
            note.velocity = e.velocity * (1.0 + 0.07 * humanise.Next());
            auto mono = synth::RenderInstrument(v.instrument, note, rate, seed++ * 2654435761u);
            synth::MixWrapped(mix, mono, frameOf(e.step), v.volume, v.pan);
        }
    }
    // The reverb runs over two copies of the loop so its tail reaches the
    // start of the second, which is kept: the loop point stays seamless.
    synth::Stereo twice(mix.Frames() * 2);
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        twice.left[i] = twice.left[i + mix.Frames()] = mix.left[i];
        twice.right[i] = twice.right[i + mix.Frames()] = mix.right[i];
    }
    synth::Reverb(twice, rate, wet, room, damping);
    for (std::size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] = std::tanh(twice.left[i + mix.Frames()]);
        mix.right[i] = std::tanh(twice.right[i + mix.Frames()]);
    }
    synth::Normalise(mix, 0.8);  // headroom for the encoder's overshoot
    return mix;
}

}  // namespace

synth::Stereo Render(const std::string& text, const std::string& name, double rate) {
    return Piece(text, name).Render(rate);
}

}  // namespace score
