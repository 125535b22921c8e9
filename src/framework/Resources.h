#pragma once
#include <string>

// Data carried inside the executable, each file under a numeric id.

// The bytes of resource id (read-only, valid for the whole run); its length
// goes to *size. A missing resource is a broken installation: the program
// ends with a message box.
const void* LoadInternalResource(unsigned short id, unsigned long* size);

// Gives back a resource obtained from LoadInternalResource. The bytes live in
// the executable's image, so this only forgets the pointer.
void FreeInternalResource(const void* data);

// Makes sure the file fileName exists in the temporary folder with the bytes
// of resource id. A complete file left by an earlier run is kept; a new copy
// is written to a temporary name and renamed into place, so a partial write
// is never taken for a finished one.
void WriteInternalResource(const char* fileName, int id);

// True when a resource with this id is embedded (no message box when it is not).
bool HasInternalResource(unsigned short id);
