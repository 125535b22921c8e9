#pragma once
// Reading a file that lies in the user's folders (the save file, the level
// files, the folder settings, single play's progress): whatever stands at
// that name, the reader neither waits nor reads without end.
#include <cstddef>
#include <string>

// Reads the whole of the regular file at path into out when it holds at most
// limit bytes. The file is opened without waiting (a named pipe with no
// writer, a device), and anything but a regular file is refused before a
// byte is read; at most limit + 1 bytes are ever read, so a file longer than
// the limit (or one that grew past it while being read) is refused too.
// False, with out empty, when the file is missing, cannot be read, is not a
// regular file or is longer than limit.
bool ReadUserFile(const std::string& path, std::size_t limit, std::string& out);
