#pragma once
// The id table of the embedded resources, generated at build time.

namespace ResourceTable {
struct Entry {
    unsigned id;
    const unsigned char* begin;
    const unsigned char* end;
};
// Sorted by id; ends with an entry whose begin is null.
extern const Entry entries[];
extern const unsigned count;
}  // namespace ResourceTable
