#pragma once
// What the terminal insert dialog works out without its window: the catalog of terminal
// types that the resource folder describes, where new terminals go for a tree key, the
// number typed, the up-down steps, and the insert itself.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnak {

class clsColTerminals;

// One node of the type tree: a group (key of three characters, no parent) or a type (key
// the type name in capitals, parent its group).
struct CatalogNode {
    std::string key;
    std::string text;
    std::string parentKey;
    bool operator==(const CatalogNode&) const = default;
};

// The descriptions "QT*.INI" of a terminal folder in the platform's listing order (sorted,
// letter case ignored), without names beginning "QTD" or "QTU": a group node before the
// first type of its group, one node per type key. A type's text is its name, "," and four
// blanks, then its description text of the language (key "Lang<n>_Desc" of "Common", at
// most 99 characters); without a description of two characters or more, the name alone.
// A damaged description (device_description.h) is not offered.
std::vector<CatalogNode> fTerminalCatalog(const std::filesystem::path& terminalFolder,
                                          int32_t languageNr);

// Where new terminals go, from the key the dialog was called with.
struct InsertTarget {
    int32_t couplerId = 0;
    int32_t position = 1;  // 1-based rail position
    bool operator==(const InsertTarget&) const = default;
};
// A coupler key: position 1 on an empty rail, in front of a last end terminal, else behind
// the last terminal. A terminal key: the position it names (the terminal moves right).
// nullopt for other keys and for a key whose rail is not loaded in the project.
std::optional<InsertTarget> terminalInsertTarget(std::string_view key);
// The coupler-key rule on a rail's terminals.
int32_t insertPositionAtEnd(const clsColTerminals& terminals);

// The number of terminals a typed text asks for: its leading number, rounded, without its
// sign (-3 inserts 3); no number gives 0.
int32_t insertCount(std::string_view text);
// One step of the up-down control from the typed text: up below 64 adds 1, down above 1
// takes 1 away; nullopt when the step stops.
std::optional<int32_t> spinInsertStep(std::string_view text, bool up);
inline constexpr int32_t kSpinInsertMax = 64;

// Inserts count terminals of a type at the target on the project's rail and saves the
// rail. A refusal of the rail (too many terminals or ids, a position off the rail, a
// damaged description, which the message names) or a failed save shows the store's
// message and inserts nothing. Returns the store's result.
[[nodiscard]] int32_t insertTerminals(const InsertTarget& target, const std::string& type,
                                      int32_t count);

}  // namespace varnak
