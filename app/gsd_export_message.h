#pragma once
// The message after a GSD export. Its first line is the control's result ("Error <code>" or
// "Finished "); below it stands what the generation's log says of this run, so that the
// user need not look for it: on failure the first error and where the log lies, on success
// the files written and every terminal of the station left without a module.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace varnak {

// The control writes its generation log under this name into the current folder.
inline constexpr const char* kGsdLogName = "GSD.LOG";

// logText: the log this run wrote ("" when it wrote none); logFile: where it lies.
std::string gsdExportMessage(int32_t result, const std::string& logText,
                             const std::filesystem::path& logFile);

// When a file was last written; nullopt when there is none.
std::optional<std::filesystem::file_time_type> lastWritten(const std::filesystem::path& file);
// A file's whole text ("" when it cannot be read).
std::string wholeText(const std::filesystem::path& file);

}  // namespace varnak
