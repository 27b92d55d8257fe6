#include "model/rail_open_report.h"

#include "model/app_context.h"
#include "model/clsColTerminals.h"

namespace varnak {
namespace {

constexpr int kTxtUnusedTerminalFiles = 1946;
constexpr int kTxtPositionsRenumbered = 1947;

}  // namespace

std::string railOpenReport(const clsColTerminals& terminals) {
    AppContext& c = varnak();
    std::string text;
    if (!terminals.UnusedFiles().empty()) {
        text = c.text(kTxtUnusedTerminalFiles) + "\r\n";
        for (const std::string& file : terminals.UnusedFiles()) text += "\r\n" + file;
    }
    if (terminals.PositionsRenumbered()) {
        if (!text.empty()) text += "\r\n\r\n";
        text += c.text(kTxtPositionsRenumbered) + std::to_string(terminals.Count()) + ".";
    }
    return text;
}

}  // namespace varnak
