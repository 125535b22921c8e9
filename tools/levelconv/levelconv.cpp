// levelconv: turns a level drawn as text into the bytes of a level file.
//
//   levelconv <grid.txt> <out.lvl> <width> <height>
//
// The text holds one line per row, the top row first, and one character per
// cell (legend in resources/levels/README.md). The level file holds the width,
// the height, the cells from the bottom row up and the "finished" flag, each a
// 32-bit little-endian value. Built-in levels are shipped as finished, so the
// flag is always 1.
//
// Any fault in the text stops the build with "file:line:column: message" on
// stderr and a non-zero exit, and no output file is left behind.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kStart = 101;
constexpr int kGoal = 102;

// Cell code of a character, or -1 for a character outside the legend.
int CellCode(char c) {
    switch (c) {
        case '.': return 0;    // empty
        case '#': return 1;    // grass
        case '%': return 2;    // dirt
        case '^': return 3;    // spikes pointing up
        case '>': return 4;    // spikes pointing right
        case 'v': return 5;    // spikes pointing down
        case '<': return 6;    // spikes pointing left
        case 'B': return 7;    // breakable
        case 'x': return 8;    // already broken
        case 'f': return 100;  // fireflies
        case 'S': return 101;  // level start
        case 'G': return 102;  // level goal
        case 'C': return 103;  // checkpoint
        case 'T': return 104;  // spring
        case 'R': return 105;  // spring throwing to the right
        case 'L': return 106;  // spring throwing to the left
        case '*': return 107;  // speed boost
        case 'm': return 108;  // moon shard
        default: return -1;
    }
}

struct Failure {
    std::string text;
};

std::string Where(const std::string& file, int line, int column) {
    std::ostringstream s;
    s << file;
    if (line > 0) s << ':' << line;
    if (column > 0) s << ':' << column;
    return s.str();
}

[[noreturn]] void Fail(const std::string& file, int line, int column, const std::string& message) {
    throw Failure{Where(file, line, column) + ": error: " + message};
}

std::string Printable(char c) {
    if (c >= 0x20 && c < 0x7F) return std::string("'") + c + "'";
    char buf[16];
    std::snprintf(buf, sizeof buf, "byte 0x%02X", static_cast<unsigned char>(c));
    return buf;
}

// Splits the text into lines. A final newline ends the last line rather than
// starting an empty one; a carriage return before a newline is dropped so
// grids saved by Windows editors read the same.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (char c : text) {
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
            open = false;
        } else {
            current += c;
            open = true;
        }
    }
    if (open) {
        if (!current.empty() && current.back() == '\r') current.pop_back();
        lines.push_back(current);
    }
    return lines;
}

// The cells of the grid, row 0 (the bottom row, the last line) first.
std::vector<int32_t> Parse(const std::string& file, const std::string& text, int width, int height) {
    std::vector<std::string> lines = SplitLines(text);
    // Row widths first, so a mis-sized line is reported before what is on it.
    for (size_t i = 0; i < lines.size() && i < static_cast<size_t>(height); ++i) {
        int length = static_cast<int>(lines[i].size());
        if (length != width) {
            std::ostringstream s;
            s << "row is " << length << " characters wide, the level is " << width << " wide";
            Fail(file, static_cast<int>(i) + 1, length < width ? length + 1 : width + 1, s.str());
        }
    }
    if (static_cast<int>(lines.size()) != height) {
        std::ostringstream s;
        s << "the grid has " << lines.size() << " rows, the level is " << height << " high";
        int line = static_cast<int>(lines.size()) < height ? static_cast<int>(lines.size()) + 1 : height + 1;
        Fail(file, line, 0, s.str());
    }

    std::vector<int32_t> cells(static_cast<size_t>(width) * static_cast<size_t>(height));
    int startLine = 0, startColumn = 0, goals = 0;
    for (int i = 0; i < height; ++i) {
        int row = height - 1 - i;
        for (int x = 0; x < width; ++x) {
            char c = lines[i][x];
            int code = CellCode(c);
            if (code < 0) Fail(file, i + 1, x + 1, "unknown cell character " + Printable(c));
            if (code == kStart) {
                if (startLine != 0) {
                    std::ostringstream s;
                    s << "second level start 'S' (the first is at line " << startLine << ", column " << startColumn
                      << "); a level has exactly one";
                    Fail(file, i + 1, x + 1, s.str());
                }
                startLine = i + 1;
                startColumn = x + 1;
            }
            if (code == kGoal) ++goals;
            cells[static_cast<size_t>(row) * width + x] = code;
        }
    }
    if (startLine == 0) Fail(file, 0, 0, "no level start 'S'; a level has exactly one");
    if (goals == 0) Fail(file, 0, 0, "no level goal 'G'; a level needs at least one");
    return cells;
}

void PutValue(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string LevelBytes(const std::vector<int32_t>& cells, int width, int height) {
    std::string out;
    out.reserve(12 + 4 * cells.size());
    PutValue(out, static_cast<uint32_t>(width));
    PutValue(out, static_cast<uint32_t>(height));
    for (int32_t v : cells) PutValue(out, static_cast<uint32_t>(v));
    PutValue(out, 1);
    return out;
}

int ParseSize(const char* text, const char* what) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < 1 || v > 65536) {
        throw Failure{std::string("levelconv: error: ") + what + " '" + text + "' is not a number from 1 to 65536"};
    }
    return static_cast<int>(v);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: levelconv <grid.txt> <out.lvl> <width> <height>\n";
        return 2;
    }
    const std::string in = argv[1];
    const std::string out = argv[2];
    try {
        int width = ParseSize(argv[3], "width");
        int height = ParseSize(argv[4], "height");
        std::ifstream file(in, std::ios::binary);
        if (!file) Fail(in, 0, 0, std::string("cannot open: ") + std::strerror(errno));
        std::ostringstream text;
        text << file.rdbuf();
        std::string bytes = LevelBytes(Parse(in, text.str(), width, height), width, height);

        // Written under a temporary name and renamed, so an interrupted build
        // never leaves a short file that looks up to date.
        std::string temp = out + ".part";
        {
            std::ofstream o(temp, std::ios::binary | std::ios::trunc);
            o.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            o.close();
            if (!o) {
                std::remove(temp.c_str());
                throw Failure{out + ": error: cannot write the level file"};
            }
        }
        if (std::rename(temp.c_str(), out.c_str()) != 0) {
            std::remove(temp.c_str());
            throw Failure{out + ": error: cannot write the level file: " + std::strerror(errno)};
        }
    } catch (const Failure& f) {
        std::remove(out.c_str());
        std::cerr << f.text << '\n';
        return 1;
    }
    return 0;
}
