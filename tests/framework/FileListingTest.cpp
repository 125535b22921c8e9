// Listing a folder's plain files by extension, and the extension test.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "framework/FileListing.h"
#include "support/TempFolder.h"

namespace {

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(HasExtension, ComparesTheLastExtensionLowerCasedAndGivesTheBaseName) {
    struct Case {
        const char* name;
        const char* extension;
        bool matches;
        const char* base;
    };
    const Case cases[] = {
        {"level.lvl", "lvl", true, "level"},
        {"Level.LvL", "lvl", true, "Level"},
        {"a.b.lvl", "lvl", true, "a.b"},
        {".lvl", "lvl", true, ""},
        {"level.lvl.bak", "lvl", false, "level.lvl"},
        {"level.lvl", "LVL", false, "level"},  // an upper-case extension matches nothing
        {"lvl", "lvl", false, ""},
        {"level.", "lvl", false, "level"},
        {"level.lvl", nullptr, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string base;
        EXPECT_EQ(DLL::HasExtension(c.name, c.extension, base), c.matches);
        EXPECT_EQ(base, c.base);
    }
}

TEST(FindAllFiles, ListsOnlyPlainFilesWithTheExtensionWithTheirTimes) {
    TempFolder folder;
    for (const char* name : {"one.lvl", "TWO.LVL", "three.lvl.bak", "lvl", "notes.txt", ".hidden.lvl"})
        Touch(folder / name);
    ::mkdir((folder / "dir.lvl").c_str(), 0755);
    ASSERT_EQ(::symlink("one.lvl", (folder / "link.lvl").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (folder / "broken.lvl").c_str()), 0);

    // Old contents are dropped first.
    std::vector<std::string> names{"stale"};
    std::vector<std::int64_t> times{1};
    DLL::FindAllFiles((folder.Path() + "/").c_str(), "lvl", names, times);
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"TWO.LVL", "link.lvl", "one.lvl"}));
    ASSERT_EQ(times.size(), names.size());
    struct stat st {};
    ASSERT_EQ(::stat((folder / "one.lvl").c_str(), &st), 0);
    const std::size_t one = static_cast<std::size_t>(std::find(names.begin(), names.end(), "one.lvl") - names.begin());
    EXPECT_EQ(times[one],
              (static_cast<std::int64_t>(st.st_mtim.tv_sec) + 11644473600LL) * 10000000LL + st.st_mtim.tv_nsec / 100);

    // A null extension keeps every plain file, still without dot names or folders.
    DLL::FindAllFiles(folder.Path().c_str(), nullptr, names, times);
    EXPECT_EQ(Sorted(names),
              (std::vector<std::string>{"TWO.LVL", "link.lvl", "lvl", "notes.txt", "one.lvl", "three.lvl.bak"}));
}

TEST(FindAllFiles, AFolderOfFoldersOrNoFolderYieldsNothing) {
    TempFolder folder;
    ::mkdir((folder / "a").c_str(), 0755);
    ::mkdir((folder / "b.lvl").c_str(), 0755);
    std::vector<std::string> names{"stale"};
    std::vector<std::int64_t> times{1};
    for (const std::string& path : {folder.Path(), folder / "missing", std::string()}) {
        SCOPED_TRACE(path);
        DLL::FindAllFiles(path.c_str(), "lvl", names, times);
        EXPECT_TRUE(names.empty());
        EXPECT_TRUE(times.empty());
    }
    DLL::FindAllFiles(nullptr, "lvl", names, times);
    EXPECT_TRUE(names.empty());
}

}  // namespace
