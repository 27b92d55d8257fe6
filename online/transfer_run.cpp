#include "online/transfer_run.h"

#include <algorithm>
#include <charconv>

#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/text_util.h"
#include "online/online_texts.h"

namespace varnak {
namespace {

std::optional<int32_t> wholeNumber(const std::string& text) {
    const std::string t = trimBlanks(text);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

std::string failureLine(const TransferFailure& f) {
    AppContext& c = varnak();
    const std::string error = c.text(kTxtReportError) + std::to_string(f.code);
    switch (f.kind) {
        case TransferFailure::Kind::ProtectionNotLifted:
            return c.text(kTxtProtectionNotLifted) + std::to_string(f.code);
        case TransferFailure::Kind::Table:
            return c.text(kTxtReportTable) + std::to_string(f.table) + error;
        case TransferFailure::Kind::Channel:
            return c.text(kTxtReportTerminal) + std::to_string(f.position) +
                   c.text(kTxtReportChannel) + std::to_string(f.channel) + error;
        case TransferFailure::Kind::ListWithoutEndMark:
            if (f.table == f.lastTable)
                return c.text(kTxtReportTable) + std::to_string(f.table) +
                       c.text(kTxtReportWithoutEndMark);
            return c.text(kTxtReportTables) + std::to_string(f.table) + "-" +
                   std::to_string(f.lastTable) + c.text(kTxtReportWithoutEndMark);
        case TransferFailure::Kind::Reset:
            return c.text(kTxtReportReset) + std::to_string(f.code);
    }
    return {};
}

}  // namespace

bool endsTransfer(int32_t code) {
    return code == 1 || code == 2 || code == 11;
}

std::string transferReportText(const TransferReport& report, int headingTextId) {
    AppContext& c = varnak();
    std::string text = c.text(headingTextId);
    for (const TransferFailure& f : report.failures) text += "\n" + failureLine(f);
    if (report.stopped) text += "\n" + c.text(kTxtReportStopped);
    return text;
}

void TransferRun::status(const std::string& text) const {
    if (progress_.status) progress_.status(text);
}

void TransferRun::step(const std::string& text) const {
    if (progress_.step) progress_.step(text);
}

void TransferRun::boxDone(int box) const {
    if (progress_.boxDone) progress_.boxDone(box);
}

bool TransferRun::take(int32_t code, TransferFailure failure) {
    if (code == 0) return true;
    failure.code = code;
    report_.failures.push_back(failure);
    if (endsTransfer(code)) report_.stopped = true;
    return false;
}

TransferFailure tableFailure(int32_t table) {
    TransferFailure f;
    f.kind = TransferFailure::Kind::Table;
    f.table = table;
    return f;
}

TransferFailure channelFailure(int32_t position, int32_t channel) {
    TransferFailure f;
    f.kind = TransferFailure::Kind::Channel;
    f.position = position;
    f.channel = channel;
    return f;
}

std::optional<TerminalRange> terminalRange(const std::string& firstText,
                                           const std::string& lastText) {
    const std::optional<int32_t> first = wholeNumber(firstText);
    const std::optional<int32_t> last = wholeNumber(lastText);
    if (!first || !last) return std::nullopt;
    return TerminalRange{*first, *last};
}

std::vector<std::shared_ptr<clsTerminal>> terminalsInRange(clsCoupler& rail,
                                                           const TerminalRange& range) {
    auto terminals = rail.clsColTerminals();
    // Positions outside the rail hold no terminal; the loop need not walk them.
    const int32_t first = std::max(range.first, 1);
    const int32_t last = std::min(range.last, terminals->Count());
    std::vector<std::shared_ptr<clsTerminal>> out;
    for (int32_t p = first; p <= last; ++p)
        if (auto terminal = terminals->ItemPos(p)) out.push_back(terminal);
    return out;
}

}  // namespace varnak
