#pragma once
// One language file ("*.lang" beside the template): the texts that the template's lower-case
// and numbered variables refer to, and the extension of the output file it yields.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "comctl/gsd_log.h"

namespace varnak::gsd {

class GsdLanguage {
  public:
    explicit GsdLanguage(GsdLog& log) : log_(&log) {}

    // Reads the file; one that cannot be read is logged and leaves the record without texts.
    void read(const std::filesystem::path& file);
    // Takes the entries of already read lines (line ends removed).
    void parse(const std::vector<std::string>& lines);

    // The text of a template variable: lower-case first letter = text variable, decimal
    // digit first = numbered text (the name read as a hex number). Nothing when not found.
    std::optional<std::string> lookup(const std::string& name) const;

    const std::filesystem::path& path() const { return path_; }
    const std::string& extension() const { return extension_; }
    const std::string& name() const { return name_; }

  private:
    void store(const std::string& name, std::string value);

    GsdLog* log_;
    std::filesystem::path path_;
    std::map<std::string, std::string> texts_;
    std::map<uint32_t, std::string> numbered_;
    std::string extension_;
    std::string name_;
};

}  // namespace varnak::gsd
