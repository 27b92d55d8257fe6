#include "online/transfer_run.h"

#include <algorithm>
#include <charconv>

#include "comctl/QZcomOCX.h"
#include "couplerservices/protected_download.h"
#include "mapping/mapping_texts.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/table_snapshot.h"
#include "model/text_util.h"
#include "online/online_texts.h"
#include "windowkit/control_requests.h"

namespace varnak {
namespace {

std::optional<int32_t> wholeNumber(const std::string& text) {
    const std::string t = trimBlanks(text);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return value;
}

void addOnce(std::vector<TransferFailure>& list, const TransferFailure& f) {
    if (std::find(list.begin(), list.end(), f) == list.end()) list.push_back(f);
}

std::string undescribedLine(const TransferFailure& f) {
    AppContext& c = varnak();
    std::string line = withValues(c.text(kTxtReportUndescribed), {std::to_string(f.position)});
    if (f.channel < 1) return line;
    line += c.text(kTxtReportFallbackChannels);
    for (int32_t channel = 0; channel < f.channel; ++channel)
        line += (channel > 0 ? ", " : "") + treeChannelName(channel);
    return line;
}

// A failure, or with passedOver a note (whose code is the device's refusal).
std::string reportLine(const TransferFailure& f, bool passedOver) {
    AppContext& c = varnak();
    const std::string error =
        c.text(passedOver ? kTxtReportRefusedRead : kTxtReportError) + std::to_string(f.code);
    switch (f.kind) {
        case TransferFailure::Kind::ProtectionNotLifted:
            if (liftOutcomeUnknown(f.code)) return liftUnknownText(f.code);
            return c.text(kTxtProtectionNotLifted) + std::to_string(f.code);
        case TransferFailure::Kind::StationListUnread:
            return c.text(kTxtStationListUnread) + std::to_string(f.code);
        case TransferFailure::Kind::Table:
            return c.text(kTxtReportTable) + std::to_string(f.table) + error;
        case TransferFailure::Kind::Channel:
            return c.text(kTxtReportTerminal) + std::to_string(f.position) + " " +
                   treeChannelName(f.channel) + error;
        case TransferFailure::Kind::ListWithoutEndMark:
            if (f.table == f.lastTable)
                return c.text(kTxtReportTable) + std::to_string(f.table) +
                       c.text(kTxtReportWithoutEndMark);
            return c.text(kTxtReportTables) + std::to_string(f.table) + "-" +
                   std::to_string(f.lastTable) + c.text(kTxtReportWithoutEndMark);
        case TransferFailure::Kind::Reset:
            return c.text(kTxtReportReset) + std::to_string(f.code);
        case TransferFailure::Kind::Refused:
            return f.reason;
        case TransferFailure::Kind::Undescribed:
            return undescribedLine(f);
    }
    return {};
}

}  // namespace

bool endsTransfer(int32_t code) {
    return unansweredRequest(code);
}

std::string transferReportText(const TransferReport& report, int headingTextId) {
    AppContext& c = varnak();
    std::string text = c.text(headingTextId);
    for (const TransferFailure& f : report.failures) text += "\n" + reportLine(f, false);
    for (const TransferFailure& f : report.notes) text += "\n" + reportLine(f, true);
    if (report.stopped) text += "\n" + c.text(kTxtReportStopped);
    return text;
}

void TransferRun::status(const std::string& text) const {
    if (progress_.status) progress_.status(text);
}

void TransferRun::step(const std::string& text) const {
    if (progress_.step) progress_.step(text);
}

bool TransferRun::take(int32_t code, TransferFailure failure) {
    if (code == 0) return true;
    failure.code = code;
    addOnce(report_.failures, failure);
    if (endsTransfer(code)) report_.stopped = true;
    return false;
}

bool TransferRun::takeRead(int32_t code, TransferFailure where) {
    if (code != qzcom::ComErrRegResponse) return take(code, where);
    where.code = code;
    note(where);
    return true;
}

void TransferRun::note(TransferFailure passedOver) {
    addOnce(report_.notes, passedOver);
}

void TransferRun::runBoxes(const TransferChoice& choice, const std::function<void(int)>& runBox) {
    for (int box = 0; box < kTransferBoxes; ++box) {
        if (aborted() || stopped()) return;
        if (choice.boxes[static_cast<size_t>(box)]) runBox(box);
        if (progress_.boxDone) progress_.boxDone(box);
    }
}

bool TransferRun::hasTable(int32_t t) const {
    return rail_.clsColTables()->Item(t) != nullptr;
}

bool TransferRun::read(clsTable& table, int32_t first, int32_t count,
                       const TransferFailure& where) {
    return takeRead(uploadOrKeep(table, first, count), where);
}

bool TransferRun::transferTable(int32_t t, const char* text, bool upload, int32_t lastRegister) {
    step(text + std::to_string(t));
    auto table = rail_.clsColTables()->Item(t);
    if (!table) return true;
    const int32_t count = std::min(table->TableLen(), lastRegister) + 1;
    const TransferFailure where{.kind = TransferFailure::Kind::Table, .table = t};
    return upload ? read(*table, 0, count, where) : take(table->ConfDownload(0, count), where);
}

void TransferRun::forEachChannel(
    const TransferChoice& choice, const char* text,
    const std::function<void(clsTable&, const TransferFailure&)>& transfer) {
    const std::optional<TerminalRange> range = terminalRange(choice.firstText, choice.lastText);
    if (!range) return;
    for (const auto& terminal : terminalsInRange(rail_, *range)) {
        const int32_t p = terminal->ConfRailPosition();
        for (const auto& table : *terminal->clsColTables()) {
            step(text + std::to_string(p) + "  Kanal " + std::to_string(table->TableNr()));
            transfer(*table, {.kind = TransferFailure::Kind::Channel,
                              .position = p,
                              .channel = table->TableNr()});
            if (stopped()) return;
        }
    }
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
