#pragma once
// The generation log "GSD.LOG": every step reports information, warnings and errors into it;
// warnings and errors are counted for the summary.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "comctl/gsd_coupler.h"
#include "comctl/gsd_text_io.h"

namespace varnak::gsd {

enum class GsdMessageKind { Info = 0, Warning = 1, Error = 2 };

class GsdLog {
  public:
    GsdLog() = default;
    GsdLog(const GsdLog&) = delete;
    GsdLog& operator=(const GsdLog&) = delete;

    // Opens the log file, replacing an earlier one. Without a file the log only counts.
    void create(const std::filesystem::path& file);

    void add(std::string_view text, GsdMessageKind kind);
    void info(std::string_view text) { add(text, GsdMessageKind::Info); }
    void warning(std::string_view text) { add(text, GsdMessageKind::Warning); }
    void error(std::string_view text) { add(text, GsdMessageKind::Error); }

    // The count line, an empty line; then both counters start again from 0.
    void summary();

    // The six lines describing the coupler the files were generated for.
    void couplerBlock(const CGSDDatei& coupler);

    int32_t warnings() const { return warnings_; }
    int32_t errors() const { return errors_; }

  private:
    std::ofstream file_;
    GsdLineWriter writer_{file_};
    int32_t warnings_ = 0;
    int32_t errors_ = 0;
};

}  // namespace varnak::gsd
