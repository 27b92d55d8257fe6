#pragma once
// The script files of the initialisations, read and checked whole before anything is
// sent: a terminal script (.TSI: keys Init1 to Init64 of section "Initialisierung") and a
// coupler script (.CSI: sections "Tab_0" to "Tab_150", each run when its key "Transfer"
// is TRUE, keys Init1 upwards until the first gap). Each key holds one register setting,
// an offset, a comma and a value.
//
// Numbers are whole numbers written in decimal (with a sign), as "&H" hexadecimal or "&O"
// octal; a value may also be "0x" hexadecimal. A line without a comma or with nothing after
// it is passed over; a line that splits but does not give an offset within the device's
// registers and a value within -32768..65535 makes the script invalid, and so does an
// enabled section of a table above 127 (the register telegrams address tables 0-127).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnak {

// One script line split at its first comma: the offset and the value as read, each
// nullopt when its text is no whole number. splits is false (and nothing read) for a line
// without a comma or with nothing after it.
struct ScriptLineParts {
    bool splits = false;
    std::optional<int64_t> offset;
    std::optional<int64_t> value;
};
ScriptLineParts SplitINIStringToOffsetValue(std::string_view text);

// A whole number of a script: decimal with an optional sign, "&H" hexadecimal or "&O"
// octal, and, where hex0x is set, "0x" hexadecimal; blanks around allowed. nullopt for
// anything else, a prefix without digits included.
std::optional<int64_t> scriptNumber(std::string_view text, bool hex0x);

// A checked register setting: offset within the device's registers, value as the
// register word to write (the low 16 bits).
struct ScriptSetting {
    int32_t offset = 0;
    int32_t value = 0;
    std::string text;  // the line as trimmed
};

inline constexpr int32_t kTerminalScriptKeys = 64;
inline constexpr int32_t kTerminalScriptLastOffset = 63;  // a channel table's registers
inline constexpr int32_t kCouplerScriptLastTable = 150;
inline constexpr int32_t kCouplerScriptLastOffset = 255;
inline constexpr int32_t kCouplerScriptHighestTable = 127;  // what a telegram can address

struct TerminalScript {
    bool readable = false;             // the file exists and can be read
    std::vector<ScriptSetting> lines;  // in key order
    std::vector<std::string> invalid;  // "[section] key=text" of every invalid line
};
TerminalScript readTerminalScript(const std::string& path);

struct CouplerScriptSection {
    int32_t table = 0;
    std::vector<ScriptSetting> lines;
};
// Reads one table's section: false (nothing added) when the section is not enabled. Its
// lines go into section, its invalid lines into invalid; at most maxKeys keys are read.
[[nodiscard]] bool fCouplerScriptInit(const std::string& path, int32_t table, int32_t maxKeys,
                                      CouplerScriptSection& section,
                                      std::vector<std::string>& invalid);
// The number of keys read of a table's section: 40 for tables 120-127, else 255.
int32_t couplerScriptKeys(int32_t table);

struct CouplerScript {
    bool readable = false;
    std::vector<CouplerScriptSection> sections;  // enabled ones, in table order
    std::vector<std::string> invalid;
};
CouplerScript readCouplerScript(const std::string& path);

}  // namespace varnak
