#pragma once
// Which register tables the devices of a station expose, what their registers hold, and
// the layout of the words that several modules encode and decode. Every module names
// tables, registers and bit fields through these constants instead of literals.
//
// A register is an unsigned 16-bit word held in a signed 32-bit slot; a table holds
// registers 0 .. TableLen, TableLen being the number of the last register (at most 255).
#include <cstdint>
#include <optional>
#include <string>

namespace varnak {

// ---- Register tables -------------------------------------------------------------------

inline constexpr int32_t kRegistersPerTable = 256;
inline constexpr int32_t kLastRegister = 255;  // the largest TableLen

// Coupler tables (rail position 0).
inline constexpr int32_t kGeneralSettingsTable = 0;
inline constexpr int32_t kControllerSettingsTable = 1;
inline constexpr int32_t kProgrammedTerminalList = 8;
inline constexpr int32_t kActualTerminalList = 9;
inline constexpr int32_t kProgrammedInputImageMap = 10;  // 10-23
inline constexpr int32_t kProgrammedInputImageMapLast = 23;
inline constexpr int32_t kProgrammedOutputImageMap = 50;  // 50-63
inline constexpr int32_t kProgrammedOutputImageMapLast = 63;
inline constexpr int32_t kCycleTimeTable = 98;
inline constexpr int32_t kCommandTable = 99;
inline constexpr int32_t kFieldbusSettingsTable = 100;
inline constexpr int32_t kOutputImageTableBase = 110;  // 110 + k, k = 0-3
inline constexpr int32_t kInputImageTableBase = 114;   // 114 + k, k = 0-3
inline constexpr int32_t kProcessImageCount = 4;
inline constexpr int32_t kFieldbusSpecificTableFirst = 120;  // 120-122
inline constexpr int32_t kFieldbusSpecificTableLast = 122;
inline constexpr int32_t kTableDirectory = 127;
inline constexpr int32_t kDirectoryLastTable = 130;  // directory registers 0-130

constexpr int32_t OutputImageTable(int32_t image) {
    return kOutputImageTableBase + image;
}
constexpr int32_t InputImageTable(int32_t image) {
    return kInputImageTableBase + image;
}

// The TableLen a directory register (table 127, register n) gives table n: nullopt when
// the table does not exist (a value below 1), values above 255 taken as 255.
constexpr std::optional<int32_t> directoryTableLen(int32_t directoryValue) {
    if (directoryValue < 1) return std::nullopt;
    return directoryValue > kLastRegister ? kLastRegister : directoryValue;
}

// Table numbers whose changes a rail or terminal file keeps (the register table's save
// writes these and no others).
constexpr bool isPersistentTable(int32_t table) {
    return (table >= 0 && table <= 4) || table == 8 || table == 9 ||
           (table >= kProgrammedInputImageMap && table <= kProgrammedInputImageMapLast) ||
           (table >= kProgrammedOutputImageMap && table <= kProgrammedOutputImageMapLast) ||
           table == kFieldbusSettingsTable ||
           (table >= kFieldbusSpecificTableFirst && table <= kFieldbusSpecificTableLast);
}

// ---- Identification registers ----------------------------------------------------------

// Register 0 of tables 8 and 9: the coupler's type number.
inline constexpr int32_t kTypeNumberRegister = 0;
// Table 0, read when going online.
inline constexpr int32_t kIdentificationFirst = 200;
inline constexpr int32_t kIdentificationLast = 254;
inline constexpr int32_t kIdentificationCount = kIdentificationLast - kIdentificationFirst + 1;
inline constexpr int32_t kIdentProductNumber = 201;  // newer identification, QI and QP
inline constexpr int32_t kIdentProductVariant = 202;
inline constexpr int32_t kIdentFamily = 246;   // newer identification: the coupler kind
inline constexpr int32_t kIdentVariant = 247;  // newer identification, family 1
inline constexpr int32_t kIdentFormat = 248;   // kIdentMagic marks the newer identification
inline constexpr int32_t kIdentSuffix = 250;   // the number after the type number
inline constexpr int32_t kIdentSeries = 254;   // older identification: the series
inline constexpr int32_t kFirmwareVersionRegister = 255;
// Register 248 of table 0 (newer identification); also register 0 of table 121 once an
// Ethernet coupler has finished its address assignment.
inline constexpr int32_t kIdentMagic = 0x7C4E;
inline constexpr int32_t kAddressAssignmentTable = 121;

// ---- Terminal channel tables -----------------------------------------------------------

// Rail position n >= 1: one table per logical channel c, table number c.
inline constexpr int32_t kChannelTableLen = 63;
inline constexpr int32_t kTerminalOwnRegisterLast = 30;  // registers 0-30
inline constexpr int32_t kCodeWordRegister = 31;
inline constexpr int32_t kCodeWordUnlock = 0x5C3B;  // registers 32-63 accept writes
inline constexpr int32_t kFirstUserRegister = 32;
inline constexpr int32_t kLastUserRegister = 63;

// Channel layout words: registers 10-12 of table 0 of a terminal description or file.
inline constexpr int32_t kPhysicalChannelsRegister = 10;
inline constexpr int32_t kLogicalChannelsRegister = 11;
inline constexpr int32_t kChannelSizesRegister = 12;

struct ChannelLayout {
    int32_t physicalChannels = 0;     // register 10 bits 15-8
    int32_t physicalChannelBits = 0;  // register 10 bits 7-0
    int32_t logicalChannels = 0;      // register 11 bits 15-8 (= number of channel tables)
    int32_t logicalChannelBits = 0;   // register 11 bits 7-0
    int32_t inputBits = 0;            // register 12 bits 0-6
    int32_t inputCSB = 0;             // register 12 bit 7
    int32_t outputBits = 0;           // register 12 bits 8-14
    int32_t outputCSB = 0;            // register 12 bit 15
};

constexpr int32_t highByte(int32_t word) {
    return (word >> 8) & 0xFF;
}
constexpr int32_t lowByte(int32_t word) {
    return word & 0xFF;
}
constexpr int32_t channelInputBits(int32_t reg12) {
    return reg12 & 0x7F;
}
constexpr int32_t channelInputCSB(int32_t reg12) {
    return (reg12 >> 7) & 1;
}
constexpr int32_t channelOutputBits(int32_t reg12) {
    return (reg12 >> 8) & 0x7F;
}
constexpr int32_t channelOutputCSB(int32_t reg12) {
    return (reg12 >> 15) & 1;
}

constexpr ChannelLayout decodeChannelLayout(int32_t reg10, int32_t reg11, int32_t reg12) {
    return {highByte(reg10),          lowByte(reg10),          highByte(reg11),
            lowByte(reg11),           channelInputBits(reg12), channelInputCSB(reg12),
            channelOutputBits(reg12), channelOutputCSB(reg12)};
}

// ---- MappingEntryWord ------------------------------------------------------------------

inline constexpr int32_t kMappingUnmapped = 511;

// One input or output unit of a terminal channel placed in a process image.
struct MappingEntry {
    int32_t byteOffset = kMappingUnmapped;  // 0-511; 511 = not mapped
    int32_t bit = 0;                        // 0-7 of a bit-oriented entry
    bool byteOriented = false;
    int32_t image = 0;  // destination process image 0-3
    bool operator==(const MappingEntry&) const = default;
};

inline constexpr int32_t kMappingListEnd = 0xFFFF;
inline constexpr int32_t kMappingUnmappedBitWord = 0x0FFF;  // byte 511, bit 7, image 0
inline constexpr int32_t kMappingEntriesPerTable = 255;     // registers 0-254
inline constexpr int32_t kMappingListTables = 14;

constexpr MappingEntry decodeMappingEntry(int32_t word) {
    MappingEntry e;
    e.byteOffset = word & 0x1FF;
    e.bit = (word >> 9) & 7;
    e.byteOriented = ((word >> 12) & 1) != 0;
    e.image = (word >> 13) & 3;
    return e;
}

// Fields outside their ranges are cut to their bits; bits 9-11 stay 0 for a byte-oriented
// entry.
constexpr int32_t encodeMappingEntry(const MappingEntry& e) {
    int32_t word = e.byteOffset & 0x1FF;
    if (e.byteOriented)
        word |= 1 << 12;
    else
        word |= (e.bit & 7) << 9;
    return word | ((e.image & 3) << 13);
}

// Text form of the terminal file and the mapping grids: byte-oriented "12", bit-oriented
// "3.5"; unmapped "511" or "511.7".
std::string mappingEntryText(const MappingEntry& e);

// Where entry i of a mapping list lies: table base + i div 255, register i mod 255 (base
// kProgrammedInputImageMap or kProgrammedOutputImageMap).
struct RegisterAddress {
    int32_t table;
    int32_t reg;
    bool operator==(const RegisterAddress&) const = default;
};
constexpr RegisterAddress mappingListAddress(int32_t listBase, int32_t entry) {
    return {listBase + entry / kMappingEntriesPerTable, entry % kMappingEntriesPerTable};
}

// ---- TerminalListWord ------------------------------------------------------------------

// Tables 8 and 9, registers 1 ..: one word per terminal in rail order. Table 8 ends with
// 0xFFFF after the last terminal; in table 9, 0 or 0xFFFF ends the list.
inline constexpr int32_t kTerminalListEnd = 0xFFFF;
inline constexpr int32_t kActualTerminalListLast = 64;  // registers 1-64 of table 9
inline constexpr int32_t kDigitalTerminalFlag = 0x8000;

struct TerminalListEntry {
    bool digital = false;
    int32_t typeNumber = 0;  // intelligent terminal: 3002 for type "QT3002"
    int32_t bits = 0;        // digital terminal: logical channels times channel size
    bool hasInputs = false;
    bool hasOutputs = false;
    bool operator==(const TerminalListEntry&) const = default;
};

// The terminal that closes a rail's terminal bus; it has no word of its own in table 9.
inline constexpr const char* kEndTerminalType = "QT9010-0000";

// Box modules (coupler kinds 2 and 32, the low byte of identification register 246): their
// terminal bus has no end terminal.
constexpr bool isBoxModuleKind(int32_t register246) {
    const int32_t kind = register246 & 0xFF;
    return kind == 2 || kind == 32;
}

constexpr bool isTerminalListEnd(int32_t word) {
    return word == 0 || word == kTerminalListEnd;
}

constexpr TerminalListEntry decodeTerminalListWord(int32_t word) {
    TerminalListEntry e;
    e.digital = (word & kDigitalTerminalFlag) != 0;
    if (!e.digital) {
        e.typeNumber = word & 0x7FFF;
    } else {
        e.bits = (word >> 8) & 0x7F;
        e.hasInputs = (word & 1) != 0;
        e.hasOutputs = (word & 2) != 0;
    }
    return e;
}

// A digital terminal's bit count must stay below 128 to read back; higher bits are cut.
constexpr int32_t encodeTerminalListWord(const TerminalListEntry& e) {
    if (!e.digital) return e.typeNumber & 0x7FFF;
    return kDigitalTerminalFlag | ((e.bits & 0x7F) << 8) | (e.hasInputs ? 1 : 0) |
           (e.hasOutputs ? 2 : 0);
}

}  // namespace varnak
