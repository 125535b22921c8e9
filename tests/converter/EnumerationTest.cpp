// The variable enumeration header of plug-in builds.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Probe.h"
#include "framework/Globals.h"
#include "framework/VariableBindings.h"
#include "framework/VariableNames.h"

namespace {

struct Enumeration : ConverterInWorkingFolder {
    std::string Path() { return folder / "ENTITY DLL Enum.h"; }
    std::string Header() {
        std::ifstream in(Path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::size_t Count(const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
};

const char* const kClosing = "\tMAX_ENUM_VALUE\n};\n\n#endif\n";

TEST_F(Enumeration, HoldsTheProgramsNumbering) {
    EXPECT_EQ(probe.GetEnumValue("size3D"), -1);
    probe.WriteDLLEnum();
    EXPECT_EQ(probe.GetEnumValue("size3D"), 0);
    EXPECT_EQ(probe.GetEnumValue("no such name"), -1);
    for (int n = 0; n < MAX_ENUM_VALUE; ++n) EXPECT_EQ(probe.GetEnumValue(VariableName(n)), n) << VariableName(n);

    const std::string header = Header();
    EXPECT_EQ(header.rfind("//", 0), 0u);
    EXPECT_NE(header.find("\n\n#ifndef ENTITY_DLL_ENUM_H\n#define ENTITY_DLL_ENUM_H\n\nenum VARIABLEMAP\n{\n"
                          "#ifndef ENUM_size3D_DEFINE\n#define ENUM_size3D_DEFINE\n\tenum_size3D = 0,\n#endif\n"
                          "#ifndef ENUM_color_DEFINE\n#define ENUM_color_DEFINE\n\tenum_color,\n#endif\n"),
              std::string::npos);
    // Entries in the program's order, so the compiler gives each its number.
    std::size_t last = 0;
    for (int n = 1; n < MAX_ENUM_VALUE; ++n) {
        const std::size_t at = header.find(std::string("\tenum_") + VariableName(n) + ",\n");
        ASSERT_NE(at, std::string::npos) << VariableName(n);
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_EQ(Count(header, "\tenum_"), static_cast<std::size_t>(MAX_ENUM_VALUE));
    ASSERT_GE(header.size(), std::strlen(kClosing));
    EXPECT_EQ(header.substr(header.size() - std::strlen(kClosing)), kClosing);
}

TEST_F(Enumeration, StencilVariablesFollowOnceEach) {
    probe.WriteDLLEnum();
    probe.varSetsByType()["Lamp"] = {"glow", "position"};
    probe.varSetsByType()["Torch"] = {"flicker", "glow"};
    probe.AddToEnum();
    const std::string header = Header();
    EXPECT_EQ(Count(header, "\tenum_glow,\n"), 1u);
    EXPECT_EQ(Count(header, "\tenum_position,\n"), 1u);
    EXPECT_EQ(probe.GetEnumValue("glow"), MAX_ENUM_VALUE);
    EXPECT_EQ(probe.GetEnumValue("flicker"), MAX_ENUM_VALUE + 1);
    EXPECT_EQ(probe.GetEnumValue("position"), enum_position);
    EXPECT_LT(header.find("\tenum_glow,"), header.find("\tenum_flicker,"));
    EXPECT_EQ(header.substr(header.size() - std::strlen(kClosing)), kClosing);

    // Nothing new: the file is not written again.
    std::filesystem::remove(Path());
    probe.AddToEnum();
    EXPECT_FALSE(std::filesystem::exists(Path()));

    // A restart from the program's list keeps what stencils added.
    probe.WriteDLLEnum();
    EXPECT_EQ(Count(Header(), "\tenum_flicker,\n"), 1u);
    EXPECT_EQ(probe.GetEnumValue("flicker"), MAX_ENUM_VALUE + 1);
}

TEST_F(Enumeration, AddingFirstStartsFromTheProgramsList) {
    probe.varSetsByType()["Lamp"] = {"glow"};
    probe.AddToEnum();
    EXPECT_EQ(probe.GetEnumValue("glow"), MAX_ENUM_VALUE);
    EXPECT_EQ(probe.GetEnumValue("color"), 1);
}

TEST_F(Enumeration, AnUnwritableFileLeavesAMessage) {
    ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder / "missing folder"));
    probe.WriteDLLEnum();
    EXPECT_FALSE(probe.messages().empty());
    EXPECT_EQ(probe.GetEnumValue("position"), enum_position);
}

}  // namespace
