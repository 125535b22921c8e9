#include "framework/Resources.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "framework/AtomicFile.h"
#include "framework/Fatal.h"
#include "framework/Globals.h"
#include "framework/ResourceTable.h"

namespace {

constexpr const char* kCaption = "Glimmerfall";

const ResourceTable::Entry* Find(unsigned short id) {
    const ResourceTable::Entry* first = ResourceTable::entries;
    const ResourceTable::Entry* last = ResourceTable::entries + ResourceTable::count;
    const ResourceTable::Entry* it =
        std::lower_bound(first, last, id, [](const ResourceTable::Entry& e, unsigned v) { return e.id < v; });
    return (it != last && it->id == id) ? it : nullptr;
}

// Data pointer -> id of every resource handed out, so a holder of only the
// pointer can give it back.
std::mutex loadedLock;
std::map<const void*, unsigned short>& Loaded() {
    static std::map<const void*, unsigned short> map;
    return map;
}

bool SameBytes(const std::string& path, const unsigned char* data, unsigned long size) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool same = true;
    unsigned char buf[65536];
    unsigned long at = 0;
    for (;;) {
        size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n == 0) break;
        if (at + n > size || std::memcmp(buf, data + at, n) != 0) {
            same = false;
            break;
        }
        at += n;
    }
    if (std::ferror(f)) same = false;
    std::fclose(f);
    return same && at == size;
}

}  // namespace

bool HasInternalResource(unsigned short id) { return Find(id) != nullptr; }

const void* LoadInternalResource(unsigned short id, unsigned long* size) {
    const ResourceTable::Entry* e = Find(id);
    if (!e) FatalError("Unable to locate internal resource!", kCaption);
    if (size) *size = static_cast<unsigned long>(e->end - e->begin);
    {
        std::lock_guard<std::mutex> hold(loadedLock);
        Loaded()[e->begin] = id;
    }
    return e->begin;
}

void FreeInternalResource(const void* data) {
    std::lock_guard<std::mutex> hold(loadedLock);
    Loaded().erase(data);
}

void WriteInternalResource(const char* fileName, int id) {
    unsigned long size = 0;
    if (id < 0 || id > 0xFFFF) FatalError("Unable to locate internal resource!", kCaption);
    const auto* data = static_cast<const unsigned char*>(LoadInternalResource(static_cast<unsigned short>(id), &size));
    std::string path = std::string(Globals.temporaryFolder) + fileName;

    // An earlier run's copy is kept only when it is whole.
    if (SameBytes(path, data, size)) return;

    if (!WriteFileReplacing(path, data, size)) {
        FatalError("Unable to create temporary resource!", kCaption);
    }
}
