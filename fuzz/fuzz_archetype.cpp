// Archetype XML files: groups, templates, nested files and actions. The input
// is the file the load starts from, in a working folder of its own.
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include <tinyxml.h>

#include "FuzzSupport.h"
#include "framework/Archetype.h"
#include "framework/Globals.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::TempFolder folder;
    static bool ready = [] {
        BuildArchetypeTagTable();
        return CopyPath(Globals.workingDirectory, folder.Path());
    }();
    if (!ready) std::abort();
    {
        std::ofstream out(folder / "in.xml", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    LoadArchetypeFile("in.xml");
    ArchetypeGroupPath.clear();
    ArchetypePendingElements.clear();
    ArchetypeTemplateDocuments.clear();
    return 0;
}
