#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/Globals.h"
#include "framework/Resources.h"
#include "support/FatalCapture.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class TempFolder {
public:
    TempFolder() {
        char tmpl[] = "/tmp/gf-res-XXXXXX";
        path = mkdtemp(tmpl);
        path += "/";
        std::memcpy(saved, Globals.temporaryFolder, sizeof saved);
        CopyPath(Globals.temporaryFolder, path);
    }
    ~TempFolder() {
        std::memcpy(Globals.temporaryFolder, saved, sizeof saved);
        std::string cmd = "rm -rf '" + path + "'";
        if (std::system(cmd.c_str()) != 0) std::perror("rm");
    }
    std::string path;

private:
    char saved[TheGlobals::kPathSize];
};

}  // namespace

TEST(Resources, EveryEmbeddedFileEqualsItsSource) {
    std::ifstream manifest(std::string(GF_BINARY_DIR) + "/generated/resource_manifest.txt");
    ASSERT_TRUE(manifest.good());
    unsigned id;
    std::string file;
    int seen = 0;
    while (manifest >> id >> file) {
        unsigned long size = 0;
        const void* data = LoadInternalResource(static_cast<unsigned short>(id), &size);
        std::string source = ReadFile(file);
        ASSERT_EQ(size, source.size()) << "resource " << id << " from " << file;
        EXPECT_EQ(0, std::memcmp(data, source.data(), size)) << "resource " << id;
        FreeInternalResource(data);
        ++seen;
    }
    EXPECT_GT(seen, 0);
    EXPECT_TRUE(HasInternalResource(65000));
}

TEST(Resources, MissingIdEndsWithTheLocateText) {
    FatalCapture capture;
    unsigned long size = 0;
    try {
        LoadInternalResource(64999, &size);
        FAIL() << "a missing resource must not return";
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.text, "Unable to locate internal resource!");
        EXPECT_EQ(e.caption, "Glimmerfall");
        EXPECT_NE(e.status, 0);
    }
    EXPECT_FALSE(HasInternalResource(64999));
}

TEST(Resources, WriteKeepsAWholeCopyAndReplacesAPartialOne) {
    TempFolder tmp;
    unsigned long size = 0;
    const char* data = static_cast<const char*>(LoadInternalResource(65000, &size));
    std::string expected(data, size);
    std::string target = tmp.path + "probe.txt";

    WriteInternalResource("probe.txt", 65000);
    EXPECT_EQ(ReadFile(target), expected);

    // A whole copy is left alone (its inode does not change).
    struct stat before {
    }, after{};
    ASSERT_EQ(stat(target.c_str(), &before), 0);
    WriteInternalResource("probe.txt", 65000);
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // A cut-short copy from an interrupted run is replaced.
    { std::ofstream(target, std::ios::binary | std::ios::trunc) << expected.substr(0, 5); }
    WriteInternalResource("probe.txt", 65000);
    EXPECT_EQ(ReadFile(target), expected);
}

TEST(Resources, WriteIntoAnUnwritableFolderEndsWithTheCreateText) {
    FatalCapture capture;
    TempFolder tmp;
    CopyPath(Globals.temporaryFolder, tmp.path + "no/such/folder/");
    try {
        WriteInternalResource("probe.txt", 65000);
        FAIL();
    } catch (const FatalExit& e) {
        EXPECT_EQ(e.text, "Unable to create temporary resource!");
        EXPECT_EQ(e.caption, "Glimmerfall");
    }
}
