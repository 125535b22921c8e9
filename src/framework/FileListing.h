#pragma once
// Listing the plain files of one folder, the one file-listing service of the
// program: the level pickers and the open dialog list the user's ".lvl"
// files with it, and the script converter its sources.
#include <cstdint>
#include <string>
#include <vector>

namespace DLL {

// Empties both vectors, then appends the name (without the folder) and the
// last-write time of every plain file of `folder` whose extension is
// `extension` (see HasExtension; null keeps every file), at the same index,
// in the order the file system reports them. Entries whose names begin with
// "." and folders are skipped; a folder that cannot be read leaves both
// vectors empty. Times are in 100-nanosecond steps since 1601-01-01 (UTC), the
// scale saved times have always used.
void FindAllFiles(const char* folder, const char* extension, std::vector<std::string>& names,
                  std::vector<std::int64_t>& times);

// True when the part of fileName after its last "." equals extension once
// lower-cased (so "x.LVL" has the extension "lvl", and an extension given in
// upper case matches nothing); baseName receives the part before that dot.
// A name without a dot, or a null extension, has none.
bool HasExtension(const std::string& fileName, const char* extension, std::string& baseName);

}  // namespace DLL
