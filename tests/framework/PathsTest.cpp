#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "framework/Paths.h"

TEST(Paths, ParsesTheDocumentsLineOfAUserDirsFile) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "/home/ann/Docs"},
        {"# comment\n  XDG_DOCUMENTS_DIR=\"/data/papers/\"\n", "/data/papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", "/home/ann"},
        {"XDG_DOCUMENTS_DIR=relative\n", ""},
        {"XDG_DOCUMENTS_DIR=\"relative/dir\"\n", ""},
        {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDocumentsDir(c.text, "/home/ann"), c.expected) << c.text;
}

TEST(Paths, DocumentsFolderFallsBackToHome) {
    char tmpl[] = "/tmp/gf-home-XXXXXX";
    std::string home = mkdtemp(tmpl);
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(DocumentsFolder(), home);  // no Documents, no user-dirs file
    mkdir((home + "/Documents").c_str(), 0700);
    EXPECT_EQ(DocumentsFolder(), home + "/Documents");
    mkdir((home + "/.config").c_str(), 0700);
    mkdir((home + "/Papers").c_str(), 0700);
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
    EXPECT_EQ(DocumentsFolder(), home + "/Papers");
    // A named folder that does not exist is not used.
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"\n";
    EXPECT_EQ(DocumentsFolder(), home + "/Documents");

    setenv("HOME", oldHome.c_str(), 1);
    std::string cmd = "rm -rf '" + home + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
}

TEST(Paths, TemporaryPathEndsWithASlash) {
    std::string old = getenv("TMPDIR") ? getenv("TMPDIR") : "";
    setenv("TMPDIR", "/tmp", 1);
    EXPECT_EQ(TemporaryPath(), "/tmp/");
    setenv("TMPDIR", "/no/such/folder", 1);
    EXPECT_EQ(TemporaryPath(), "/tmp/");
    if (old.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", old.c_str(), 1);
}
