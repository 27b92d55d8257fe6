#pragma once
// Where the columns of a report text begin, so that its views can set their tab stops.
#include <string_view>
#include <vector>

namespace varnak {

// A cell longer than this (a title in front of a tab) runs into the next column rather
// than widening its own.
inline constexpr int kReportWidestColumn = 24;
// Blanks between the widest cell of a column and the next column.
inline constexpr int kReportColumnGap = 2;

// The character positions at which columns 1, 2, ... of a TAB-separated text begin: each
// column starts after the widest cell of the column before it (counted in characters)
// plus the gap. A line's last cell does not widen its column, so a long description at
// the end of a line pushes nothing to the right.
std::vector<int> reportColumnStops(std::string_view text);

}  // namespace varnak
