#pragma once
// Where the columns of a report text begin, so that its views can set their tab stops, and
// where each cell of a line then stands: the preview, the printer and the saved RTF file
// place the columns alike.
#include <string>
#include <string_view>
#include <vector>

namespace varnak {

// A cell longer than this (a title in front of a tab) runs into the next column rather
// than widening its own.
inline constexpr int kReportWidestColumn = 24;
// Blanks between the widest cell of a column and the next column.
inline constexpr int kReportColumnGap = 2;
// Beyond the last column a tab moves to the next multiple of this many characters.
inline constexpr int kReportDefaultTab = kReportColumnGap;
// Reports are set in this size, smaller only where their widest line would not fit the page.
inline constexpr double kReportFontPoints = 10.0;

// The character positions at which columns 1, 2, ... of a TAB-separated text begin: each
// column starts after the widest cell of the column before it (counted in characters)
// plus the gap. A line's last cell does not widen its column, so a long description at
// the end of a line pushes nothing to the right.
std::vector<int> reportColumnStops(std::string_view text);

// One cell of a line and the character position it starts at.
struct ReportCell {
    int position = 0;
    std::string text;
    bool operator==(const ReportCell&) const = default;
};
using ReportLine = std::vector<ReportCell>;

// The lines of a text (CR LF, LF or CR end one) with their cells placed at the stops: a tab
// moves to the first stop right of where the text before it ends, past the last stop to the
// next multiple of the default tab. Empty cells are left out of a line.
std::vector<ReportLine> reportLines(std::string_view text, const std::vector<int>& stops);

// The characters the widest line covers, up to the end of its last cell (tabs after it
// show nothing and widen nothing).
int reportWidth(const std::vector<ReportLine>& lines);

// The point size a report of that width is set in on a line of widthPoints, in a font
// whose characters are advance em wide: the report size, or smaller so that the widest
// line fits.
double reportFitPoints(int widthCharacters, double widthPoints, double advance);

// Characters of a UTF-8 text (continuation bytes do not count).
int reportCharacters(std::string_view text);

}  // namespace varnak
