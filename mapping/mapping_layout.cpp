#include "mapping/mapping_layout.h"

#include <algorithm>

#include "mapping/mapping_texts.h"
#include "mapping/terminal_list.h"
#include "model/app_context.h"
#include "model/basConvert.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/table_snapshot.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

constexpr int32_t kSerialRegistersRead = 2;  // registers 35 and 36

int32_t serialDataBytes(clsTerminal& terminal, bool online) {
    auto table = terminal.clsColTables()->Item(0);
    if (!table) return 0;
    // A failed read goes on with the value the project holds, unreported.
    if (online)
        resultNotExamined(uploadOrKeep(*table, kSerialDataBytesRegister, kSerialRegistersRead));
    return table->ConfRegisterValue(kSerialDataBytesRegister);
}

// Tables the lists and the terminal list need, and whether each has its registers.
MappingRefusal checkTables(clsCoupler& coupler) {
    auto tables = coupler.clsColTables();
    auto missing = [](int32_t table) {
        return MappingProblem{MappingProblem::Kind::MissingTable, 0, table, 0};
    };
    auto list = tables->Item(kProgrammedTerminalList);
    if (!list || list->TableLen() < 1) return missing(kProgrammedTerminalList);
    for (int32_t base : {kProgrammedInputImageMap, kProgrammedOutputImageMap}) {
        for (int32_t t = base; t < base + kMappingListTables; ++t) {
            auto table = tables->Item(t);
            if (!table || table->TableLen() < kLastRegister) return missing(t);
        }
    }
    return std::nullopt;
}

MappingRefusal checkTerminal(const TerminalMappingLayout& t, bool listed) {
    using Kind = MappingProblem::Kind;
    if (t.serialInterface && t.channels > 0 && !t.byteOriented)
        return MappingProblem{Kind::SerialChannelBits, t.position, t.terminal->InfoSizeLogSigChnl(),
                              kMinSerialChannelBits};
    if (t.serialInterface && t.serialDataBytes > kMaxSerialDataBytes)
        return MappingProblem{Kind::SerialDataBytes, t.position, t.serialDataBytes, 0};
    const int32_t rowLimit = t.byteOriented ? kMaxByteEntriesPerChannel : kMaxBitEntriesPerChannel;
    if (t.entries > rowLimit)
        return MappingProblem{Kind::TooManyChannelEntries, t.position, t.entries, rowLimit};
    if (listed && !t.terminal->InfoTermRegisterModell()) {
        const int32_t bits = t.terminal->InfoNrLogSigChnl() * t.terminal->InfoSizeLogSigChnl();
        if (bits > kMaxTerminalListBits)
            return MappingProblem{Kind::TerminalListBits, t.position, bits, kMaxTerminalListBits};
    }
    return std::nullopt;
}

bool isBoxModule(clsCoupler& coupler) {
    auto general = coupler.clsColTables()->Item(kGeneralSettingsTable);
    return general && isBoxModuleKind(general->ConfRegisterValue(kIdentFamily));
}

// The last element stays out of table 8 when it is the end terminal (the coupler knows it
// without a word) or on a box module, whose rail view leaves it out as well; a rail that
// simply ends without an end terminal has every terminal listed.
int32_t listedTerminals(clsCoupler& coupler, int32_t count) {
    if (count == 0) return 0;
    auto last = coupler.clsColTerminals()->ItemPos(count);
    const bool endTerminal = last && last->InfoName() == kEndTerminalType;
    return endTerminal || isBoxModule(coupler) ? count - 1 : count;
}

}  // namespace

bool isSerialInterfaceType(const std::string& typeName) {
    const std::string base = typeName.substr(0, typeName.find('-'));
    return base == "QT6001" || base == "QT6011" || base == "QT6021";
}

bool isUndescribedTerminal(const clsTerminal& terminal) {
    // Without the fallback description too, the terminal has no name at all.
    return terminal.InfoName().empty() || terminal.InfoName() == kUnknownDeviceName;
}

std::vector<int32_t> undescribedPositions(clsCoupler& coupler) {
    std::vector<int32_t> positions;
    for (const auto& t : *coupler.clsColTerminals())
        if (isUndescribedTerminal(*t)) positions.push_back(t->ConfRailPosition());
    std::sort(positions.begin(), positions.end());
    return positions;
}

TerminalMappingLayout channelLayoutOf(const std::shared_ptr<clsTerminal>& terminal, bool online) {
    TerminalMappingLayout l;
    l.terminal = terminal;
    l.position = terminal->ConfRailPosition();
    l.channels = std::max(terminal->InfoNrLogSigChnl(), 0);
    const int32_t size = terminal->InfoSizeLogSigChnl();
    l.byteOriented = size >= 8;
    l.inputData = terminal->InfoInputSizeSigChnl() != 0;
    l.outputData = terminal->InfoOutputSizeSigChnl() != 0;
    l.serialInterface = isSerialInterfaceType(terminal->InfoName());
    l.undescribed = isUndescribedTerminal(*terminal);
    if (!l.byteOriented) {
        l.entries = std::max(size, 0);
    } else if (l.serialInterface) {
        l.serialDataBytes = serialDataBytes(*terminal, online);
        l.entries = l.serialDataBytes + 1;
    } else {
        l.entries = roundHalfToEven(size / 8.0).value_or(0);
    }
    return l;
}

int32_t RailMappingLayout::entryCount() const {
    int32_t n = 0;
    for (const auto& t : terminals) n += t.channels * t.entries;
    return n;
}

std::vector<int32_t> RailMappingLayout::undescribedPositions() const {
    std::vector<int32_t> positions;
    for (const auto& t : terminals)
        if (t.undescribed) positions.push_back(t.position);
    return positions;
}

int32_t RailMappingLayout::rowCount() const {
    int32_t n = 0;
    for (const auto& t : terminals) n += t.channels;
    return n;
}

MappingRefusal railMappingLayout(clsCoupler& coupler, bool online, RailMappingLayout& layout) {
    using Kind = MappingProblem::Kind;
    layout = {};
    if (auto problem = checkTables(coupler)) return problem;
    auto terminals = coupler.clsColTerminals();
    const int32_t count = terminals->Count();
    RailMappingLayout rail;
    rail.listed = listedTerminals(coupler, count);
    const int32_t capacity =
        terminalListCapacity(*coupler.clsColTables()->Item(kProgrammedTerminalList));
    if (rail.listed > capacity)
        return MappingProblem{Kind::TooManyTerminals, 0, rail.listed, capacity};
    for (int32_t p = 1; p <= count; ++p) {
        auto terminal = terminals->ItemPos(p);
        if (!terminal) return MappingProblem{Kind::PositionGap, p, 0, 0};
        rail.terminals.push_back(channelLayoutOf(terminal, online));
        if (auto problem = checkTerminal(rail.terminals.back(), p <= rail.listed)) return problem;
    }
    if (rail.entryCount() > kMappingListMaxEntries)
        return MappingProblem{Kind::TooManyEntries, 0, rail.entryCount(), kMappingListMaxEntries};
    layout = std::move(rail);
    return std::nullopt;
}

std::string mappingProblemText(const MappingProblem& p) {
    AppContext& c = varnak();
    const std::string position = std::to_string(p.position);
    const std::string value = std::to_string(p.value);
    const std::string limit = std::to_string(p.limit);
    switch (p.kind) {
        case MappingProblem::Kind::NoCoupler:
            return c.text(469);
        case MappingProblem::Kind::MissingTable:
            return withValues(c.text(kTxtMissingTable), {value});
        case MappingProblem::Kind::PositionGap:
            return withValues(c.text(kTxtPositionGap), {position});
        case MappingProblem::Kind::TooManyEntries:
            return withValues(c.text(kTxtTooManyEntries), {value});
        case MappingProblem::Kind::TooManyChannelEntries:
            return withValues(c.text(kTxtTooManyChannelEntries), {position, value});
        case MappingProblem::Kind::SerialDataBytes:
            return withValues(c.text(kTxtSerialDataBytes), {position, value});
        case MappingProblem::Kind::SerialChannelBits:
            return withValues(c.text(kTxtSerialChannelBits), {position, value});
        case MappingProblem::Kind::TooManyTerminals:
            return withValues(c.text(kTxtTooManyTerminals), {value, limit});
        case MappingProblem::Kind::TerminalListBits:
            return withValues(c.text(kTxtTerminalListBits), {position, value});
        case MappingProblem::Kind::RailChanged:
            return c.text(kTxtRailChanged);
        case MappingProblem::Kind::ListUnread:
            return withValues(c.text(kTxtListUnread), {value, std::to_string(p.code)});
        case MappingProblem::Kind::Undescribed:
            return withValues(c.text(kTxtUndescribedRefused), {position});
    }
    return {};
}

}  // namespace varnak
