#pragma once
// The template engine: copies template lines into one output file, keeping or dropping each
// line by its line selectors, replacing its variables and expanding the module lines.
#include <string>
#include <string_view>
#include <vector>

#include "comctl/gsd_coupler.h"
#include "comctl/gsd_language.h"
#include "comctl/gsd_log.h"
#include "comctl/gsd_modules.h"
#include "comctl/gsd_text_io.h"

namespace varnak::gsd {

class GsdTemplateEngine {
  public:
    GsdTemplateEngine(const CGSDDatei& coupler, const GsdLanguage& language, GsdLog& log,
                      GsdLineWriter& out);

    // One template line (without its line end).
    void processLine(const std::string& line);

    // The line with every "::name::" replaced by its value, left to right.
    std::string replaceVariables(std::string_view line);

  private:
    bool applySelector(const std::string& selector, const std::string& rest, bool keep);
    bool testMask(int propertyCode, const std::string& parameter, bool keep);
    std::string valueOf(const std::string& name, size_t column);
    std::string builtInValue(const std::string& name, size_t column);
    void writeLine(const std::string& line);

    const CGSDDatei& coupler_;
    const GsdLanguage& language_;
    GsdLog& log_;
    GsdLineWriter& out_;
    GsdModuleList modules_;
    bool previousDropped_ = false;
};

}  // namespace varnak::gsd
