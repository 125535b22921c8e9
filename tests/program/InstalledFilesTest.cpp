// The texts installed beside the program are made at build time from the
// program's own (cmake/Install.cmake): the licence file is word for word the
// licence the player accepts, and the manual page lists exactly the options
// --help prints, each option word in bold and each argument in italics.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program/CommandLine.h"
#include "screens/Eula.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A word as the manual page's source spells it: minus signs escaped.
std::string Roff(const std::string& word) {
    std::string out;
    for (char c : word) {
        if (c == '-') out += '\\';
        out += c;
    }
    return out;
}

const std::string kDesktop = std::string(GF_BINARY_DIR) + "/desktop/";

}  // namespace

TEST(InstalledFilesTest, TheLicenceFileIsTheTextTheLicenceScreenShows) {
    const std::string text = ReadText(kDesktop + "copyright");
    ASSERT_FALSE(text.empty()) << "no licence file in " << kDesktop;
    EXPECT_EQ(text, std::string(LevelData::Eula::kLicence) + "\n");
}

TEST(InstalledFilesTest, TheManualPageListsTheOptionsHelpPrints) {
    const std::vector<std::string> page = Lines(ReadText(kDesktop + "glimmerfall.6"));
    ASSERT_FALSE(page.empty()) << "no manual page in " << kDesktop;
    // The OPTIONS section: one ".TP" paragraph per option, its first line
    // the option's words.
    std::vector<std::string> tags;
    bool inOptions = false;
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i].rfind(".SH", 0) == 0) inOptions = page[i] == ".SH OPTIONS";
        if (inOptions && page[i] == ".TP" && i + 1 < page.size()) tags.push_back(page[i + 1]);
    }
    std::vector<std::string> expected;
    for (const std::string& line : Lines(CommandLineUsage())) {
        if (line.rfind("  -", 0) != 0) continue;
        const std::string words = line.substr(2, line.find("  ", 2) - 2);
        std::string tag;
        std::istringstream in(words);
        for (std::string word; in >> word;) {
            const bool comma = word.back() == ',';
            if (comma) word.pop_back();
            if (!tag.empty()) tag += ' ';
            tag += (word[0] == '-' ? "\\fB" : "\\fI") + Roff(word) + "\\fR";
            if (comma) tag += ',';
        }
        expected.push_back(tag);
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(tags, expected);
}
