#pragma once
// What the programmed-mapping editor lets the user type into a grid cell and what becomes
// of an entry: a key filter and a cell check on a row's flags, the column and the text,
// without a window.
#include <string>
#include <string_view>

#include "mapping/mapping_grid.h"
#include "mapping/mapping_texts.h"

namespace varnak {

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;

// The character a key press in the cell (row, column) passes on; 0 swallows it. Enter is
// swallowed everywhere, every key in a hidden row; the image column takes 0-3, address
// columns digits and, in bit-oriented rows, the point; Backspace and Escape pass in the
// rows of either kind. Rows of no known kind pass every key.
int fFilterMappingKey(const MappingRowFlags& row, int column, int character);

// What a changed cell holds afterwards and the message to show first (None: no message).
struct MappingCellResult {
    std::string text;
    MappingCellMessage message = MappingCellMessage::None;
    bool operator==(const MappingCellResult&) const = default;
};

// Checks a changed cell: the image 0-3 (else the image message and "0"), byte addresses
// 0-255 with at least three digits ("005"), bit addresses as "012.3" (bit 0-7), an empty
// text counting as 0. A refused address keeps the old text; a reference column beyond the
// row's entries becomes empty with "Not mapped !"; a hidden row keeps the old text with
// the other-image message; a text that is no number keeps the old text silently.
MappingCellResult fValidateMappingCell(const MappingRowFlags& row, int column,
                                       std::string_view newText, const std::string& oldText);

}  // namespace varnak
