#pragma once
// File and folder tests and the folder-tree deletion used by the project store.
#include <string>

namespace varnak {

// True when a regular file of that path exists, or, when the name holds "*" or "?",
// when a file in that folder matches it (case-insensitively). False on any error.
bool gfFileExists(const std::string& path);
// True when a folder or a file of that path exists. False on any error.
bool gfFolderExists(const std::string& path);
// Deletes the folder with everything below it, depth first. Symbolic links are removed,
// never followed. Returns false when something could not be removed (the deletion stops
// there).
[[nodiscard]] bool gfDeleteFolderTree(const std::string& path);

}  // namespace varnak
