#pragma once
// Whether a device description (a coupler's or terminal's "<type>.INI" of the resource
// folder), or a project file that started as a copy of one, can be used at all. A file
// that names no device type is damaged (an empty file, random bytes, a file cut before its
// type): read, it would become a device of type "0" with no layout and a list word of its
// own invention. Every other file is taken as it is, whatever else it lacks: its readers
// give absent keys their defaults.
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

// True when a usable description is what an interrupted copy leaves of it, judged against
// a file begun as a copy of the whole one: its last line has no line end, or nothing
// follows its [RegValue_Table0] (or it has none) and the copy's table 0 holds one of the
// user registers 32-62 beyond the last register the description gives. A description
// that gives fewer registers than a saved copy holds, and goes on with further sections,
// is whole: a save writes every register into the copy's table 0.
bool descriptionCutShort(const std::string& description, const std::string& copy);

// "<resource folder>/<Coupler|Terminal>/<type>.INI", found case-insensitively.
std::string deviceDescriptionFile(std::string_view folder, const std::string& type);

// The message that refuses a description, naming the file.
std::string descriptionRefusedText(const std::string& file);

}  // namespace varnak
