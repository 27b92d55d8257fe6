#include "app/online_station_reader.h"

#include <cstdio>

#include "mapping/mapping_texts.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/coupler_type_name.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

// Register 29 of a terminal's channel table 0 carries its name extension.
constexpr int32_t kNameExtensionRegister = 29;
constexpr int32_t kNameExtensionReadCount = 30;  // registers 29-58
constexpr int32_t kNoExtension = 65535;

// %1 the position, %2 the type name the station's list gave, %3 the store's refusal.
constexpr int kTxtEmptyTerminal = 1952;
constexpr int kTxtNothingInserted = 1953;

struct DigitalRow {
    int32_t word;       // exact list word, or 0 for a row matched by direction and bits
    int32_t direction;  // list word AND 3
    int32_t bits;
    const char* name;
};

// First match wins: the two exact words come before the rows by direction and bits.
constexpr DigitalRow kDigitalRows[] = {
    {0x8403, 0, 0, "QT2212-0000"}, {0x8407, 0, 0, "QT1212-0000"}, {0, 1, 2, "QT1002-0000"},
    {0, 1, 4, "QT1104-0000"},      {0, 2, 2, "QT2012-0000"},      {0, 2, 4, "QT2114-0000"},
    {0, 3, 4, "QT2212-0000"},      {0, 3, 8, "QP2008-Bxx0"},
};

int32_t readNameExtension(int32_t position) {
    // A table of its own per position: the extension is the device's, whatever
    // description the terminal would otherwise be given.
    auto table = deviceTable(position, 0, kChannelTableLen);
    if (table->ConfUpload(kNameExtensionRegister, kNameExtensionReadCount) != 0) return 0;
    return table->ConfRegisterValue(kNameExtensionRegister);
}

std::string terminalName(int32_t word, int32_t position) {
    TerminalListEntry entry = decodeTerminalListWord(word);
    if (!entry.digital) return intelligentTerminalName(word, readNameExtension(position));
    return digitalTerminalName(word).value_or(kUnknownDeviceName);
}

}  // namespace

std::string intelligentTerminalName(int32_t typeNumber, int32_t nameExtension) {
    if (nameExtension == kNoExtension) nameExtension = 0;
    char ext[16];
    std::snprintf(ext, sizeof ext, "%05d", static_cast<int>(nameExtension));
    std::string e = ext;
    std::string n = std::to_string(typeNumber);
    if (typeNumber >= 1000) return "QT" + n + "-" + e.substr(e.size() - 4);
    return "JRV-" + n + "_0" + e.substr(0, 2) + "-" + e.substr(e.size() - 3);
}

std::optional<std::string> digitalTerminalName(int32_t word) {
    const int32_t bits = (word & 0x7F00) / 256;
    const int32_t direction = word & 3;
    for (const DigitalRow& row : kDigitalRows) {
        if (row.word != 0 ? word == row.word : (direction == row.direction && bits == row.bits))
            return std::string(row.name);
    }
    return std::nullopt;
}

StationReadResult fReadOnlineStation() {
    StationReadResult out;
    const StationTerminalList listRead = readStationTerminalList();
    out.result = listRead.result;
    if (out.result != 0) return out;
    const std::shared_ptr<clsTable> list = listRead.table;
    const int32_t listCount = kActualTerminalListLast + 1;

    auto ident = deviceTable(0, kGeneralSettingsTable, kLastRegister);
    out.result = ident->ConfUpload(kIdentificationFirst, kIdentificationCount);
    if (out.result != 0) return out;

    gfGetCouplerName(*ident, *list, out.couplerTypeName);
    auto rail = std::make_shared<clsCoupler>();
    ignoreLoadResult(rail->ConfRetrieveData(platform::joinPath(
        {gfVarnakProject()->FullPathResourceFolder(), "Coupler", out.couplerTypeName + ".INI"})));
    // The rail's own list table shows what the device holds; the scan below works on the
    // list read above, which exists whatever tables the description names, so a failure of
    // this second read changes nothing of the rail.
    if (auto own = rail->clsColTables()->Item(kActualTerminalList))
        resultNotExamined(own->ConfUpload(0, listCount));

    const int32_t kind = ident->ConfRegisterValue(kIdentFamily) & 0xFF;
    const int32_t couplerId = rail->ConfSymbolicID();
    auto terminals = rail->clsColTerminals();
    out.rail = rail;
    // True when the position holds a terminal: only then can the next one follow.
    auto add = [&](const std::string& name, int32_t position) {
        // A damaged description counts as none: the terminal gets the fallback's; when that
        // is damaged too, the empty terminal a missing fallback gives, so that the terminals
        // behind keep their positions.
        int32_t stored = terminals->Add(name, position, 1, couplerId);
        if (stored == kStoreDescriptionRefused)
            stored = terminals->Add(kUnknownDeviceName, position, 1, couplerId);
        if (stored == kStoreDescriptionRefused) stored = terminals->AddEmpty(position, couplerId);
        if (stored != kStoreOk || terminals->ItemPos(position)->InfoName().empty())
            out.emptyPositions.push_back({position, name, stored});
        return stored == kStoreOk;
    };
    int32_t position = 1;
    for (; position <= kActualTerminalListLast; ++position) {
        int32_t word = list->ConfRegisterValue(position);
        if (isTerminalListEnd(word)) break;
        if (!add(terminalName(word, position), position)) return out;
    }
    if (position <= kActualTerminalListLast && kind != kCouplerKindQP && kind != kCouplerKindQI)
        add(kEndTerminalType, position);
    return out;
}

std::string emptyPositionsMessage(const std::vector<EmptyPosition>& positions) {
    std::string message;
    for (const EmptyPosition& p : positions) {
        if (!message.empty()) message += "\n";
        message += p.storeResult == kStoreOk ? withValues(varnak().text(kTxtEmptyTerminal),
                                                          {std::to_string(p.position), p.typeName})
                                             : withValues(varnak().text(kTxtNothingInserted),
                                                          {std::to_string(p.position), p.typeName,
                                                           storeResultMessage(p.storeResult)});
    }
    return message;
}

}  // namespace varnak
