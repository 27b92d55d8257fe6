#include "comctl/gsd_identification.h"

#include <array>
#include <cstdio>

#include "platform/unexamined_result.h"

namespace varnak::gsd {

namespace {

constexpr int32_t kGeneralTable = 0;
constexpr int32_t kTerminalListTable = 9;
constexpr int32_t kMaxTerminals = 64;
constexpr int32_t kEthernetMarker = 0x7C4E;

// Couplers of other families answer register 254 with their family code; the generator
// only describes its own family.
struct ForeignFamily {
    int32_t code;
    const char* message;
};
constexpr std::array<ForeignFamily, 4> kForeignFamilies{{
    {2, "QL kann nicht identifiziert werden"},
    {256, "QY kann nicht identifiziert werden"},
    {512, "QX kann nicht identifiziert werden"},
    {4096, "QK kann nicht identifiziert werden"},
}};

// One register; a failed read counts as 0 so that no stale value decides anything.
[[nodiscard]] int32_t readRegister(GsdRegisterReader& reader, int32_t railPos, int32_t table,
                                   int32_t reg, int32_t& value) {
    std::array<int32_t, 1> buffer{0};
    int32_t rc = reader.readRegisters(railPos, table, reg, kGsdStation, buffer);
    value = rc == 0 ? buffer[0] : 0;
    return rc;
}

// Terminals whose mode register tells whether they run in their compact format (flag A)
// and, for the serial ones, their data size.
struct ModeRegister {
    int typeNumber;
    int32_t modeRegister;
    bool hasSize;
};
constexpr std::array<ModeRegister, 5> kModeRegisters{{
    {1501, 32, false},
    {5001, 32, false},
    {6001, 34, true},
    {6011, 34, true},
    {6021, 34, true},
}};

void readTerminalFlags(GsdRegisterReader& reader, int32_t railPos, GsdTerminalEntry& entry) {
    int32_t couplerSettings = 0;
    if (readRegister(reader, 0, kGeneralTable, 3, couplerSettings) == 0) {
        entry.flagB = (couplerSettings & 0x0004) != 0;
    }
    for (const ModeRegister& mode : kModeRegisters) {
        if (mode.typeNumber != entry.typeNumber()) continue;
        int32_t value = 0;
        if (readRegister(reader, railPos, kGeneralTable, mode.modeRegister, value) != 0) return;
        entry.flagA = (value & 0x0002) == 0;
        if (mode.hasSize && entry.flagA) {
            int32_t size = 0;
            if (readRegister(reader, railPos, kGeneralTable, 35, size) == 0) {
                entry.size = static_cast<uint8_t>(size + 1);
            }
        }
        return;
    }
}

void readTerminals(GsdRegisterReader& reader, GsdLog& log, CGSDDatei& coupler) {
    std::array<int32_t, kMaxTerminals> words{};
    if (reader.readRegisters(0, kTerminalListTable, 1, kGsdStation, words) != 0) {
        log.warning("Klemmen des Buskopplers konnten nicht ausgelesen werden.");
        return;
    }
    for (int32_t i = 0; i < kMaxTerminals; ++i) {
        uint16_t word = static_cast<uint16_t>(words[i]);
        if (word == 0 || word == 0xFFFF) break;
        GsdTerminalEntry entry;
        entry.listWord = word;
        if (!entry.digital()) readTerminalFlags(reader, i + 1, entry);
        coupler.terminals.push_back(entry);
    }
}

// Couplers of a foreign family end the identification with their message. A failed read
// of the three family registers goes unchecked: it reads 0, which names no foreign family,
// and the identification goes on to the reads that are checked.
bool isForeignCoupler(GsdRegisterReader& reader, GsdLog& log) {
    int32_t marker = 0;
    resultNotExamined(readRegister(reader, 0, kGeneralTable, 248, marker));
    if (marker == kEthernetMarker) {
        int32_t kind = 0;
        resultNotExamined(readRegister(reader, 0, kGeneralTable, 246, kind));
        if (kind == 1) return false;
        log.error(kind == 256 ? "QY kann nicht identifiziert werden."
                              : "Koppler kann nicht identifiziert werden.");
        return true;
    }
    int32_t family = 0;
    resultNotExamined(readRegister(reader, 0, kGeneralTable, 254, family));
    for (const ForeignFamily& foreign : kForeignFamilies) {
        if (foreign.code == family) {
            log.error(foreign.message);
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t identifyCoupler(GsdRegisterReader& reader, GsdLog& log, const GsdClock& clock,
                        CGSDDatei& coupler) {
    if (isForeignCoupler(reader, log)) return -1;

    int32_t typeNumber = 0;
    if (readRegister(reader, 0, kTerminalListTable, 0, typeNumber) != 0) {
        log.error("Typ des Buskoppler konnte nicht ausgelesen werden.");
        return -1;
    }
    const GsdCouplerType* type = findCouplerType(typeNumber);
    if (!type) {
        log.error(
            "Keine Information ueber die Eigenschaften des ausgelesen Buskoppler.\n"
            "\tDefaultwerte: HighEnd, SPC, 1.5 Baud, RS485");
        coupler.group = coupler.asic = coupler.baudRate = coupler.interfaceKind = 0;
        coupler.name = "QZ????";
        return -1;
    }
    coupler.name = type->name;
    coupler.group = type->group;
    coupler.asic = type->asic;
    coupler.baudRate = type->baudRate;
    coupler.interfaceKind = type->interfaceKind;

    int32_t firmware = 0;
    coupler.created = clock();
    if (readRegister(reader, 0, kGeneralTable, 255, firmware) == 0) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", (firmware >> 8) & 0xFF);
        coupler.softwareRelease = text;
    } else {
        log.warning("Software-Version des Buskopplers konnte nicht ausgelesen werden.");
    }
    coupler.hardwareRelease = "00";

    readTerminals(reader, log, coupler);
    return 0;
}

}  // namespace varnak::gsd
