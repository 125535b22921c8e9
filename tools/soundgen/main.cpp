// soundgen: synthesises the game's 27 sounds at build time.
//
//   soundgen <score folder> <output folder>
//
// Effects and the two gameplay loops are drawn in code (Effects.cpp) and
// written as 16-bit mono WAV; the music is rendered from the text scores in
// the score folder and written as Ogg Vorbis. Each output is named after its
// sound; CMake embeds them as resources 3000 + sound number.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Effects.h"
#include "Score.h"
#include "Writers.h"

namespace {

struct Sound {
    const char* file;   // output file name
    const char* score;  // score file for music, null for effects
};

// In sound-list order: index i becomes resource 3000 + i.
const Sound kSounds[27] = {
    {"gameplay_loop_a.wav", nullptr},
    {"track_1.ogg", "track_1.score"},
    {"title_music.ogg", "title_music.score"},
    {"track_3.ogg", "track_3.score"},
    {"track_4.ogg", "track_4.score"},
    {"gameplay_music.ogg", "gameplay_music.score"},
    {"menu_music.ogg", "menu_music.score"},
    {"track_7.ogg", "track_7.score"},
    {"gameplay_loop_b.wav", nullptr},
    {"track_9.ogg", "track_9.score"},
    {"checkpoint_sound.wav", nullptr},
    {"button_click.wav", nullptr},
    {"firefly_collect.wav", nullptr},
    {"sound_13.wav", nullptr},
    {"sound_14.wav", nullptr},
    {"player_sound_a.wav", nullptr},
    {"player_sound_b.wav", nullptr},
    {"level_goal_sound.wav", nullptr},
    {"sound_18.wav", nullptr},
    {"moonshard_collect.wav", nullptr},
    {"sound_20.wav", nullptr},
    {"speed_boost_sound.wav", nullptr},
    {"player_sound_c.wav", nullptr},
    {"spring_sound.wav", nullptr},
    {"sound_24.wav", nullptr},
    {"sound_25.wav", nullptr},
    {"sound_26.ogg", "sound_26.score"},
};

constexpr int kMusicRate = 44100;
constexpr float kMusicQuality = 0.0f;  // about 64 kbit/s: modest, and small to embed

std::string Make(int index, const std::string& scoreDir, const std::string& outDir) {
    const Sound& s = kSounds[index];
    std::string out = outDir + "/" + s.file;
    if (!s.score) {
        std::vector<float> mono = effects::Make(index);
        if (mono.empty()) return std::string("no effect is drawn for ") + s.file;
        if (!writers::WriteWav(out, mono, effects::kRate)) return "cannot write " + out;
        return {};
    }
    std::string path = scoreDir + "/" + s.score;
    std::ifstream in(path);
    if (!in) return "cannot read " + path;
    std::ostringstream text;
    text << in.rdbuf();
    try {
        synth::Stereo music = score::Render(text.str(), path, kMusicRate);
        if (!writers::WriteVorbis(out, music, kMusicRate, kMusicQuality, 3000 + index)) return "cannot encode " + out;
    } catch (const score::ParseError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: soundgen <score folder> <output folder>\n");
        return 2;
    }
    const std::string scoreDir = argv[1], outDir = argv[2];
    // The sounds are independent: a few workers keep the build quick.
    std::vector<std::string> errors(27);
    unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned w = 0; w < workers; ++w) {
        pool.emplace_back([&, w] {
            for (int i = static_cast<int>(w); i < 27; i += static_cast<int>(workers))
                errors[static_cast<std::size_t>(i)] = Make(i, scoreDir, outDir);
        });
    }
    for (auto& t : pool) t.join();
    int status = 0;
    for (const auto& e : errors) {
        if (!e.empty()) {
            std::fprintf(stderr, "soundgen: %s\n", e.c_str());
            status = 1;
        }
    }
    return status;
}
