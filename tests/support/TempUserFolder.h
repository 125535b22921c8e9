#pragma once
// Test helper: points the user data folder at a fresh temporary folder with a
// "Levels" folder inside, and puts everything back afterwards.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Globals.h"
#include "support/TempFolder.h"

class TempUserFolder {
public:
    TempUserFolder() : root(folder.Path()) {
        std::memcpy(saved, Globals.userDataFolder, sizeof saved);
        CopyPath(Globals.userDataFolder, root);
        levels = root + "/Levels/";
        ::mkdir(levels.c_str(), 0755);
    }
    ~TempUserFolder() { std::memcpy(Globals.userDataFolder, saved, sizeof saved); }
    TempUserFolder(const TempUserFolder&) = delete;
    TempUserFolder& operator=(const TempUserFolder&) = delete;

    std::vector<unsigned char> Read(const std::string& name) const {
        std::ifstream in(levels + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        std::ofstream out(levels + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Names of the files in the levels folder.
    std::vector<std::string> List() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(levels.c_str())) {
            while (dirent* e = ::readdir(dir)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") names.push_back(n);
            }
            ::closedir(dir);
        }
        return names;
    }

private:
    TempFolder folder;  // made first, removed last

public:
    std::string root;
    std::string levels;

private:
    char saved[TheGlobals::kPathSize];
};
