#include "app/report_text.h"

#include <memory>

#include "app/shell_texts.h"
#include "mapping/mapping_grid.h"
#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

constexpr const char* CRLF = "\r\n";
constexpr char TAB = '\t';
const std::string kNineBlanks(9, ' ');

// Text ids of the reports.
constexpr int kTxtMappingTitle = 324;
constexpr int kTxtInputImage = 292;
constexpr int kTxtOutputImage = 293;
constexpr int kMappingHeadings[] = {276, 277, 279, 280, 281, 282};

// Terminal registers 17 and 18 change by themselves; a report of the user's changes
// leaves them out.
constexpr int32_t kTerminalCompareFirst = 8;
constexpr int32_t kTerminalSkipFirst = 17;
constexpr int32_t kTerminalSkipLast = 18;
// Mapping table columns written after the position: type, channel, image and control/status
// byte plain, then every further entry the grid has between tabs (a channel's addresses are
// the printed record of the mapping: none may be left out).
constexpr int kMappingPlainColumns[] = {kMappingColumnType, kMappingColumnChannel,
                                        kMappingColumnImage, kMappingColumnCS};

std::string repeat(const char* piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

std::string head(AppContext& context, const std::string& dateTime) {
    const int base =
        kEditionBlockSize * (context.VarnakCommon ? context.VarnakCommon->CompanyID() : 0);
    return context.text(base + kTxtEditionTitle) + "   " +
           context.text(base + kTxtEditionProductName) + CRLF + CRLF + dateTime + repeat(CRLF, 3);
}

std::string stationLines(clsCoupler& rail) {
    return "Station: " + std::string(1, TAB) + rail.ConfSymbolicName() + CRLF + kNineBlanks + TAB +
           rail.UserInfoDescription() + CRLF + CRLF;
}

std::string railBlock(AppContext& context, clsCoupler& rail, int titleId) {
    return context.text(titleId) + repeat(CRLF, 3) + stationLines(rail);
}

std::string positionLine(int32_t position, const std::string& name, const std::string& desc) {
    return "Pos: " + std::string(1, TAB) + std::to_string(position) + TAB + name + TAB + desc +
           CRLF;
}

std::string couplerLine(clsCoupler& rail) {
    return positionLine(0, rail.InfoName(), rail.InfoDescription());
}

std::string railConfiguration(AppContext& context, clsCoupler& rail) {
    std::string s = railBlock(context, rail, 327) + couplerLine(rail);
    auto terminals = rail.clsColTerminals();
    for (int32_t p = 1; p <= terminals->Count(); ++p) {
        if (auto t = terminals->ItemPos(p))
            s += positionLine(p, t->InfoName(), t->InfoDescription());
    }
    return s + repeat(CRLF, 4);
}

std::string pieceLine(int32_t count, const std::string& name, const std::string& desc) {
    return std::string(1, TAB) + std::to_string(count) + TAB + "Typ: " + TAB + name + TAB + desc +
           CRLF;
}

std::string pieceList(AppContext& context, clsCoupler& rail) {
    std::string s =
        railBlock(context, rail, 328) + pieceLine(1, rail.InfoName(), rail.InfoDescription());
    auto terminals = rail.clsColTerminals();
    const int32_t count = terminals->Count();
    for (int32_t p = 1; p <= count; ++p) {
        auto t = terminals->ItemPos(p);
        if (!t) continue;
        bool earlier = false;
        for (int32_t q = 1; q < p && !earlier; ++q) {
            auto u = terminals->ItemPos(q);
            earlier = u && u->InfoName() == t->InfoName();
        }
        if (earlier) continue;
        int32_t same = 0;
        for (int32_t q = p; q <= count; ++q) {
            auto u = terminals->ItemPos(q);
            if (u && u->InfoName() == t->InfoName()) ++same;
        }
        s += pieceLine(same, t->InfoName(), t->InfoDescription());
    }
    return s + repeat(CRLF, 4);
}

// A reference without the table compares against an empty table: every register that is
// set is listed.
int32_t referenceValue(clsTable* reference, int32_t r) {
    return reference ? reference->ConfRegisterValue(r) : 0;
}

std::string comparison(clsTable& current, clsTable* reference) {
    std::string s;
    const bool coupler = current.PosNr() == 0;
    for (int32_t r = coupler ? 0 : kTerminalCompareFirst; r <= current.TableLen(); ++r) {
        if (!coupler && r >= kTerminalSkipFirst && r <= kTerminalSkipLast) continue;
        const int32_t value = current.ConfRegisterValue(r);
        const int32_t defaultValue = referenceValue(reference, r);
        if (value == defaultValue) continue;
        s += repeat("\t", 4) + "Offset: " + std::to_string(r) + TAB + TAB + gfValueToHex(value) +
             TAB + "[" + gfValueToHex(defaultValue) + "]" + CRLF;
    }
    if (s.empty()) s = repeat("\t", 4) + "Default Setting" + CRLF;
    return s;
}

std::string resourceFile(const char* folder, const std::string& name) {
    return platform::joinPath({gfVarnakProject()->FullPathResourceFolder(), folder, name + ".INI"});
}

std::string changedRegisters(AppContext& context, clsCoupler& rail) {
    std::string s = railBlock(context, rail, 329) + couplerLine(rail);
    auto reference = std::make_shared<clsCoupler>();
    ignoreLoadResult(reference->ConfRetrieveData(resourceFile("Coupler", rail.InfoName())));
    for (const auto& table : *rail.clsColTables()) {
        if (!table) continue;
        const int32_t n = table->TableNr();
        if (n != kGeneralSettingsTable && n != kControllerSettingsTable &&
            n != kFieldbusSettingsTable)
            continue;
        std::string text = comparison(*table, reference->clsColTables()->Item(n).get());
        s += std::string(2, TAB) + "Table: " + std::to_string(n + 1) + CRLF + text;
    }
    auto terminals = rail.clsColTerminals();
    for (int32_t p = 1; p <= terminals->Count(); ++p) {
        auto t = terminals->ItemPos(p);
        if (!t || !t->InfoTermRegisterModell()) continue;
        auto defaults = std::make_shared<clsTerminal>();
        ignoreLoadResult(defaults->InfoRetrieveData(resourceFile("Terminal", t->InfoName())));
        s += CRLF + positionLine(p, t->InfoName(), t->InfoDescription());
        for (int32_t c = 0; c < t->InfoNrLogSigChnl(); ++c) {
            auto table = t->clsColTables()->Item(c);
            std::string text;
            if (table) {
                text = comparison(*table, defaults->clsColTables()->Item(c).get());
            } else {
                text = repeat("\t", 4) + "Default Setting" + CRLF;
            }
            s += std::string(2, TAB) + "Channel: " + std::to_string(c + 1) + CRLF + text;
        }
    }
    return s + repeat(CRLF, 4);
}

std::string cell(const std::vector<std::string>& row, int column) {
    return static_cast<size_t>(column) < row.size() ? row[static_cast<size_t>(column)] : "";
}

std::string mappingHeading(AppContext& context) {
    std::string s;
    for (int id : kMappingHeadings) {
        if (!s.empty()) s += TAB;
        s += context.text(id);
    }
    return s + CRLF + CRLF;
}

// Every row up to and including the first empty one; a table without an empty row ends
// with its last row.
std::string mappingRows(const std::vector<std::vector<std::string>>& grid) {
    std::string s;
    for (const auto& row : grid) {
        if (!cell(row, 0).empty()) s += CRLF;
        s += cell(row, 0);
        for (int c : kMappingPlainColumns) s += TAB + cell(row, c);
        for (int c = kMappingColumnRef0; c <= kMappingColumnLast; ++c)
            s += TAB + cell(row, c) + TAB;
        s += CRLF;
        bool empty = true;
        for (const auto& text : row) empty = empty && text.empty();
        if (empty) break;
    }
    return s;
}

std::string mappingReport(AppContext& context, clsCoupler& rail, const MappingTables& mapping) {
    const std::string title = context.text(kTxtMappingTitle);
    std::string s = stationLines(rail);
    s += title + TAB + context.text(kTxtInputImage) + repeat(CRLF, 3) + mappingHeading(context);
    s += mappingRows(mapping.input) + repeat(CRLF, 4);
    s += title + TAB + context.text(kTxtOutputImage) + repeat(CRLF, 3) + mappingHeading(context);
    s += mappingRows(mapping.output) + repeat(CRLF, 4);
    return s;
}

}  // namespace

std::string reportFileName(int32_t row) {
    switch (row) {
        case kReportMapping:
            return "MappByPos.rtf";
        case kReportRailConfiguration:
            return "TermByPos.rtf";
        case kReportPieceList:
            return "TermByTyp.rtf";
        case kReportChangedRegisters:
            return "DeltaRegister.rtf";
        default:
            return "";
    }
}

std::string fReportText(int32_t row, clsCoupler& rail, const std::string& dateTime,
                        const MappingTables& mapping) {
    AppContext& context = varnak();
    std::string s = head(context, dateTime);
    switch (row) {
        case kReportMapping:
            return s + mappingReport(context, rail, mapping);
        case kReportRailConfiguration:
            return s + railConfiguration(context, rail);
        case kReportPieceList:
            return s + pieceList(context, rail);
        case kReportChangedRegisters:
            return s + changedRegisters(context, rail);
        default:
            return s;
    }
}

}  // namespace varnak
