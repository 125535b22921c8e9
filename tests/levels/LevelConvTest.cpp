// The level converter that the build runs on every built-in grid: the bytes it
// writes, and the message that stops the build for each kind of bad grid.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kTool = std::string(GF_BINARY_DIR) + "/tools/levelconv/levelconv";

class LevelConv : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/gf-levelconv-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) std::perror("rm");
    }

    std::string Write(const std::string& name, const std::string& text) {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs the converter; its stderr goes to output. Answers the exit status.
    int Convert(const std::string& grid, const std::string& out, int width, int height, std::string* output) {
        std::ostringstream cmd;
        cmd << "'" << kTool << "' '" << grid << "' '" << out << "' " << width << ' ' << height << " 2>&1";
        FILE* p = popen(cmd.str().c_str(), "r");
        if (!p) return -1;
        char buf[512];
        output->clear();
        while (size_t n = fread(buf, 1, sizeof buf, p)) output->append(buf, n);
        int status = pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string dir;
};

std::string Le(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

TEST_F(LevelConv, WritesHeaderCellsFromTheBottomRowUpAndTheFinishedFlag) {
    // The last line is row 0, so the file starts with "%TG" and ends with "S.m".
    std::string grid = Write("ok.txt", "S.m\r\n%TG\n");
    std::string out = dir + "/ok.lvl";
    std::string output;
    ASSERT_EQ(Convert(grid, out, 3, 2, &output), 0) << output;
    EXPECT_EQ(output, "");
    std::string expected = Le(3) + Le(2) + Le(2) + Le(104) + Le(102) + Le(101) + Le(0) + Le(108) + Le(1);
    EXPECT_EQ(Read(out), expected);
}

TEST_F(LevelConv, EveryLegendCharacterHasItsCode) {
    std::string grid = Write("all.txt", ".#%^>v<Bxf\nSGCTRL*mG.\n");
    std::string out = dir + "/all.lvl";
    std::string output;
    ASSERT_EQ(Convert(grid, out, 10, 2, &output), 0) << output;
    std::string bytes = Read(out);
    ASSERT_EQ(bytes.size(), 12u + 4 * 20);
    const uint32_t bottom[] = {101, 102, 103, 104, 105, 106, 107, 108, 102, 0};
    const uint32_t top[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 100};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(bytes.substr(8 + 4 * i, 4), Le(bottom[i])) << i;
        EXPECT_EQ(bytes.substr(48 + 4 * i, 4), Le(top[i])) << i;
    }
}

struct BadGrid {
    const char* what;
    const char* text;
    int width, height;
    const char* message;  // after the file name
};

const BadGrid kBadGrids[] = {
    {"short row", "S.G\n%%\n%%%\n", 3, 3, ":2:3: error: row is 2 characters wide, the level is 3 wide"},
    {"long row", "S.G\n%%%%\n%%%\n", 3, 3, ":2:4: error: row is 4 characters wide, the level is 3 wide"},
    {"missing row", "S.G\n%%%\n", 3, 3, ":3: error: the grid has 2 rows, the level is 3 high"},
    {"extra row", "S.G\n%%%\n%%%\n%%%\n", 3, 3, ":4: error: the grid has 4 rows, the level is 3 high"},
    {"blank line at the end", "S.G\n%%%\n\n", 3, 2, ":3: error: the grid has 3 rows, the level is 2 high"},
    {"unknown character", "S.G\n%Q%\n", 3, 2, ":2:2: error: unknown cell character 'Q'"},
    {"tab", "S.G\n%\t%\n", 3, 2, ":2:2: error: unknown cell character byte 0x09"},
    {"no start", "..G\n%%%\n", 3, 2, ": error: no level start 'S'; a level has exactly one"},
    {"two starts", "S.G\n%S%\n", 3, 2,
     ":2:2: error: second level start 'S' (the first is at line 1, column 1); a level has exactly one"},
    {"no goal", "S..\n%%%\n", 3, 2, ": error: no level goal 'G'; a level needs at least one"},
    {"empty file", "", 3, 2, ":1: error: the grid has 0 rows, the level is 2 high"},
};

TEST_F(LevelConv, BadGridsStopTheBuildWithFileLineAndColumn) {
    for (const BadGrid& bad : kBadGrids) {
        SCOPED_TRACE(bad.what);
        std::string grid = Write("bad.txt", bad.text);
        std::string out = dir + "/bad.lvl";
        Write("bad.lvl", "stale output of an earlier run");
        std::string output;
        EXPECT_EQ(Convert(grid, out, bad.width, bad.height, &output), 1);
        EXPECT_EQ(output, grid + bad.message + "\n");
        // A failed conversion leaves nothing the build could take for up to date.
        EXPECT_FALSE(std::ifstream(out).good());
    }
}

TEST_F(LevelConv, MissingGridAndBadArgumentsFail) {
    std::string output;
    EXPECT_EQ(Convert(dir + "/none.txt", dir + "/none.lvl", 3, 2, &output), 1);
    EXPECT_NE(output.find(dir + "/none.txt: error: cannot open"), std::string::npos) << output;

    std::string grid = Write("ok.txt", "S.G\n%%%\n");
    EXPECT_EQ(Convert(grid, dir + "/ok.lvl", 0, 2, &output), 1);
    EXPECT_NE(output.find("width '0' is not a number from 1 to 65536"), std::string::npos) << output;
}

}  // namespace
