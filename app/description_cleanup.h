#pragma once
// The one-time clean-up of superseded device-description files: descriptions once had
// six-character type names ("QT3002.INI"); where the current "-0000" form exists beside
// an old one, the old file goes. The machine-wide value "Modification" records that the
// clean-up ran; the level is written before any file is deleted, so an interrupted
// clean-up is not repeated.
#include <filesystem>
#include <string>
#include <vector>

namespace varnak {

namespace platform {
class RegistryStore;
}

inline constexpr int kDescriptionMigrationLevel = 3;

// Runs the clean-up of both description folders unless "Modification" under regKey
// already holds the current level.
void gfMigrateDescriptionFiles(platform::RegistryStore& registry, const std::string& regKey,
                               const std::filesystem::path& resourceFolder);

// The clean-up of one folder each; return the names they deleted (for the log of tests).
std::vector<std::string> fCleanTerminalFolder(const std::filesystem::path& resourceFolder);
std::vector<std::string> fCleanCouplerFolder(const std::filesystem::path& resourceFolder);

}  // namespace varnak
