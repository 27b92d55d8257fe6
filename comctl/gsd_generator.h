#pragma once
// GSD file generation: identifies the connected coupler, then writes one GSD file per language
// file from the template, reporting every step into the log.
#include <cstdint>
#include <filesystem>
#include <string>

#include "comctl/gsd_coupler.h"
#include "comctl/gsd_register_reader.h"

namespace varnak::gsd {

struct GsdOptions {
    std::filesystem::path logFile = "GSD.LOG";
    GsdClock clock = localNow;
};

// Writes the GSD files of the coupler at station 1. targetFile names the output: its folder
// (the current one when it has none) and its file name without the (last) extension; each
// language file adds its own extension. The template and the language files are in the
// "gsddata" folder of resourcePath. Returns 0 when every step succeeded, else -1.
[[nodiscard]] int32_t createGsdFiles(GsdRegisterReader& reader, const std::string& targetFile,
                                     const std::string& resourcePath,
                                     const GsdOptions& options = {});

}  // namespace varnak::gsd
