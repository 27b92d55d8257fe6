#include "app/gsd_export_message.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <vector>

namespace varnak {
namespace {

constexpr std::string_view kErrorMark = "[ERROR]";
constexpr std::string_view kWarningMark = "[WARN]";
constexpr std::string_view kCreating = "Erzeuge \"";
// The warnings of a station part that no module of the template stands for.
constexpr std::array<std::string_view, 2> kUnassigned{
    "Kann analog Klemme nicht an registrierte Klemme zuweisen",
    "Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen"};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isUnassigned(std::string_view warning) {
    return std::any_of(kUnassigned.begin(), kUnassigned.end(),
                       [&](std::string_view start) { return warning.starts_with(start); });
}

}  // namespace

std::string gsdExportMessage(int32_t result, const std::string& logText,
                             const std::filesystem::path& logFile) {
    const std::vector<std::string> lines = linesOf(logText);
    std::string message = result != 0 ? "Error " + std::to_string(result) : "Finished ";
    auto add = [&](const std::string& line) { message += "\r\n" + line; };
    if (result != 0) {
        auto error = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& l) { return l.starts_with(kErrorMark); });
        if (error != lines.end()) {
            add(error->substr(kErrorMark.size()));
            add(logFile.string());
        }
        return message;
    }
    std::vector<std::string> unassigned;
    for (const std::string& line : lines) {
        if (line.starts_with(kCreating) && line.size() > kCreating.size() && line.back() == '"') {
            add(line.substr(kCreating.size(), line.size() - kCreating.size() - 1));
        } else if (line.starts_with(kWarningMark)) {
            // Each output file reports the same station again: name each part once.
            const std::string warning = line.substr(kWarningMark.size());
            if (isUnassigned(warning) &&
                std::find(unassigned.begin(), unassigned.end(), warning) == unassigned.end())
                unassigned.push_back(warning);
        }
    }
    for (const std::string& warning : unassigned) add(warning);
    if (!unassigned.empty()) add(logFile.string());
    return message;
}

std::optional<std::filesystem::file_time_type> lastWritten(const std::filesystem::path& file) {
    std::error_code error;
    auto time = std::filesystem::last_write_time(file, error);
    if (error) return std::nullopt;
    return time;
}

std::string wholeText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace varnak
