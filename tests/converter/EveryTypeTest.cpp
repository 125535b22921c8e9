// Records made from every registered type: written as scripts, converted,
// their headers reverted and written again; their plug-in sources compiled
// with the system compiler against the plug-in build environment.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "Probe.h"
#include "RegisteredRecords.h"
#include "ThereAndBack.h"
#include "converter/DLL.h"
#include "support/EntityWorld.h"

namespace {

std::string LeftOutText(const std::vector<registered::Record>& records) {
    std::string text;
    for (const registered::Record& made : records)
        for (const registered::LeftOut& out : made.leftOut)
            text += out.type + "." + out.variable + " (" + out.typeText + "): " + out.reason + "\n";
    return text;
}

// Every type registered as at start-up, the working folder a fresh one.
struct EveryType : world::EntityWorld {
    TempFolder folder;
    std::string savedDirectory;

    void SetUp() override {
        EntityWorld::SetUp();
        savedDirectory = Globals.workingDirectory;
        ASSERT_TRUE(CopyPath(Globals.workingDirectory, folder.Path()));
        Level::_FirstInit();
        Engine::_FirstInit();
        Object::_FirstInit();
        DLL::BuildSettings() = DLL::DefaultBuildSettings();
        DLL::buildErrors.clear();
        DLL::buildWarnings.clear();
    }
    void TearDown() override {
        CopyPath(Globals.workingDirectory, savedDirectory);
        world::EntityWorld::TearDown();
    }

    std::string PathOf(const CppData& record, const char* extension) {
        return thereandback::PathOf(folder.Path(), record, extension);
    }
    std::string Convert(const CppData& record) { return thereandback::Convert(folder.Path(), record); }
    void ThereAndBack(const CppData& record) { thereandback::Check(folder.Path(), record); }
};

TEST_F(EveryType, EachRegisteredTypeComesBackAsItsScript) {
    std::size_t skipped = 0;
    const std::vector<registered::Record> records = registered::EveryRegisteredType(&skipped);
    std::map<std::string, std::size_t> perKind;
    for (const registered::Record& made : records) {
        ++perKind[made.record.kind];
        ThereAndBack(made.record);
    }
    for (const char* kind : {"Object", "ExObject", "Level", "Engine", "Game"}) EXPECT_GT(perKind[kind], 0u) << kind;
    EXPECT_EQ(perKind["Game"], 1u);
    // Every registered name is a script's type name.
    EXPECT_EQ(skipped, 0u);
    // Only members no stencil can hold stay out: the copy step of a clone
    // cannot copy a lock, a list of ints or a vector of records. Any other
    // type left out is one the record builder does not know: decide it.
    const std::set<std::string> refused = {"CRITICAL_SECTION", "std::list<int>", "std::vector<CppData>"};
    std::set<std::string> leftOut;
    for (const registered::Record& made : records)
        for (const registered::LeftOut& out : made.leftOut) {
            EXPECT_EQ(refused.count(out.typeText), 1u) << LeftOutText(records);
            leftOut.insert(out.type + "." + out.variable);
        }
    EXPECT_EQ(leftOut.count("TheGame.pendingClients"), 1u) << LeftOutText(records);
}

// A record as the stencil panels' "confirm" and the code block's leave it:
// rows appended to a registered type's record, their texts edited, a
// function renamed and given a typed body.
TEST_F(EveryType, ARecordEditedAsThePanelsDoComesBackAsItsScript) {
    const std::vector<registered::Record> records = registered::EveryRegisteredType();
    const auto player = std::find_if(records.begin(), records.end(),
                                     [](const registered::Record& r) { return r.record.typeName == "Player"; });
    ASSERT_NE(player, records.end());
    CppData record = player->record;
    // "Add Stencil" on the variables panel, then its rows edited and "confirm".
    for (auto* list : {&record.varTypes, &record.varNames, &record.varValues}) list->push_back("------");
    record.varTypes.back() = "int";
    record.varNames.back() = "pokes";
    record.varValues.back() = "3";
    // "Add Stencil" on the functions panel: "EVENT", "void", "DEFAULT", the
    // name typed, then a body committed in the code block.
    CppFunctions added;
    added.functionType = "EVENT";
    added.returnType = "void";
    added.name = "OnPoke";
    added.code = "\n\tself->pokes = self->pokes + 1;\n\tif (self->pokes > 9)\n\t\tself->pokes = 0;\n";
    record.functions.push_back(added);
    ThereAndBack(record);
}

// The registered extended objects are of bases without array variables: one
// made of the player, whose arrays its differences use, comes back
// with their counts and its plug-in source compiles.
TEST_F(EveryType, AnExtendedObjectOfABaseWithArraysComesBackAndCompiles) {
    const std::vector<registered::Record> records = registered::EveryRegisteredType();
    const auto player = std::find_if(records.begin(), records.end(),
                                     [](const registered::Record& r) { return r.record.typeName == "Player"; });
    ASSERT_NE(player, records.end());
    CppData record = player->record;
    record.kind = "ExObject";
    record.typeName = "ArmouredPlayer";
    record.baseType = "Player";
    const auto array = std::find_if(record.varTypes.begin(), record.varTypes.end(),
                                    [](const std::string& type) { return type.find('[') != std::string::npos; });
    ASSERT_NE(array, record.varTypes.end()) << "the player has no array variable";
    const std::string& name = record.varNames[static_cast<std::size_t>(array - record.varTypes.begin())];
    record.differencesText = "\n\tself->" + name + "[1] = self->" + name + "[0];\n";
    ThereAndBack(record);

    record.typeName = "ArmouredPlayerBuilt";
    const std::string header = Convert(record);
    ASSERT_FALSE(header.empty());
    DLL::buildErrors.clear();
    const std::string built = DLL::CompileDLL(PathOf(record, ".cpp"), false);
    std::string errors;
    for (const BuildMessage& m : DLL::buildErrors) errors += m.file + ":" + m.where + ": " + m.text + "\n";
    EXPECT_TRUE(DLL::buildErrors.empty()) << errors;
    EXPECT_FALSE(built.empty()) << errors;
}

// The plug-in sources of every registered type of a kind, compiled together
// as one plug-in (each type's section in a namespace of its own, its exports
// renamed), with the builder's own compiler run. A kind of many types is
// shared out over several such plug-ins (every parts-th type from the
// part-th), so that no one compile takes longer than a test may on a busy
// machine.
struct KindPart {
    const char* kind;
    int part;
    int parts;
};

struct EveryTypeCompiles : EveryType, ::testing::WithParamInterface<KindPart> {};

TEST_P(EveryTypeCompiles, AgainstTheBuildEnvironment) {
    const std::string kind = GetParam().kind;
    const int part = GetParam().part, parts = GetParam().parts;
    ASSERT_FALSE(DLL::DefaultBuildSettings().compiler.empty()) << "no compiler was recorded at configure time";
    std::string combined;
    std::size_t types = 0;
    int ofKind = 0;
    for (const registered::Record& made : registered::EveryRegisteredType()) {
        if (made.record.kind != kind) continue;
        if (ofKind++ % parts != part) continue;
        if (Convert(made.record).empty()) continue;
        std::string source;
        ASSERT_TRUE(DLL::ReadTextFile(PathOf(made.record, ".cpp"), source));
        const std::string& name = made.record.typeName;
        if (combined.empty()) combined = source.substr(0, source.find("\nnamespace DLL_NAMESPACE"));
        combined += "\n#undef DLL_NAMESPACE\n#define DLL_NAMESPACE every_" + name + "\n";
        for (const char* exported : {"_Init", "_Copy", "_Free", "Differences", "NewObject"})
            combined += "#define " + std::string(exported) + " " + exported + "_" + name + "\n";
        combined += source;
        for (const char* exported : {"_Init", "_Copy", "_Free", "Differences", "NewObject"})
            combined += "#undef " + std::string(exported) + "\n";
        ++types;
    }
    ASSERT_GT(types, 0u);
    const std::string path = folder / ("every " + kind + " " + std::to_string(part) + ".cpp");
    ASSERT_TRUE(DLL::WriteTextFile(path, combined));
    const std::string built = DLL::CompileDLL(path, false);
    std::string errors;
    for (const BuildMessage& m : DLL::buildErrors) errors += m.file + ":" + m.where + ": " + m.text + "\n";
    EXPECT_TRUE(DLL::buildErrors.empty()) << types << " types of kind " << kind << ":\n" << errors;
    ASSERT_FALSE(built.empty()) << errors;
    EXPECT_TRUE(std::filesystem::exists(built)) << errors;
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryTypeCompiles,
                         ::testing::Values(KindPart{"Object", 0, 3}, KindPart{"Object", 1, 3}, KindPart{"Object", 2, 3},
                                           KindPart{"ExObject", 0, 2}, KindPart{"ExObject", 1, 2},
                                           KindPart{"Level", 0, 1}, KindPart{"Engine", 0, 1}, KindPart{"Game", 0, 1}),
                         [](const ::testing::TestParamInfo<KindPart>& info) {
                             return std::string(info.param.kind) + "_" + std::to_string(info.param.part + 1) + "of" +
                                    std::to_string(info.param.parts);
                         });

}  // namespace
