#pragma once
// Line-wise text files of the GSD generator. The inputs come from Windows editors, so a
// carriage return before the line feed is dropped; the outputs are written with CRLF line
// ends, line breaks inside a written text included.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace varnak::gsd {

// The line length template and language files were once limited to: longer lines are read
// whole but reported, since older tools split them in two.
inline constexpr size_t kTraditionalLineLimit = 512;
inline constexpr const char* kLineTooLongWarning = "Gelesene Zeile ist zu lang fuer festen Puffer.";

// Lines of a text file without their line ends (LF or CRLF); nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file);

// A number in base 10 or 16, without sign or prefix; nothing when the text is empty, holds
// any other character or exceeds limit.
std::optional<uint32_t> parseNumber(std::string_view text, int base, uint32_t limit);

// Splits bytes into lines as readTextLines does.
std::vector<std::string> splitTextLines(std::string_view bytes);

// Writes text lines with CRLF line ends; a line feed inside a line becomes CRLF as well.
class GsdLineWriter {
  public:
    explicit GsdLineWriter(std::ostream& out) : out_(out) {}
    void writeLine(std::string_view line);

  private:
    std::ostream& out_;
};

}  // namespace varnak::gsd
