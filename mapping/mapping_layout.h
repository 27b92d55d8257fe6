#pragma once
// How the mapping lists see the terminals of a rail: the entries of every logical channel,
// whether they are bytes or bits, and whether the channel has data in a direction. Every
// mapping routine (grid fill and store, recalculation, terminal list) takes a terminal's
// layout from channelLayoutOf, so that grid rows, table entries and terminal texts line up;
// and a rail is mapped only within the limits its coupler's tables and its terminals'
// texts can hold, checked before anything is filled or stored.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

class clsCoupler;
class clsTerminal;

enum class MappingDirection { Input, Output };

// Entries per direction the lists can hold: 3570 slots before the last one, which the end
// mark needs (14 tables of 255 entries).
inline constexpr int32_t kMappingListMaxEntries = 3569;
// Grid columns of a row: 13 bit addresses, or the control/status byte and 13 further bytes.
inline constexpr int32_t kMaxBitEntriesPerChannel = 13;
inline constexpr int32_t kMaxByteEntriesPerChannel = 14;
// Data bytes of a serial-interface channel (register 35) beside its control/status byte:
// the terminal keeps six texts per channel.
inline constexpr int32_t kMaxSerialDataBytes = 5;
inline constexpr int32_t kSerialDataBytesRegister = 35;
// A digital terminal's list word holds its bit count in seven bits.
inline constexpr int32_t kMaxTerminalListBits = 127;
// A serial interface's channel is mapped by bytes: one below 8 bits has no room in the
// terminal's texts for an entry per bit.
inline constexpr int32_t kMinSerialChannelBits = 8;

struct TerminalMappingLayout {
    std::shared_ptr<clsTerminal> terminal;
    int32_t position = 0;
    int32_t channels = 0;       // logical channels: one grid row each
    int32_t entries = 0;        // mapping entries of every channel
    bool byteOriented = false;  // one entry per byte, else one per bit
    bool inputData = false;     // the channels carry inputs
    bool outputData = false;    // the channels carry outputs
    bool serialInterface = false;
    int32_t serialDataBytes = 0;  // register 35 of channel table 0 (serial interfaces)
    // No description of its own: channels and entries are the fallback's, a guess that
    // need not be what the device has.
    bool undescribed = false;

    bool hasData(MappingDirection direction) const {
        return direction == MappingDirection::Input ? inputData : outputData;
    }
    bool operator==(const TerminalMappingLayout&) const = default;
};

// True for the serial-interface types, recognised by their designation ("QT6001-0000").
bool isSerialInterfaceType(const std::string& typeName);

// True for a terminal without a description of its own: loaded from the fallback
// description (shown as "Unknown"), or left empty where that is missing too.
bool isUndescribedTerminal(const clsTerminal& terminal);
// The rail positions of such terminals, in rail order.
std::vector<int32_t> undescribedPositions(clsCoupler& coupler);

// A terminal's layout. A channel is byte-oriented when its logical size is 8 bits or more;
// it then has one entry per byte (size / 8 rounded, halves to even) or, for a serial
// interface, register 35 of channel table 0 plus the control/status byte; otherwise one
// entry per bit. A direction has data when the terminal's size for it is not 0. Online a
// serial interface's registers 35-36 are read from the device first; a failed read leaves
// the values the project holds.
TerminalMappingLayout channelLayoutOf(const std::shared_ptr<clsTerminal>& terminal, bool online);

struct RailMappingLayout {
    std::vector<TerminalMappingLayout> terminals;  // rail positions 1 .. Count
    // Table 8 lists positions 1 .. listed: every terminal but a last end terminal, and
    // on a box module's rail (no end terminal) but its last element.
    int32_t listed = 0;

    int32_t entryCount() const;  // entries of each direction's list
    int32_t rowCount() const;    // logical channels of the rail
    // Positions whose layout is a guess: while there is one, the lists' entries of every
    // later terminal would lie in the wrong place.
    std::vector<int32_t> undescribedPositions() const;
    bool operator==(const RailMappingLayout&) const = default;
};

// Why a rail's mapping is not filled, stored or recalculated (or read from the device).
struct MappingProblem {
    enum class Kind {
        NoCoupler,              // no active rail
        MissingTable,           // value: the table missing or too short
        PositionGap,            // position: no terminal there
        TooManyEntries,         // value: the rail's entries per direction
        TooManyChannelEntries,  // position, value: entries per channel
        SerialDataBytes,        // position, value: register 35
        SerialChannelBits,      // position, value: bits of the serial interface's channel
        TooManyTerminals,       // value: terminals to list, limit: the most table 8 takes
        TerminalListBits,       // position, value: bits of a digital terminal
        RailChanged,            // the rail no longer has the layout the grids were made for
        ListUnread,             // value: the list's table the device did not deliver, code
        Undescribed,            // position: the first terminal whose channels are a guess
    };
    Kind kind = Kind::NoCoupler;
    int32_t position = 0;
    int32_t value = 0;
    int32_t limit = 0;
    int32_t code = 0;  // the control's result code
    bool operator==(const MappingProblem&) const = default;
};
using MappingRefusal = std::optional<MappingProblem>;

// The problem as the user reads it, in the current language.
std::string mappingProblemText(const MappingProblem& problem);

// The layout of every terminal of the rail, after checking that the coupler has tables 8,
// 10-23 and 50-63 (the lists' tables with all 256 registers) and that the rail stays
// within the limits above. Refused rails leave layout empty; nothing is read from the
// device for a rail whose coupler lacks a table.
[[nodiscard]] MappingRefusal railMappingLayout(clsCoupler& coupler, bool online,
                                               RailMappingLayout& layout);

}  // namespace varnak
