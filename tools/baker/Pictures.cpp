#include "Pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

bool Split(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string w;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) return false;
            w = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
        }
        words.push_back(w);
    }
    return true;
}

bool ToInt(const std::string& s, int& v) {
    char* end = nullptr;
    long n = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != 0 || n < 1 || n > 8192) return false;
    v = static_cast<int>(n);
    return true;
}

}  // namespace

bool ReadPictureSources(const std::string& folder, std::vector<PictureSource>& out) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.is_regular_file() && e.path().extension() == ".pic") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    bool ok = true;
    std::set<std::string> names;
    for (const auto& path : files) {
        std::ifstream in(path);
        std::string text;
        int lineNo = 0;
        PictureSource* current = nullptr;
        auto fail = [&](const std::string& why) {
            std::fprintf(stderr, "%s:%d: %s\n", path.string().c_str(), lineNo, why.c_str());
            ok = false;
        };
        while (std::getline(in, text)) {
            ++lineNo;
            std::vector<std::string> words;
            if (!Split(text, words)) {
                fail("unterminated quote");
                continue;
            }
            if (words.empty() || words[0][0] == '#') continue;
            const std::string& cmd = words[0];
            if (cmd == "picture" || cmd == "tiled") {
                PictureSource p;
                p.file = path.string();
                p.line = lineNo;
                p.tiled = cmd == "tiled";
                if (words.size() < 4 || !ToInt(words[2], p.width) || !ToInt(words[3], p.height)) {
                    fail("expected: " + cmd + " NAME WIDTH HEIGHT");
                    continue;
                }
                p.name = words[1];
                for (size_t i = 4; i < words.size(); ++i) {
                    if (words[i] == "alone") {
                        p.alone = true;
                    } else if (words[i] == "loop" && i + 1 < words.size() && ToInt(words[i + 1], p.loop)) {
                        ++i;
                    } else {
                        fail("unknown picture option '" + words[i] + "'");
                    }
                }
                if (p.name.empty() || !names.insert(p.name).second) fail("picture name '" + p.name + "' used twice");
                p.animations.push_back({FrameSource{}});
                out.push_back(std::move(p));
                current = &out.back();
            } else if (!current) {
                fail("'" + cmd + "' before any picture");
            } else if (cmd == "animation") {
                if (current->tiled) fail("a tiled texture has one picture");
                current->animations.push_back({FrameSource{}});
            } else if (cmd == "frame") {
                if (current->tiled) fail("a tiled texture has one picture");
                current->animations.back().push_back(FrameSource{});
            } else {
                current->animations.back().back().commands.push_back({path.string(), lineNo, words});
            }
        }
    }
    // "white" is the first texture record, so a default frame (texture 0) shows it.
    std::stable_partition(out.begin(), out.end(), [](const PictureSource& p) { return p.name == "white"; });
    // The first animation's "frame" lines before any shape make empty frames:
    // drop a leading empty frame so "frame" may open every frame.
    for (PictureSource& p : out) {
        for (auto& a : p.animations) {
            if (a.size() > 1 && a.front().commands.empty()) a.erase(a.begin());
        }
        if (p.animations.size() > 1 && p.animations.front().size() == 1 && p.animations.front()[0].commands.empty()) {
            p.animations.erase(p.animations.begin());
        }
        const size_t frames = p.animations.front().size();
        for (const auto& a : p.animations) {
            if (a.size() != frames) {
                std::fprintf(stderr, "%s:%d: every animation of '%s' needs the same number of frames\n", p.file.c_str(),
                             p.line, p.name.c_str());
                ok = false;
            }
        }
        if (p.loop > static_cast<int>(frames)) {
            std::fprintf(stderr, "%s:%d: loop of '%s' is longer than its animation\n", p.file.c_str(), p.line,
                         p.name.c_str());
            ok = false;
        }
    }
    return ok;
}
