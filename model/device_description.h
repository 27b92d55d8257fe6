#pragma once
// Whether a device description (a coupler's or terminal's "<type>.INI" of the resource
// folder), or a project file that started as a copy of one, can be used at all. A file
// that names no device type is damaged (an empty file, random bytes, a file cut before its
// type): read, it would become a device of type "0" with no layout and a list word of its
// own invention. Every other file is taken as it is, whatever else it lacks: its readers
// give absent keys their defaults.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnak {

// The fallback description a device without a description of its own is read from
// ("Unknown.INI"), and so the type name such a device shows.
inline constexpr const char* kUnknownDeviceName = "Unknown";

// True when the file is a regular file whose [Common] `Name` is not empty.
bool usableDescription(const std::string& file);

enum class DescriptionState {
    Usable,
    Missing,  // no such file: the readers take the fallback description Unknown.INI
    Refused,  // there, but not usable: taken as missing, and never offered or inserted
};
DescriptionState descriptionState(const std::string& file);

// The table of a terminal description that every channel of an inserted terminal starts
// from.
inline constexpr int32_t kChannelDefaultsTable = 0;

// The table an interrupted copy stopped inside: n when the description's last section is
// [RegValue_Table<n>] and its last line has no line end, so that the values of that line and
// of those after it may be gone. No road that can do without the table takes its values.
std::optional<int32_t> tableCutShort(const std::string& description);

// True when a usable description is what an interrupted copy leaves of it, judged against a
// file begun as a copy of the whole one. A section after its [RegValue_Table0] proves that
// table whole. Otherwise it is cut when the copy stopped inside a line of that table, or
// when the copy's table 0 holds one of the user registers 32-62 beyond the last register the
// description gives (a whole description whose table 0 is its last section and stops before
// Reg62 counts as cut against a file this program saved: a save writes every register).
bool descriptionCutShort(const std::string& description, const std::string& copy);

// What keeps a description from making a new device where the user asks for one (a rail of
// its coupler type, an inserted terminal): kStoreDescriptionRefused when it is damaged,
// kStoreDescriptionCutShort when it was cut inside the values of `table` (of any table when
// nullopt), otherwise kStoreOk.
int32_t newDeviceRefusal(const std::string& file, std::optional<int32_t> table);

// "<resource folder>/<Coupler|Terminal>/<type>.INI", found case-insensitively.
std::string deviceDescriptionFile(std::string_view folder, const std::string& type);

// The message of a store result that made no new device: a refusal of newDeviceRefusal's
// names the description's file, any other result gives its storeResultMessage.
std::string newDeviceRefusalText(int32_t result, const std::string& description);

}  // namespace varnak
