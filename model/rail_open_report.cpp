#include "model/rail_open_report.h"

#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"

namespace varnak {
namespace {

constexpr int kTxtUnusedTerminalFiles = 1946;
constexpr int kTxtPositionsRenumbered = 1947;
constexpr int kTxtChannelsFromOwnTable = 1948;
constexpr int kTxtCouplerTablesUnfilled = 1949;
constexpr int kTxtDescriptionMissing = 1954;
constexpr int kTxtDescriptionDamaged = 1955;
constexpr int kTxtDescriptionCutShort = 1956;

int whyText(ChannelsFromOwnTable::Why why) {
    switch (why) {
        case ChannelsFromOwnTable::Why::Damaged:
            return kTxtDescriptionDamaged;
        case ChannelsFromOwnTable::Why::CutShort:
            return kTxtDescriptionCutShort;
        case ChannelsFromOwnTable::Why::Missing:
            break;
    }
    return kTxtDescriptionMissing;
}

void startParagraph(std::string& text, const std::string& heading) {
    if (!text.empty()) text += "\r\n\r\n";
    text += heading;
}

}  // namespace

std::string railOpenReport(clsCoupler& rail) {
    AppContext& c = varnak();
    const clsColTerminals& terminals = *rail.clsColTerminals();
    std::string text;
    if (!terminals.UnusedFiles().empty()) {
        startParagraph(text, c.text(kTxtUnusedTerminalFiles) + "\r\n");
        for (const std::string& file : terminals.UnusedFiles()) text += "\r\n" + file;
    }
    if (terminals.PositionsRenumbered())
        startParagraph(text,
                       c.text(kTxtPositionsRenumbered) + std::to_string(terminals.Count()) + ".");
    bool headed = false;
    for (int32_t p = 1; p <= terminals.Count(); ++p) {
        const auto terminal = terminals.ItemPos(p);
        if (!terminal || !terminal->ChannelsFromOwnTable()) continue;
        const ChannelsFromOwnTable& guess = *terminal->ChannelsFromOwnTable();
        if (!headed) startParagraph(text, c.text(kTxtChannelsFromOwnTable) + "\r\n");
        headed = true;
        text += "\r\nPosition " + std::to_string(p) + " (" + terminal->InfoName() +
                "): " + guess.file + "\r\n    " + c.text(whyText(guess.why)) + ": " +
                guess.description + "\r\n    ";
        for (size_t i = 0; i < guess.channels.size(); ++i)
            text += (i > 0 ? ", " : "") + treeChannelName(guess.channels[i]);
    }
    if (!rail.UnusableTableDefaults().empty())
        startParagraph(
            text, c.text(kTxtCouplerTablesUnfilled) + "\r\n\r\n" + rail.UnusableTableDefaults());
    return text;
}

}  // namespace varnak
