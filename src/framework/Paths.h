#pragma once
#include <string>

// Where the user's files and the program's temporary files go on this system.

// The user's documents folder: XDG_DOCUMENTS_DIR from the user-dirs file
// ($XDG_CONFIG_HOME or ~/.config, then user-dirs.dirs), else $HOME/Documents
// when it exists, else $HOME; "" when not even $HOME is known.
std::string DocumentsFolder();

// Reads XDG_DOCUMENTS_DIR from the text of a user-dirs file, with "$HOME"
// expanded to home; "" when the file does not name it.
std::string ParseDocumentsDir(const std::string& userDirsText, const std::string& home);

// The system's temporary folder, ending with '/': $TMPDIR, else /tmp/.
std::string TemporaryPath();
