#include <gtest/gtest.h>

#include <tinyxml.h>

#include <filesystem>
#include <fstream>

#include "framework/Archetype.h"
#include "framework/Globals.h"
#include "support/TempFolder.h"

namespace {

std::vector<std::string> seen;

std::string Label(TiXmlElement* element) {
    const char* name = element->Attribute("name");
    return name != nullptr ? name : element->ValueStr();
}

// Records, at each probe, the group path and what has been collected.
void Probe(TiXmlElement* element) {
    std::string line = std::string(element->Attribute("id")) + " [";
    for (std::size_t i = 0; i < ArchetypeGroupPath.size(); ++i) line += (i ? "/" : "") + ArchetypeGroupPath[i];
    line += "]";
    for (TiXmlElement* pending : ArchetypePendingElements) line += " " + Label(pending);
    seen.push_back(line);
}

class ArchetypeTest : public ::testing::Test {
protected:
    void SetUp() override {
        CopyPath(Globals.workingDirectory, folder.Path());
        BuildArchetypeTagTable();
        ArchetypeTagTable["Probe"] = &Probe;
        ArchetypeGroupPath.clear();
        ArchetypePendingElements.clear();
        seen.clear();
    }
    void TearDown() override {
        BuildArchetypeTagTable();
        ArchetypeGroupPath.clear();
        ArchetypePendingElements.clear();
        ArchetypeTemplateDocuments.clear();
        Globals.workingDirectory[0] = '\0';
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream out(folder / name);
        out << text;
    }
    TempFolder folder;
};

}  // namespace

TEST_F(ArchetypeTest, GroupsFilesTemplatesAndUnknownTags) {
    Write("main.xml", R"(<Root>
  <Probe id="start"/>
  <Mystery name="m1"/>
  <Probe id="after-unknown"/>
  <Group name="Outer">
    <Probe id="in-outer"/>
    <Group name="Inner"><Probe id="in-inner"/><Stray name="s"/><Probe id="stray"/></Group>
    <Group name=""><Probe id="in-empty"/></Group>
    <Probe id="back-in-outer"/>
  </Group>
  <Probe id="after-group"/>
  <Template file="template.xml"/>
  <Probe id="after-template"/>
  <File file="nested.xml" name="wrong.xml"/>
  <Probe id="after-file"/>
  <Object name="o"/><Engines name="e"/><Collision name="c"/><Action file="x.xml"/>
  <Mystery name="m2"/>
  <Probe id="end"/>
</Root>)");
    Write("template.xml",
          R"(<T><Holder><Item name="p1"/><Item name="p2"/></Holder><Holder><Item name="no"/></Holder></T>)");
    Write("nested.xml", R"(<Root><Probe id="nested"/><Mystery name="n1"/><Probe id="nested-end"/></Root>)");

    LoadArchetypeFile("main.xml");
    const std::vector<std::string> expected = {
        "start []",
        "after-unknown [] m1",
        "in-outer [Outer] m1",
        "in-inner [Outer/Inner] m1",
        "stray [Outer/Inner] m1 s",
        "in-empty [] m1",
        "back-in-outer [Outer] m1",
        "after-group [] m1",
        "after-template [] m1 p1 p2",
        "nested [] m1 p1 p2",
        "nested-end [] m1 p1 p2 n1",
        // The nested load released the template documents: their elements went with them.
        "after-file [] m1",
        "end [] m1 m2",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(ArchetypeTemplateDocuments.empty());
    EXPECT_TRUE(ArchetypePendingElements.empty());  // the document that held them is gone
    EXPECT_TRUE(ArchetypeGroupPath.empty());
    // Unknown tags stay in the table with no handler.
    ASSERT_EQ(ArchetypeTagTable.count("Mystery"), 1u);
    EXPECT_EQ(ArchetypeTagTable["Mystery"], nullptr);
    EXPECT_EQ(ArchetypeTagTable.count("Stray"), 1u);
    EXPECT_EQ(ArchetypeTagTable.count("Item"), 0u);
    EXPECT_EQ(ArchetypeTagTable.size(), 10u);
}

TEST_F(ArchetypeTest, FileNamesComeFromFileThenNameThenText) {
    Write("by-name.xml", R"(<R><Probe id="by-name"/></R>)");
    Write("by-text.xml", R"(<R><Probe id="by-text"/></R>)");
    Write("main.xml", R"(<R><File name="by-name.xml"/><File>by-text.xml</File><File/><Template/></R>)");
    LoadArchetypeFile("main.xml");
    EXPECT_EQ(seen, (std::vector<std::string>{"by-name []", "by-text []"}));
}

TEST_F(ArchetypeTest, MissingEmptyOrBrokenFilesDispatchNothing) {
    Write("empty.xml", "");
    Write("broken.xml", "<Root><Probe id=\"x\"></Root>");
    for (const char* name : {"missing.xml", "empty.xml", "broken.xml"}) {
        SCOPED_TRACE(name);
        ArchetypeTemplateDocuments.push_back(std::make_unique<TiXmlDocument>());
        LoadArchetypeFile(name);
        EXPECT_TRUE(seen.empty());
        EXPECT_TRUE(ArchetypeTemplateDocuments.empty());
    }
    EXPECT_EQ(ArchetypeTagTable.size(), 8u);
}

// A File element that would read a file again, nest too deeply, or read
// something other than a regular file is skipped with a debug line; the rest
// of the file is read as usual.
TEST_F(ArchetypeTest, RefusedFileElementsAreSkippedWithADebugLine) {
    std::filesystem::create_directory(folder / "folder.xml");
    Write("self.xml",
          R"(<R><Probe id="self"/><File file="self.xml"/><File file="./self.xml"/><Probe id="self-end"/></R>)");
    Write("a.xml", R"(<R><Probe id="a"/><File file="b.xml"/><Probe id="a-end"/></R>)");
    Write("b.xml", R"(<R><Probe id="b"/><File file="a.xml"/><Probe id="b-end"/></R>)");
    Write(
        "dir.xml",
        R"(<R><File file="folder.xml"/><File file="/dev/zero"/><Template file="folder.xml"/><Probe id="dir-end"/></R>)");
    struct Case {
        const char* file;
        std::vector<std::string> seen;
        std::vector<std::string> reasons;  // one debug line for each
    };
    const Case cases[] = {
        {"self.xml", {"self []", "self-end []"}, {"already being loaded", "already being loaded"}},
        {"a.xml", {"a []", "b []", "b-end []", "a-end []"}, {"already being loaded"}},
        {"dir.xml", {"dir-end []"}, {"not a regular file", "not a regular file", "not a regular file"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        seen.clear();
        testing::internal::CaptureStderr();
        LoadArchetypeFile(c.file);
        const std::string debug = testing::internal::GetCapturedStderr();
        EXPECT_EQ(seen, c.seen);
        std::size_t lines = 0;
        for (std::size_t at = debug.find('\n'); at != std::string::npos; at = debug.find('\n', at + 1)) ++lines;
        EXPECT_EQ(lines, c.reasons.size()) << debug;
        for (const std::string& reason : c.reasons) EXPECT_NE(debug.find(reason), std::string::npos) << debug;
    }
}

TEST_F(ArchetypeTest, FilesNestOnlyToTheBound) {
    // chain0 names chain1, which names chain2, and so on well past the bound.
    const std::size_t length = kArchetypeMaxFileDepth + 4;
    for (std::size_t i = 0; i < length; ++i)
        Write("chain" + std::to_string(i) + ".xml", "<R><Probe id=\"" + std::to_string(i) + "\"/><File file=\"chain" +
                                                        std::to_string(i + 1) + ".xml\"/></R>");
    testing::internal::CaptureStderr();
    LoadArchetypeFile("chain0.xml");
    const std::string debug = testing::internal::GetCapturedStderr();
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < kArchetypeMaxFileDepth; ++i) expected.push_back(std::to_string(i) + " []");
    EXPECT_EQ(seen, expected);
    EXPECT_NE(debug.find("chain" + std::to_string(kArchetypeMaxFileDepth) + ".xml: files nested too deeply"),
              std::string::npos)
        << debug;
    // The bound is on depth, not on how many files one load reads.
    Write("wide.xml", "<R><File file=\"chain" + std::to_string(length - 1) + ".xml\"/><File file=\"chain" +
                          std::to_string(length - 2) + ".xml\"/></R>");
    seen.clear();
    LoadArchetypeFile("wide.xml");
    EXPECT_EQ(seen, (std::vector<std::string>{std::to_string(length - 1) + " []", std::to_string(length - 2) + " []",
                                              std::to_string(length - 1) + " []"}));
}

TEST_F(ArchetypeTest, AFolderIsAFileWithoutEntries) {
    std::filesystem::create_directory(folder / "folder.xml");
    ArchetypeTemplateDocuments.push_back(std::make_unique<TiXmlDocument>());
    LoadArchetypeFile("folder.xml");
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(ArchetypeTemplateDocuments.empty());
}
