// The committed stencils: kept for the run, saved as scripts in the data
// folder's "Stencils" folder, read back when the program starts again, and
// nothing read back that is not a readable script of a stencil.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "converter/CppConvert.h"
#include "stencil/StencilStore.h"
#include "stencil/StencilWorld.h"

using namespace stenciltest;

namespace {

class StencilStoreTest : public StencilWorld {
protected:
    std::string Folder(const char* kind) { return user->root + "/Stencils/" + kind; }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static CppData Lamp() {
        CppData record;
        record.kind = "OBJECT";
        record.typeName = "Lamp";
        record.varNames = {"glow"};
        record.varTypes = {"int"};
        record.varValues = {"3"};
        record.functions.push_back({"void", "OnHit", {}, "EVENT", "\n\tself->glow = self->glow + 1;\n", 0});
        return record;
    }
};

TEST_F(StencilStoreTest, EachKindIsSavedInAFolderOfItsOwnAndReadBackAsCommitted) {
    const CppData lamp = Lamp();
    ASSERT_TRUE(StencilStore::CommitAll(lamp, lamp).saved);
    CppData engine = Lamp();
    engine.kind = "ENGINE";
    ASSERT_TRUE(StencilStore::CommitVariables(engine).saved);
    EXPECT_TRUE(std::filesystem::is_regular_file(Folder("Objects") + "/Lamp.script"));
    EXPECT_TRUE(std::filesystem::is_regular_file(Folder("Engines") + "/Lamp.script"));
    EXPECT_EQ(Read(Folder("Objects") + "/Lamp.script"), CppConvert::ScriptText(lamp));

    StencilStore::Reload();
    ASSERT_TRUE(StencilStore::Has("OBJECT", "Lamp"));
    const CppData back = StencilStore::Record("OBJECT", "Lamp");
    EXPECT_EQ(back.varNames, lamp.varNames);
    EXPECT_EQ(back.varValues, lamp.varValues);
    ASSERT_EQ(back.functions.size(), 1u);
    EXPECT_EQ(back.functions[0].name, "OnHit");
    EXPECT_EQ(back.functions[0].code, lamp.functions[0].code);
    EXPECT_TRUE(StencilStore::Has("ENGINE", "Lamp"));
    EXPECT_TRUE(StencilStore::Record("ENGINE", "Lamp").functions.empty()) << "only its variables were committed";

    // A body kept by the code block only where the record holds the function.
    StencilStore::Outcome outcome;
    EXPECT_TRUE(StencilStore::CommitBody("OBJECT", "Lamp", 0, "OnHit", "return;", outcome));
    EXPECT_FALSE(StencilStore::CommitBody("OBJECT", "Lamp", 0, "OnPoke", "return;", outcome));
    EXPECT_FALSE(StencilStore::CommitBody("OBJECT", "Lamp", 1, "OnHit", "return;", outcome));
    EXPECT_FALSE(StencilStore::CommitBody("OBJECT", "Nobody", 0, "OnHit", "return;", outcome));
    StencilStore::Reload();
    EXPECT_EQ(StencilStore::Record("OBJECT", "Lamp").functions[0].code, "return;");
}

TEST_F(StencilStoreTest, OnlyRegularScriptsOfBoundedSizeUnderTypeNamesAreReadBack) {
    const std::string objects = Folder("Objects");
    std::filesystem::create_directories(objects);
    Write(objects + "/Good.script", CppConvert::ScriptText(Lamp()));
    // A pipe would hang a reader that waits for a writer.
    ASSERT_EQ(::mkfifo((objects + "/Pipe.script").c_str(), 0644), 0);
    Write(objects + "/Big.script",
          CppConvert::ScriptText(Lamp()) + "//" + std::string(StencilStore::kLongestScript, 'x') + "\n");
    std::filesystem::create_directories(objects + "/Folder.script");
    Write(objects + "/bad name.script", CppConvert::ScriptText(Lamp()));
    Write(objects + "/Broken.script", "#Variables\n{\n\tint = 5;\n}\n");
    Write(objects + "/Other.txt", CppConvert::ScriptText(Lamp()));

    testing::internal::CaptureStderr();
    StencilStore::Reload();
    EXPECT_TRUE(StencilStore::Has("OBJECT", "Good"));
    const std::string log = testing::internal::GetCapturedStderr();
    for (const char* name : {"Pipe", "Big", "Folder", "Broken", "Other"})
        EXPECT_FALSE(StencilStore::Has("OBJECT", name)) << name;
    EXPECT_NE(log.find("Big.script"), std::string::npos) << log;
    EXPECT_NE(log.find("Broken.script"), std::string::npos) << log;
    EXPECT_EQ(StencilStore::Record("OBJECT", "Good").varNames, Lamp().varNames);
}

TEST_F(StencilStoreTest, AScriptThatCannotBeSavedIsKeptForTheRunAndSaidSoAndTheOldFileStays) {
    const CppData lamp = Lamp();
    ASSERT_TRUE(StencilStore::CommitAll(lamp, lamp).saved);
    const std::string saved = Read(Folder("Objects") + "/Lamp.script");
    // The kind's folder is a file now: nothing can be written under it.
    CppData level = Lamp();
    level.kind = "LEVEL";
    std::filesystem::create_directories(user->root + "/Stencils");
    Write(Folder("Levels"), "not a folder");
    const StencilStore::Outcome outcome = StencilStore::CommitAll(level, level);
    EXPECT_FALSE(outcome.saved);
    EXPECT_NE(outcome.report.find("could not be saved"), std::string::npos) << outcome.report;
    EXPECT_TRUE(StencilStore::Has("LEVEL", "Lamp")) << "kept for the run";
    EXPECT_EQ(Read(Folder("Objects") + "/Lamp.script"), saved);
}

}  // namespace
