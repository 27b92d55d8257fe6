#pragma once
// Path handling for names that came from a case-insensitive file system: the device
// descriptions and the project files are addressed as "Terminal", "Unknown.INI",
// "Coupler.CCF" whatever the spelling on disk is.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace varnak::platform {

// Joins path pieces with "/"; pieces may themselves hold "/" or "\" separators (names
// written the Windows way), which are taken as separators. Empty pieces are skipped.
std::string joinPath(std::initializer_list<std::string_view> pieces);

// The path itself when it exists; otherwise each component is looked up case-insensitively
// in its parent folder (the exact name wins when both exist). When a component cannot be
// found, the rest is appended as given, so the result can be used to create the file.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& path);

// Names (not paths) of the entries of folder matching pattern ("*" and "?", compared
// case-insensitively), sorted by name case-insensitively. filesOnly skips folders.
std::vector<std::string> listMatching(const std::filesystem::path& folder, std::string_view pattern,
                                      bool filesOnly = true);

// Case-insensitive wildcard match of one name ("*" any run, "?" one character).
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Folder of the running executable.
std::filesystem::path executableDir();

// $VARNAK_RESOURCE_DIR when set, else resourceDirOf(executableDir()).
std::filesystem::path resourceDir();

// The resource folder of a program in programFolder: the "Resource" folder beside it, else
// the installed one (share/varnak beside the program's bin folder); the "Resource" folder
// when neither exists.
std::filesystem::path resourceDirOf(const std::filesystem::path& programFolder);

}  // namespace varnak::platform
